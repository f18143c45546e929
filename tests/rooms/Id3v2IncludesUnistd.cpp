// The ID3v2 tag is read and edited on bytes; files are opened elsewhere.
#include <unistd.h>
