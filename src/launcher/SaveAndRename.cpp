// Saving rows into their files and renaming files from their tags.

#include "frmID3Launcher.h"

#include "FileMoveService.h"
#include "FileRow.h"
#include "ListInputCodes.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"
#include "PathParts.h"
#include "RenameFormat.h"

namespace {

// A name built from tag values that would leave the folder, or is no file
// name at all, is refused before anything moves; so is a name starting with a
// dot (".mp3" from an empty format), which would hide the file.
bool isNameWithinFolder(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(kPathSeparator) && !name.contains(QChar(0));
}

}  // namespace

void frmID3Launcher::Save(int mode)
{
    ListViewService &list = services_.list;
    const int rows = list.count();
    for (int i = 1; i <= rows; ++i) {
        if (mode != SaveAll && !list.isSelected(i))
            continue;
        if (SaveRowTag(i)) {
            list.setCell(i, livChanged, QString());
        } else {
            services_.messages.showMessage(list.cell(i, livFilename) + QStringLiteral(" は保存できませんでした。"),
                                           MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Critical,
                                           services_.window.caption() + QStringLiteral(" [保存エラー]"));
        }
    }
}

bool frmID3Launcher::SaveRowTag(int i)
{
    const ListViewService &list = services_.list;
    if (i < 1 || i > list.count())
        return false;
    // Every field comes from the row, so nothing an earlier file left in the
    // shared tag object reaches this one.
    classID3_V11 &tag = sharedTag();
    tag.SetMP3File(list.cell(i, livFileNamewithPath) + list.cell(i, livFilename));
    putTagFields(tag, rowFields(list, i));
    return tag.SaveMp3File(QString());
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
    const QString caption = services_.window.caption();
    if (list.count() >= 1 && MakeRenameName(1).isEmpty()) {
        services_.messages.showMessage(QStringLiteral("ファイルフォーマットに使用できない文字が含まれています"),
                                       MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Exclamation,
                                       caption + QStringLiteral(" [フォーマットーエラー]"));
        return;
    }
    Save(SaveSelected);
    for (int i = 1; i <= list.count(); ++i) {
        if (!list.isSelected(i))
            continue;
        const QString newName = MakeRenameName(i);
        const QString folder = list.cell(i, livFileNamewithPath);
        const QString oldName = list.cell(i, livFilename);
        if (isNameWithinFolder(newName) && services_.mover.moveFile(folder + oldName, folder + newName)) {
            list.setCell(i, livFilename, newName);
        } else {
            services_.messages.showMessage(oldName + QStringLiteral(" から ") + newName
                                               + QStringLiteral(" に変更できませんでした"),
                                           MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Exclamation,
                                           caption + QStringLiteral(" [変更時エラー]"));
        }
    }
}
