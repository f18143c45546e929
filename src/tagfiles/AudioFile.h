#pragma once

#include "disc/AudioLength.h"
#include "files/FileResult.h"

#include <QString>

// The length of an MP3 file's audio, read from the file: through one
// descriptor, a window of 256 KB at a time, so memory stays small whatever
// the file's size; the walk's own bounds keep the time (a file longer than
// a CD holds is given up on at that length).
struct FileAudioLength {
    FileResult file{};    // why the file could not be opened; ok otherwise
    AudioLength audio{};  // Unreadable when it could not be opened or read
};

FileAudioLength readAudioLength(const QString &path);
