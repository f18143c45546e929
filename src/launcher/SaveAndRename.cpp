// Saving rows into their files and renaming files from their tags.

#include "frmID3Launcher.h"

#include "FileMoveService.h"
#include "FileRow.h"
#include "ListInputCodes.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"
#include "NativePath.h"
#include "PathParts.h"
#include "RenameFormat.h"

namespace {

// The longest file name the system takes, in bytes.
constexpr qsizetype kMaxNameBytes = 255;

// A name built from tag values that would leave the folder, or is no file
// name at all, is refused before anything moves; so is a name starting with a
// dot (".mp3" from an empty format), which would hide the file, and one too
// long for the system.
bool isNameWithinFolder(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(kPathSeparator) && !name.contains(QChar(0))
           && nativePath(name).size() <= kMaxNameBytes;
}

}  // namespace

// Every row's block is written first, each failure reported in row order;
// then the written files are made durable together, and a file that could not
// be is undone and reported after them. A row loses its change mark only once
// its file is durable.
void frmID3Launcher::Save(SaveMode mode)
{
    ListViewService &list = services_.list;
    const int rows = list.count();
    TagWriteBatch batch(syncWrittenFile);
    QList<int> written;
    for (int i = 1; i <= rows; ++i) {
        if (mode != SaveAll && !list.isSelected(i))
            continue;
        if (SaveRowTag(i, batch))
            written << i;
        else
            showSaveError(i);
    }
    const QList<int> undone = batch.finish();
    for (int entry = 0; entry < written.size(); ++entry) {
        const int row = written.at(entry);
        if (undone.contains(entry)) {
            showSaveError(row);
        } else {
            list.setCell(row, livChanged, QString());
            rememberFileValues(list.rowInfo(row).identity, rowFields(list, row));
        }
    }
}

void frmID3Launcher::showSaveError(int row)
{
    services_.messages.showMessage(shownPath(services_.list.cell(row, livFilename))
                                       + QStringLiteral(" は保存できませんでした。"),
                                   MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Critical,
                                   services_.window.caption() + QStringLiteral(" [保存エラー]"));
}

void frmID3Launcher::showRenameError(const QString &from, const QString &to)
{
    services_.messages.showMessage(shownPath(from) + QStringLiteral(" から ") + shownPath(to)
                                       + QStringLiteral(" に変更できませんでした"),
                                   MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Exclamation,
                                   services_.window.caption() + QStringLiteral(" [変更時エラー]"));
}

void frmID3Launcher::showFormatError()
{
    services_.messages.showMessage(QStringLiteral("ファイルフォーマットに使用できない文字が含まれています"),
                                   MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Exclamation,
                                   services_.window.caption() + QStringLiteral(" [フォーマットーエラー]"));
}

bool frmID3Launcher::SaveRowTag(int i, TagWriteBatch &batch)
{
    const ListViewService &list = services_.list;
    if (i < 1 || i > list.count())
        return false;
    // Every field comes from the row, so nothing of another file reaches this
    // one; and only the file the row was loaded from is written.
    return batch.add(list.cell(i, livFileNamewithPath) + list.cell(i, livFilename), rowFields(list, i),
                     list.rowInfo(i).identity);
}

QString frmID3Launcher::MakeRenameName(int i)
{
    const QString format = services_.window.renameFormat();
    const ListViewService &list = services_.list;
    if (isRefusedRenameFormat(format) || i < 1 || i > list.count())
        return QString();
    FileRowCells cells;
    for (int column = 0; column < kFileRowColumnCount; ++column)
        cells[static_cast<std::size_t>(column)] = list.cell(i, column);
    return renameFileName(format, cells, i);
}

void frmID3Launcher::Rename()
{
    ListViewService &list = services_.list;
    if (list.count() >= 1 && MakeRenameName(1).isEmpty()) {
        showFormatError();
        return;
    }
    Save(SaveSelected);
    // The files moved are one step; the save before them is none.
    ListRows before = listRows();
    QList<FileMove> moves;
    for (int i = 1; i <= list.count(); ++i) {
        if (!list.isSelected(i))
            continue;
        const QString newName = MakeRenameName(i);
        const QString folder = list.cell(i, livFileNamewithPath);
        const QString oldName = list.cell(i, livFilename);
        if (isNameWithinFolder(newName) && services_.mover.moveFile(folder + oldName, folder + newName)) {
            list.setCell(i, livFilename, newName);
            moves << FileMove{.serial = list.rowInfo(i).serial, .folder = folder, .oldName = oldName, .newName = newName};
        } else {
            showRenameError(oldName, newName);
        }
    }
    recordStep(std::move(before), std::move(moves));
}
