#include "launcher/list/MemoryList.h"

namespace {

std::size_t at(int column)
{
    return static_cast<std::size_t>(column);
}

}  // namespace

int MemoryList::count() const
{
    return static_cast<int>(rows_.size());
}

QString MemoryList::cell(int row, int column) const
{
    return rows_.at(row - 1).cells.at(at(column));
}

void MemoryList::setCell(int row, int column, const QString &text)
{
    rows_[row - 1].cells.at(at(column)) = text;
}

bool MemoryList::isSelected(int row) const
{
    return rows_.at(row - 1).selected;
}

void MemoryList::setSelected(int row, bool selected)
{
    rows_[row - 1].selected = selected;
}

int MemoryList::currentRow() const
{
    return current_;
}

void MemoryList::setCurrentRow(int row)
{
    current_ = row;
}

void MemoryList::insertRow(int row, const QString &label)
{
    Row added;
    added.cells[livFilename] = label;
    added.selected = selectAdded_;
    rows_.insert(row - 1, added);
    if (rowAdded)
        rowAdded(count());
}

RowInfo MemoryList::rowInfo(int row) const
{
    return rows_.at(row - 1).info;
}

void MemoryList::setRowInfo(int row, const RowInfo &info)
{
    rows_[row - 1].info = info;
}

void MemoryList::removeRow(int row)
{
    rows_.removeAt(row - 1);
}

QString MemoryList::headerText(int column) const
{
    return QString::fromUtf16(kFileRowColumns.at(at(column)).header);
}
