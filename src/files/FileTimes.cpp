#include "files/FileTimes.h"

#include "files/WriteCalls.h"

#include <sys/stat.h>

std::optional<FileTimes> fileTimes(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return FileTimes{.access = info.st_atim, .modification = info.st_mtim};
}

bool putFileTimes(int fd, const FileTimes &times)
{
    const timespec both[2] = {times.access, times.modification};
    noteWriteCall();
    return ::futimens(fd, both) == 0;
}
