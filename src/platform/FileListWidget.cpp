#include "platform/FileListWidget.h"

#include "launcher/window/ListCommands.h"
#include "platform/DroppedFiles.h"
#include "platform/Twips.h"
#include "services/FileRow.h"
#include "services/ListInputCodes.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Rows a pixel taller above and below the text than the style makes them.
// The style fits a row to the font's height, which leaves an underscore,
// drawn at the foot of the font's descent, on the row's last pixel: it
// touches the next row, and the list's lower edge can cut it off.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 2);
    }
};

}  // namespace

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
    setItemDelegate(new RowDelegate(this));
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void FileListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    acceptLocalFileDrag(event);
}

void FileListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    acceptLocalFileDrag(event);
}

void FileListWidget::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptLocalFileDrag(event);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

namespace {

// The key code of a key: letters and digits are their characters, as the
// codes of the keys are; 0 for a key without a code.
int keyCode(int qtKey)
{
    using namespace ListInput;
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyEnter;
    case Qt::Key_Delete:
        return KeyDelete;
    default:
        return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    using namespace ListInput;
    return (modifiers.testFlag(Qt::ShiftModifier) ? ShiftDown : 0)
           | (modifiers.testFlag(Qt::ControlModifier) ? CtrlDown : 0)
           | (modifiers.testFlag(Qt::AltModifier) ? AltDown : 0);
}

int buttonCode(Qt::MouseButton button)
{
    using namespace ListInput;
    switch (button) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return 0;
    }
}

}  // namespace

void FileListWidget::keyPressEvent(QKeyEvent *event)
{
    const int code = keyCode(event->key());
    if (!isListCommandKey(code)) {
        // Arrows, Ctrl+A and the rest keep the list's own behaviour.
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit commandKeyPressed(code, shiftState(event->modifiers()));
}

void FileListWidget::mousePressEvent(QMouseEvent *event)
{
    // The list updates its selection first, so a right click on a row acts
    // on that row.
    QTreeWidget::mousePressEvent(event);
    const QPoint position = event->position().toPoint();
    emit mousePressed(buttonCode(event->button()), shiftState(event->modifiers()), position.x(), position.y());
}

void FileListWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}
