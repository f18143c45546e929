#include "platform/QtListView.h"

#include "files/NativePath.h"
#include "platform/FileListWidget.h"
#include "services/FileRow.h"

#include <QTreeWidget>

Q_DECLARE_METATYPE(RowInfo)

namespace {

// Where a row item keeps what the row carries beside its cells, and its file
// name as the path's text; the column shows the name as the user reads it.
constexpr int kRowInfoRole = Qt::UserRole;
constexpr int kFileNameRole = Qt::UserRole + 1;

void putText(QTreeWidgetItem *rowItem, int column, const QString &text)
{
    if (column == livFilename) {
        rowItem->setData(column, kFileNameRole, text);
        rowItem->setText(column, shownPath(text));
    } else {
        rowItem->setText(column, text);
    }
    if (column == livChanged)
        rowItem->setToolTip(column, changeMarksToolTip(text));
}

}  // namespace

int QtListView::count() const
{
    return tree_->topLevelItemCount();
}

QTreeWidgetItem *QtListView::item(int row) const
{
    return tree_->topLevelItem(row - 1);
}

QString QtListView::cell(int row, int column) const
{
    const QTreeWidgetItem *rowItem = item(row);
    if (!rowItem)
        return QString();
    return column == livFilename ? rowItem->data(column, kFileNameRole).toString() : rowItem->text(column);
}

void QtListView::setCell(int row, int column, const QString &text)
{
    if (QTreeWidgetItem *rowItem = item(row))
        putText(rowItem, column, text);
}

bool QtListView::isSelected(int row) const
{
    const QTreeWidgetItem *rowItem = item(row);
    return rowItem && rowItem->isSelected();
}

void QtListView::setSelected(int row, bool selected)
{
    if (QTreeWidgetItem *rowItem = item(row))
        rowItem->setSelected(selected);
}

int QtListView::currentRow() const
{
    QTreeWidgetItem *current = tree_->currentItem();
    return current ? tree_->indexOfTopLevelItem(current) + 1 : 0;
}

void QtListView::setCurrentRow(int row)
{
    // The list scrolls to its new current row itself.
    if (QTreeWidgetItem *rowItem = item(row))
        tree_->setCurrentItem(rowItem, 0, QItemSelectionModel::NoUpdate);
}

void QtListView::insertRow(int row, const QString &label)
{
    auto *rowItem = new QTreeWidgetItem;
    putText(rowItem, livFilename, label);
    tree_->insertTopLevelItem(row - 1, rowItem);
}

RowInfo QtListView::rowInfo(int row) const
{
    const QTreeWidgetItem *rowItem = item(row);
    return rowItem ? rowItem->data(livFilename, kRowInfoRole).value<RowInfo>() : RowInfo();
}

void QtListView::setRowInfo(int row, const RowInfo &info)
{
    if (QTreeWidgetItem *rowItem = item(row))
        rowItem->setData(livFilename, kRowInfoRole, QVariant::fromValue(info));
}

void QtListView::removeRow(int row)
{
    delete tree_->takeTopLevelItem(row - 1);
}

QString QtListView::headerText(int column) const
{
    return tree_->headerItem()->text(column);
}
