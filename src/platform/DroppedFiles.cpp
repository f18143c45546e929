#include "DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

QStringList droppedLocalFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        // A zero character ("%00") would cut the path short on its way to the
        // system, so such a path never names the file meant.
        const QString path = url.toLocalFile();
        if (url.isLocalFile() && !path.contains(QChar(0)))
            paths << path;
    }
    return paths;
}

QStringList acceptLocalFileDrag(QDropEvent *event)
{
    const QStringList paths = droppedLocalFiles(event->mimeData());
    if (paths.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
    return paths;
}
