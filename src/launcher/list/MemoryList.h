#pragma once

#include "services/FileRow.h"
#include "services/ListViewService.h"

#include <QList>

#include <functional>

// The list's rows kept in memory, for a program that shows none. A row is
// selected when added. rowAdded, when set, hears the count of rows after
// each row added.
class MemoryList final : public ListViewService
{
public:
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

private:
    struct Row {
        ListRow row;
        bool selected = true;
    };
    QList<Row> rows_;
    int current_ = 0;
};
