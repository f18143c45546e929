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
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

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

const QString kEmptyListHint = QStringLiteral(
    "MP3ファイルをここにドロップするか、Lキーで読み込みます\n右クリックのメニューにすべてのコマンドがあります");

QString bothMarks()
{
    return QString::fromUtf16(kChangeMark) + QString::fromUtf16(kId3v2Mark);
}

}  // namespace

QString changeMarksToolTip(const QString &marks)
{
    QStringList lines;
    if (marks.contains(QString::fromUtf16(kChangeMark)))
        lines << QStringLiteral("「*」まだファイルに保存していない値があります");
    if (marks.contains(QString::fromUtf16(kId3v2Mark)))
        lines << QStringLiteral("「2」ファイルのID3v2タグの内容がこの行と違います（Wで書き込みます）");
    return lines.join(u'\n');
}

FileListWidget::FileListWidget(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(kFileRowColumnCount);
    QStringList headers;
    for (const FileRowColumnInfo &column : kFileRowColumns)
        headers << QString::fromUtf16(column.header);
    setHeaderLabels(headers);
    headerItem()->setToolTip(livChanged, changeMarksToolTip(bothMarks()));
    // The change-mark column is narrower than a header's usual minimum.
    header()->setMinimumSectionSize(0);
    for (int column = 0; column < kFileRowColumnCount; ++column) {
        const int width = kFileRowColumns[static_cast<std::size_t>(column)].widthTwips;
        setColumnWidth(column, twipsToPixels(width));
        setColumnHidden(column, width == 0);
    }
    fitChangeMarkColumn();
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

void FileListWidget::fitChangeMarkColumn()
{
    // A cell's text stands between margins of the focus frame's width and
    // one pixel more on either side, as the style draws an item's text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = std::max(twipsToPixels(kFileRowColumns[static_cast<std::size_t>(livChanged)].widthTwips),
                               fontMetrics().horizontalAdvance(bothMarks()) + 2 * margin);
    setColumnWidth(livChanged, width);
}

void FileListWidget::changeEvent(QEvent *event)
{
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitChangeMarkColumn();
}

void FileListWidget::paintEvent(QPaintEvent *event)
{
    QTreeWidget::paintEvent(event);
    if (topLevelItemCount() != 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect(), Qt::AlignCenter, kEmptyListHint);
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
