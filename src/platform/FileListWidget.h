#pragma once

#include <QStringList>
#include <QTreeWidget>

// The report-style file list: eleven columns in a fixed order, several rows
// selectable, never sorted, and a drop target for local files. It reports
// the keys, clicks and drops its commands need as signals.
class FileListWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit FileListWidget(QWidget *parent = nullptr);

signals:
    // Local files dropped on the list, full paths in the drag's order.
    void filesDropped(const QStringList &paths);
    // A key the list's commands use, with its key code (Enter 13, Delete 46,
    // C 67, E 69, L 76, R 82, S 83) and shift state (Shift 1, Ctrl 2, Alt 4).
    void commandKeyPressed(int keyCode, int shift);
    // Any mouse button pressed in the list (left 1, right 2, middle 4), with
    // the shift state and the position in the list's viewport.
    void mousePressed(int button, int shift, int x, int y);
    void listDoubleClicked();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
