#pragma once

#include "services/ListViewService.h"

class QTreeWidget;
class QTreeWidgetItem;

// The list service over a QTreeWidget whose top-level items are the rows. The
// file-name column shows each name as the user reads it (shownPath); the
// cell is the name's exact text.
class QtListView : public ListViewService
{
public:
    explicit QtListView(QTreeWidget *tree) : tree_(tree) {}

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
    QTreeWidgetItem *item(int row) const;

    QTreeWidget *tree_;
};
