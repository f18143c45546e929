#include "FileListWidget.h"

#include "DroppedFiles.h"
#include "FileRow.h"
#include "Twips.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>

FileListWidget::FileListWidget(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(kFileRowColumnCount);
    QStringList headers;
    for (const FileRowColumnInfo &column : kFileRowColumns)
        headers << QString::fromUtf16(column.header);
    setHeaderLabels(headers);
    // The change-mark column is narrower than a header's usual minimum.
    header()->setMinimumSectionSize(0);
    for (int column = 0; column < kFileRowColumnCount; ++column) {
        const int width = kFileRowColumns[static_cast<std::size_t>(column)].widthTwips;
        setColumnWidth(column, twipsToPixels(width));
        setColumnHidden(column, width == 0);
    }
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);

    // Turning sorting off also makes the header unclickable; header clicks
    // number and fill columns, so they come back on.
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void FileListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedLocalFiles(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void FileListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    if (droppedLocalFiles(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void FileListWidget::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedLocalFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}
