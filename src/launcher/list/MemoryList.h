#pragma once

#include "services/FileRow.h"
#include "services/ListViewService.h"

#include <QList>

#include <functional>

// The list's rows kept in memory, for a program that shows none and for the
// tests of the list's logic. rowAdded, when set, hears the count of rows
// after each row added.
class MemoryList : public ListViewService
{
public:
    struct Row {
        FileRowCells cells;
        bool selected = false;
        RowInfo info;
    };

    // selectAdded: a row is selected when added, for a program that works
    // on every row it is given.
    explicit MemoryList(bool selectAdded = false) : selectAdded_(selectAdded) {}

    std::function<void(int count)> rowAdded;

    int count() const override;
    QString cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text) override;
    bool isSelected(int row) const override;
    void setSelected(int row, bool selected) override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void insertRow(int row, const QString &label) override;
    RowInfo rowInfo(int row) const override;
    void setRowInfo(int row, const RowInfo &info) override;
    void removeRow(int row) override;
    QString headerText(int column) const override;

protected:
    QList<Row> rows_;
    int current_ = 0;

private:
    bool selectAdded_;
};
