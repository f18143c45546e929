#include "QtListView.h"

#include "FileRow.h"

#include <QTreeWidget>

Q_DECLARE_METATYPE(RowFile)

namespace {

// Where a row item keeps what the row knows of its file.
constexpr int kRowFileRole = Qt::UserRole;

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
    return rowItem ? rowItem->text(column) : QString();
}

void QtListView::setCell(int row, int column, const QString &text)
{
    if (QTreeWidgetItem *rowItem = item(row))
        rowItem->setText(column, text);
}

bool QtListView::isSelected(int row) const
{
    const QTreeWidgetItem *rowItem = item(row);
    return rowItem && rowItem->isSelected();
}

int QtListView::currentRow() const
{
    QTreeWidgetItem *current = tree_->currentItem();
    return current ? tree_->indexOfTopLevelItem(current) + 1 : 0;
}

void QtListView::addRow(const QString &label)
{
    auto *rowItem = new QTreeWidgetItem(tree_);
    rowItem->setText(livFilename, label);
}

RowFile QtListView::rowFile(int row) const
{
    const QTreeWidgetItem *rowItem = item(row);
    return rowItem ? rowItem->data(livFilename, kRowFileRole).value<RowFile>() : RowFile();
}

void QtListView::setRowFile(int row, const RowFile &file)
{
    if (QTreeWidgetItem *rowItem = item(row))
        rowItem->setData(livFilename, kRowFileRole, QVariant::fromValue(file));
}

void QtListView::removeRow(int row)
{
    delete tree_->takeTopLevelItem(row - 1);
}

QString QtListView::headerText(int column) const
{
    return tree_->headerItem()->text(column);
}
