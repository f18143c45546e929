#pragma once

#include "files/FileResult.h"
#include "files/FileSnapshot.h"

#include <QString>

class FileMoveService;

// Whether the file at path is the file expected, as Kalvo last read or
// wrote it: checkSnapshot on a descriptor opened on path. Ok when it is;
// else why not (Changed, NotRegularFile, Missing, the system's error).
FileResult checkFileAsRead(const QString &path, const FileSnapshot &expected);

// Moves the file at from to the path to, never over another file, only while
// it is the file expected as Kalvo last read or wrote it. A rename works on
// names, so the file is checked on a descriptor opened on from
// (checkSnapshot), then moved, then to must name the descriptor's file: when
// another file took from's place between the check and the move, the file
// moved goes back to from and the move is refused as Changed. Ok when the
// file expected is at to; else why not, everything left as it was.
FileResult moveCheckedFile(FileMoveService &mover, const QString &from, const QString &to,
                           const FileSnapshot &expected);
