#include "platform/FileDropLabel.h"

#include "platform/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

FileDropLabel::FileDropLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAcceptDrops(true);
}

void FileDropLabel::dragEnterEvent(QDragEnterEvent *event)
{
    acceptLocalFileDrag(event);
}

void FileDropLabel::dragMoveEvent(QDragMoveEvent *event)
{
    acceptLocalFileDrag(event);
}

void FileDropLabel::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptLocalFileDrag(event);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}
