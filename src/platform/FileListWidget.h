#pragma once

#include <QStringList>
#include <QTreeWidget>

// What the change marks a cell of livChanged holds mean, one line each: the
// tool tip of such a cell, and with both marks the header's.
QString changeMarksToolTip(const QString &marks);

// The report-style file list: eleven columns in a fixed order, several rows
// selectable, never sorted, and a drop target for local files. It reports
// the keys, clicks and drops its commands need as signals. While it has no
// row it says, greyed in its middle, how to add files.
class FileListWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit FileListWidget(QWidget *parent = nullptr);

signals:
    // Local files dropped on the list, full paths in the drag's order.
    void filesDropped(const QStringList &paths);
    // A key the list's commands use, with its key code and shift state
    // (ListInput::Key, ListInput::ShiftBit).
    void commandKeyPressed(int keyCode, int shift);
    // Any mouse button pressed in the list (ListInput::Button), with the
    // shift state and the position in the list's viewport.
    void mousePressed(int button, int shift, int x, int y);
    void listDoubleClicked();

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The change-mark column as wide as designed, or as both marks need in
    // the list's font.
    void fitChangeMarkColumn();
};
