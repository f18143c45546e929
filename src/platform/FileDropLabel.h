#pragma once

#include <QLabel>
#include <QStringList>

// A label that takes drops of local files (and only those).
class FileDropLabel : public QLabel
{
    Q_OBJECT
public:
    explicit FileDropLabel(const QString &text, QWidget *parent = nullptr);

signals:
    // Local files dropped on the label, full paths in the drag's order.
    void filesDropped(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
