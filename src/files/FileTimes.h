#pragma once

#include <ctime>
#include <optional>

// A file's access and modification times, to the nanosecond, so a write can
// leave them as they were.
struct FileTimes {
    timespec access{};
    timespec modification{};
};

// The times of the open file; nothing when fstat(2) fails.
std::optional<FileTimes> fileTimes(int fd);

// Gives the open file those times; false when it cannot (errno says why).
bool putFileTimes(int fd, const FileTimes &times);
