// Nor through the room that opens them.
#include "files/FileDescriptor.h"
