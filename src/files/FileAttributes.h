#pragma once

#include "files/FileResult.h"

// What a file carries beside its bytes, owner and permissions: its access
// control list and its extended attributes (a download's origin, a tag
// program's marks), carried from a file to the new file that takes its
// place.

// Gives the new file to every extended attribute of the old file from, its
// ACL (system.posix_acl_access) included, and takes from it an ACL from's
// lacks (one the folder's default ACL gave it), so that nobody may do more
// with it than with from. A label the system gives files itself (security.)
// that an unprivileged program may not set is left to the system. Ok, or
// why not: AclNotKept, AttributesNotKept (errno in systemError).
FileResult copyFileAttributes(int from, int to);
