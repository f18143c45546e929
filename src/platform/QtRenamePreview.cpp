#include "platform/QtRenamePreview.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Rows the list shows before it scrolls.
constexpr int kShownLines = 16;

QString summary(const QList<RenamePreviewService::Line> &lines)
{
    const auto renamed = std::count_if(lines.begin(), lines.end(), [](const auto &line) { return line.renamed; });
    QString text = QStringLiteral("OKで%1個のファイルの名前を次のとおり変更します。").arg(renamed);
    if (renamed < lines.size())
        text += QStringLiteral("灰色の%1個は変更しません。").arg(lines.size() - renamed);
    return text;
}

}  // namespace

bool QtRenamePreview::confirmRenames(const QString &title, const QList<Line> &lines)
{
    QDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("frmRenamePreview"));
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *heading = new QLabel(summary(lines), &dialog);
    heading->setTextFormat(Qt::PlainText);
    layout->addWidget(heading);

    auto *list = new QTreeWidget(&dialog);
    list->setObjectName(QStringLiteral("lvRenamePreview"));
    list->setHeaderLabels({QStringLiteral("今のファイル名"), QStringLiteral("新しいファイル名"), QStringLiteral("備考")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    const QBrush greyed = list->palette().brush(QPalette::Disabled, QPalette::Text);
    for (const Line &line : lines) {
        auto *item = new QTreeWidgetItem(list, {line.oldName, line.newName, line.note});
        for (int column = 0; column < item->columnCount(); ++column) {
            item->setToolTip(column, item->text(column));
            if (!line.renamed)
                item->setForeground(column, greyed);
        }
    }
    for (int column = 0; column < list->columnCount(); ++column)
        list->resizeColumnToContents(column);
    layout->addWidget(list);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    // As wide as the names and notes need, as tall as kShownLines rows, both
    // within the screen.
    int width = list->frameWidth() * 2 + list->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < list->columnCount(); ++column)
        width += list->columnWidth(column);
    const int shown = std::clamp(static_cast<int>(lines.size()), 1, kShownLines);
    const int height = list->frameWidth() * 2 + list->header()->sizeHint().height()
                       + shown * std::max(list->sizeHintForRow(0), list->fontMetrics().height());
    const QMargins margins = layout->contentsMargins();
    const QSize wanted(margins.left() + width + margins.right(),
                       margins.top() + heading->sizeHint().height() + height + buttons->sizeHint().height()
                           + 2 * layout->spacing() + margins.bottom());
    dialog.resize(wanted.boundedTo(dialog.screen()->availableGeometry().size()));
    return dialog.exec() == QDialog::Accepted;
}
