// The list's history: each change to the rows is recorded as one step, and
// undo and redo restore the rows a step left or found, moving back and again
// the files a rename moved.

#include "frmID3Launcher.h"

#include "FileMoveService.h"
#include "ListViewService.h"
#include "NativePath.h"

#include <QSet>

namespace {

// Equal but for the change marks, which follow the files rather than the
// steps.
bool sameRows(const ListRows &a, const ListRows &b)
{
    const auto same = [](const ListRow &x, const ListRow &y) {
        FileRowCells xCells = x.cells;
        xCells[livChanged] = y.cells[livChanged];
        return x.info.serial == y.info.serial && xCells == y.cells;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

}  // namespace

ListRows frmID3Launcher::listRows() const
{
    const ListViewService &list = services_.list;
    ListRows rows;
    for (int row = 1; row <= list.count(); ++row) {
        ListRow &copy = rows.emplace_back();
        for (int column = 0; column < kFileRowColumnCount; ++column)
            copy.cells[static_cast<std::size_t>(column)] = list.cell(row, column);
        copy.info = list.rowInfo(row);
    }
    return rows;
}

void frmID3Launcher::recordStep(ListRows before, QList<FileMove> moves)
{
    ListRows after = listRows();
    if (moves.isEmpty() && sameRows(before, after))
        return;
    history_.record({.before = std::move(before), .after = std::move(after), .moves = std::move(moves)});
}

void frmID3Launcher::rememberFileValues(const std::optional<FileIdentity> &identity, const TagRecord &fields)
{
    if (identity)
        fileValues_[*identity] = fields;
}

void frmID3Launcher::Menu_LV_RightMenu_Undo_Click()
{
    if (!history_.canUndo())
        return;
    ListStep &step = history_.undo();
    // Back in the opposite order, so a name one file left and another took
    // in the same rename is free again when the first file needs it.
    for (auto move = step.moves.rbegin(); move != step.moves.rend(); ++move) {
        if (move->atNewName)
            move->atNewName = !moveRowFile(*move, move->newName, move->oldName);
    }
    restoreRows(step.before);
}

void frmID3Launcher::Menu_LV_RightMenu_Redo_Click()
{
    if (!history_.canRedo())
        return;
    ListStep &step = history_.redo();
    for (FileMove &move : step.moves) {
        if (!move.atNewName)
            move.atNewName = moveRowFile(move, move.oldName, move.newName);
    }
    restoreRows(step.after);
}

// Moves a renamed row's file from one name to the other with the mover that
// never overwrites, and gives the row the name the file has; a file that
// cannot be moved (its name taken meanwhile, or gone) stays where it is and
// is reported.
bool frmID3Launcher::moveRowFile(const FileMove &move, const QString &from, const QString &to)
{
    if (!services_.mover.moveFile(move.folder + from, move.folder + to)) {
        showRenameError(from, to);
        return false;
    }
    ListViewService &list = services_.list;
    for (int row = 1; row <= list.count(); ++row) {
        if (list.rowInfo(row).serial == move.serial)
            list.setCell(row, livFilename, to);
    }
    return true;
}

// Makes the list hold the rows given, in their order: rows not among them go,
// missing ones come back where they stand, and the others get their cells.
// The name of a row that stays is left alone, as it follows its file, which
// only a rename moves. A row that comes back or changes gets the change mark
// when its values differ from what its file held when last read or written.
void frmID3Launcher::restoreRows(const ListRows &rows)
{
    ListViewService &list = services_.list;
    QSet<quint64> wanted;
    for (const ListRow &target : rows)
        wanted.insert(target.info.serial);
    for (int row = list.count(); row >= 1; --row) {
        if (!wanted.contains(list.rowInfo(row).serial))
            list.removeRow(row);
    }
    // Steps never reorder rows, so the rows that stayed are in order.
    for (int row = 1; row <= rows.size(); ++row) {
        const ListRow &target = rows.at(row - 1);
        const bool present = row <= list.count() && list.rowInfo(row).serial == target.info.serial;
        if (!present) {
            list.insertRow(row, target.cells[livFilename]);
            list.setRowInfo(row, target.info);
            list.setCell(row, livFileNamewithPath, target.cells[livFileNamewithPath]);
        }
        bool changed = !present;
        for (int column = 0; column < kFileRowColumnCount; ++column) {
            if (column == livFilename || column == livFileNamewithPath || column == livChanged)
                continue;
            const QString &text = target.cells[static_cast<std::size_t>(column)];
            if (list.cell(row, column) != text) {
                list.setCell(row, column, text);
                changed = true;
            }
        }
        if (!changed)
            continue;
        const auto known = target.info.identity ? fileValues_.find(*target.info.identity) : fileValues_.end();
        const bool differs = known == fileValues_.end() || known->second != rowFields(list, row);
        list.setCell(row, livChanged, differs ? QString::fromUtf16(kChangeMark) : QString());
    }
}
