#pragma once

#include "files/FileResult.h"

// Write locks on open files, so that two programs (two runs of kalvo-cli, or
// Kalvo and a script) never check and write one file at once: an open file
// description lock over the whole file (F_OFD_SETLK), which every opening
// by any process respects and which goes when the descriptor is closed.

// Takes the write lock on the open file, waiting a little while another
// holder lets go. Ok, also where the file system keeps no locks; InUse when
// another holder kept it all that time.
FileResult lockForWriting(int fd);

// Takes the write lock only when nobody holds it now; false when another
// does. True where the file system keeps no locks.
bool tryLockForWriting(int fd);

// Whether another opening holds a write lock on the open file (which may be
// open for reading only); false where the file system keeps no locks.
bool lockedByAnother(int fd);
