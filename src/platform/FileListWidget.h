#pragma once

#include <QStringList>
#include <QTreeWidget>

// The report-style file list: eleven columns in a fixed order, several rows
// selectable, never sorted, and a drop target for local files.
class FileListWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit FileListWidget(QWidget *parent = nullptr);

signals:
    // Local files dropped on the list, full paths in the drag's order.
    void filesDropped(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
