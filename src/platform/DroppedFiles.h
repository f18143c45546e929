#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

// Full paths of the local files a drag carries, in the drag's order, read
// from its URI list with their exact bytes (pathText); empty when it carries
// none (text, web links and the like). A path holding a zero byte is left
// out.
QStringList droppedLocalFiles(const QMimeData *data);

// Accepts a drag enter, move or drop event that carries local files and
// ignores any other, so the user sees whether a drop would be taken. Returns
// the files' paths.
QStringList acceptLocalFileDrag(QDropEvent *event);
