#include "frmID3Launcher.h"

#include "FileChooserService.h"
#include "FileIdentity.h"
#include "FileRow.h"
#include "ListMenuService.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "PathParts.h"
#include "SettingsFileService.h"
#include "TagEditorService.h"

namespace {

const QString kDefaultRenameFormat = QStringLiteral("(%K)[%A]%T_%D");
const QString kRenameFormatToolTip = QStringLiteral(
    "%A:アルバム名 %K:歌手名 %D:曲名 %C:コメント %T:トラック番号 %J:ジャンル名 %Y:製造年 %N:上からの連番");
const QString kSettingsFileName = QStringLiteral("kiv.ini");
const QString kSettingsSection = QStringLiteral("KIV");
const QString kRenameFormatKey = QStringLiteral("FILE_FORMAT");

QString withTrailingSeparator(const QString &folder)
{
    return folder.endsWith(kPathSeparator) ? folder : folder + kPathSeparator;
}

}  // namespace

frmID3Launcher::frmID3Launcher(const Services &services) : services_(services) {}

frmID3Launcher::~frmID3Launcher() = default;

void frmID3Launcher::Form_Load()
{
    AppPath = withTrailingSeparator(services_.window.programFolder());

    QString format = mGetPrivateProfileString(kSettingsSection, kRenameFormatKey, settingsFilePath());
    if (format.isEmpty())
        format = kDefaultRenameFormat;
    services_.window.setRenameFormat(format);
    services_.window.setRenameFormatToolTip(kRenameFormatToolTip);
    services_.menu.setItemCaption(ListMenuService::Item::Copyright,
                                  services_.window.caption() + QStringLiteral(" について(&C) C"));
}

void frmID3Launcher::Form_Unload()
{
    // A settings file that cannot be written leaves the old value for the
    // next start; there is nobody to tell at this point.
    services_.settings.writeString(kSettingsSection, kRenameFormatKey, services_.window.renameFormat(),
                                   settingsFilePath());
    clsID3Tag.reset();
    services_.editor.unload();
}

void frmID3Launcher::cmdEnd_Click()
{
    services_.window.closeWindow();
}

void frmID3Launcher::AddMp3File(const QString &path)
{
    ListViewService &list = services_.list;
    if (list.count() >= kMaxRows)
        return;
    // The file is read before it is looked for among the rows: most files of
    // a large folder are no MP3 files, and so cost no more than the read.
    classID3_V11 &tag = sharedTag();
    tag.SetMP3File(path);
    if (!tag.LoadMp3File(QString()))
        return;
    // A file already listed, under this path or any other spelling of it,
    // keeps its one row: two rows of one file would overwrite each other's
    // saves. Each row keeps the identity of its file, so a row's path is
    // looked up only when the identities match: the row's file may have been
    // deleted since, and a new file given its inode number.
    const std::optional<FileIdentity> identity = fileIdentity(path);
    if (!identity)
        return;
    for (int row = 1; row <= list.count(); ++row) {
        const QString rowPath = list.cell(row, livFileNamewithPath) + list.cell(row, livFilename);
        if (rowPath == path || (list.rowInfo(row).identity == identity && fileIdentity(rowPath) == identity))
            return;
    }
    const QString fileName = GetFileNamePart(path);
    if (fileName.isEmpty())
        return;

    list.addRow(fileName);
    const int row = list.count();
    list.setCell(row, livFileNamewithPath, GetFolderPart(path));
    list.setRowInfo(row, {.identity = identity, .serial = ++lastSerial_});
    const TagRecord fields = tagFields(tag);
    putRowFields(list, row, fields);
    rememberFileValues(identity, fields);
}

void frmID3Launcher::SelectMp3Files()
{
    const QString title = QStringLiteral("[") + services_.window.caption()
                          + QStringLiteral(" ]MP3 ファイルを選んでください");
    lvMP3List_OLEDragDrop(services_.chooser.chooseExistingFiles(title, QStringLiteral("MP3 File (*.mp3)")));
}

// One pick, one drop or the files of the command line: one step.
void frmID3Launcher::lvMP3List_OLEDragDrop(const QStringList &paths)
{
    ListRows before = listRows();
    for (const QString &path : paths)
        AddMp3File(path);
    recordStep(std::move(before));
}

void frmID3Launcher::Menu_LV_RightMenu_DELETE_Click()
{
    // From the bottom up, so the rows not yet visited keep their positions.
    ListViewService &list = services_.list;
    ListRows before = listRows();
    for (int row = list.count(); row >= 1; --row) {
        if (list.isSelected(row))
            list.removeRow(row);
    }
    recordStep(std::move(before));
}

QString frmID3Launcher::mGetPrivateProfileString(const QString &lpAppName, const QString &lpKeyName,
                                                 const QString &lpFileName)
{
    const QString value = services_.settings.readString(lpAppName, lpKeyName, lpFileName);
    const qsizetype zero = value.indexOf(QChar(0));
    return zero < 0 ? value : value.left(zero);
}

classID3_V11 &frmID3Launcher::sharedTag()
{
    if (!clsID3Tag)
        clsID3Tag = std::make_unique<classID3_V11>();
    return *clsID3Tag;
}

QString frmID3Launcher::settingsFilePath() const
{
    return withTrailingSeparator(services_.window.settingsFolder()) + kSettingsFileName;
}
