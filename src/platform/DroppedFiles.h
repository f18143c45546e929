#pragma once

#include <QStringList>

class QMimeData;

// Full paths of the local files a drag carries, in the drag's order; empty
// when it carries none (text, web links and the like).
QStringList droppedLocalFiles(const QMimeData *data);
