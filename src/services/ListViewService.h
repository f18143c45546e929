#pragma once

#include "services/FileRow.h"

#include <QString>

// The main window's file list as the logic sees it: rows numbered 1 to N from
// the top in insertion order (nothing re-sorts them), each with eleven text
// cells at positions 0 to 10 (position 0 is the row's label) and a selected
// flag, and what it carries beside them (RowInfo); one row may be the
// current one.
class ListViewService
{
public:
    virtual ~ListViewService() = default;

    virtual int count() const = 0;
    virtual QString cell(int row, int column) const = 0;
    virtual void setCell(int row, int column, const QString &text) = 0;
    virtual bool isSelected(int row) const = 0;
    virtual void setSelected(int row, bool selected) = 0;
    // The row that has the list's focus, or 0 when there is none.
    virtual int currentRow() const = 0;
    // Gives the row the list's focus and scrolls it into view; the selection
    // stays as it is.
    virtual void setCurrentRow(int row) = 0;
    // Puts a new row at position row (count() + 1 for the bottom); the rows
    // from there down move down by one. Its label is the text; its other
    // cells are empty.
    virtual void insertRow(int row, const QString &label) = 0;
    void addRow(const QString &label) { insertRow(count() + 1, label); }
    virtual RowInfo rowInfo(int row) const = 0;
    virtual void setRowInfo(int row, const RowInfo &info) = 0;
    // Removes the row; the rows below move up by one.
    virtual void removeRow(int row) = 0;
    // The column's header text as shown.
    virtual QString headerText(int column) const = 0;
};
