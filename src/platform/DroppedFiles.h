#pragma once

#include <QStringList>
#include <QtGlobal>

class QDropEvent;
class QMimeData;

// The most files one drop gives: the list takes 99 rows and numbering 255
// tracks, and a drag naming millions of files must not stall Kalvo.
inline constexpr qsizetype kMaxDroppedFiles = 10000;

// Full paths of the local files a drag carries, in the drag's order, read
// from its URI list with their exact bytes (pathText): the first maxFiles of
// them, the rest of the list not looked at. Empty when it carries none
// (text, web links and the like). A path holding a zero byte is left out.
QStringList droppedLocalFiles(const QMimeData *data, qsizetype maxFiles);

// Accepts a drag enter, move or drop event that carries local files and
// ignores any other, so the user sees whether a drop would be taken. Returns
// the paths of a drop's files; of a drag entering or moving, whose list is
// looked at on every move, only the first file's.
QStringList acceptLocalFileDrag(QDropEvent *event);
