#include "QtListView.h"

#include "FileRow.h"
#include "NativePath.h"

#include <QTreeWidget>

Q_DECLARE_METATYPE(RowFile)

namespace {

// Where a row item keeps what the row knows of its file, and its file name
// as the path's text; the column shows the name as the user reads it.
constexpr int kRowFileRole = Qt::UserRole;
constexpr int kFileNameRole = Qt::UserRole + 1;

void putText(QTreeWidgetItem *rowItem, int column, const QString &text)
{
    if (column == livFilename) {
        rowItem->setData(column, kFileNameRole, text);
        rowItem->setText(column, shownPath(text));
    } else {
        rowItem->setText(column, text);
    }
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

int QtListView::currentRow() const
{
    QTreeWidgetItem *current = tree_->currentItem();
    return current ? tree_->indexOfTopLevelItem(current) + 1 : 0;
}

void QtListView::addRow(const QString &label)
{
    putText(new QTreeWidgetItem(tree_), livFilename, label);
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
