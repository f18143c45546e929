#include "app/cli/CliProgram.h"

#include "app/cli/CliArguments.h"
#include "app/cli/ConsoleOutput.h"
#include "app/cli/TagText.h"
#include "files/NativePath.h"
#include "id3v2/Id3v2InStep.h"
#include "launcher/report/FileReports.h"
#include "launcher/settings/RenameFormatSetting.h"
#include "launcher/text/RenameFormat.h"
#include "system/PrivateProfileFile.h"
#include "system/UserSettingsFolder.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Rows saved or renamed together; the progress line moves on after each
// group. A CD's worth, so that a CD is one batch.
constexpr int kRowsAtOnce = 99;

// More files than a CD holds take long enough to be shown going.
constexpr int kRowsWithoutProgress = 99;

// The highest track number a tag holds.
constexpr int kLastTrack = 255;

QList<QList<int>> inGroups(const QList<int> &rows)
{
    QList<QList<int>> groups;
    for (qsizetype first = 0; first < rows.size(); first += kRowsAtOnce)
        groups << rows.mid(first, kRowsAtOnce);
    return groups;
}

}  // namespace

CliProgram::CliProgram(ConsoleOutput &console, const LocaleText &text, const QString &currentFolder,
                       const QString &programFolder, std::function<QByteArray()> readInput)
    : console_(console),
      text_(text),
      currentFolder_(currentFolder),
      programFolder_(programFolder),
      readInput_(std::move(readInput)),
      reports_(console),
      rows_(view_, FileList::kNoRowLimit),
      adder_(rows_, known_, tag_),
      commandLine_(rows_, adder_, folders_),
      saver_(rows_, known_, reports_, syncData),
      v2Saver_(rows_, known_, reports_, {}),
      renamer_(rows_, known_, saver_, mover_, reports_),
      columns_(rows_, reports_),
      fills_(rows_, reports_)
{
}

CliStatus CliProgram::run(const CliOptions &options)
{
    // Everything that can refuse the command line is looked at before the
    // files are.
    QString format;
    if (options.command == CliCommand::Rename
        || (options.command == CliCommand::Fill && options.source == FillSource::FileNames)) {
        const std::optional<QString> accepted = renameFormat(options);
        if (!accepted)
            return kUsageError;
        format = *accepted;
    }
    QString titles;
    if (options.command == CliCommand::Titles) {
        const std::optional<QString> input = text_.decode(readInput_());
        if (!input) {
            console_.tell(QStringLiteral("標準入力が正しい文字列ではありません"));
            return kUsageError;
        }
        titles = *input;
    }

    const bool allAdded = addFiles(options.files);
    console_.endProgress();
    if (rows_.isEmpty()) {
        console_.tell(QStringLiteral("MP3 ファイルがありません"));
        return kSomeFailed;
    }
    if (options.command == CliCommand::Number && options.firstTrack + rows_.count() - 1 > kLastTrack) {
        console_.tell(QStringLiteral("トラック番号が %1 を超えます: %2 から %3 ファイル")
                          .arg(kLastTrack)
                          .arg(options.firstTrack)
                          .arg(rows_.count()));
        return kUsageError;
    }

    CliStatus status = kAllDone;
    switch (options.command) {
    case CliCommand::Show:
        status = showTags(options.json);
        break;
    case CliCommand::Rename:
        status = renameFiles(format, options.dryRun);
        break;
    default:
        status = changeTags(options, format, titles);
        break;
    }
    console_.endProgress();
    return allAdded ? status : kSomeFailed;
}

std::optional<QString> CliProgram::renameFormat(const CliOptions &options)
{
    QString format = options.format.value_or(QString());
    if (!options.format) {
        PrivateProfileFile settings;
        format = RenameFormatSetting(settings, reports_, userSettingsFolder(programFolder_)).load();
    }
    if (isRefusedRenameFormat(format)) {
        reportRefusedFormat(reports_);
        return std::nullopt;
    }
    return format;
}

bool CliProgram::addFiles(const QStringList &files)
{
    view_.rowAdded = [this](int count) {
        if (count > kRowsWithoutProgress)
            console_.progress(QStringLiteral("%1 ファイルを読み込みました").arg(count));
    };
    const QList<RefusedFile> refused = commandLine_.add(files, currentFolder_);
    view_.rowAdded = nullptr;
    bool allAdded = true;
    for (const RefusedFile &file : refused) {
        const QString shown = shownPath(file.argument);
        if (file.result == AddResult::Listed) {
            console_.tell(shown + QStringLiteral(": 同じファイルが先に指定されているため、一度だけ扱います"));
            continue;
        }
        allAdded = false;
        console_.tell(shown
                      + (fileIdentity(file.argument) ? QStringLiteral(": MP3 ファイルとして読み込めません")
                                                     : QStringLiteral(": ファイルが見つかりません")));
    }
    return allAdded;
}

CliStatus CliProgram::showTags(bool json)
{
    if (!json) {
        for (int row : rows_.allRows())
            console_.print(tagLine(shownFile(rows_.path(row)), rows_.fields(row)));
        return kAllDone;
    }
    QJsonArray tags;
    for (int row : rows_.allRows())
        tags.append(tagObject(shownFile(rows_.path(row)), rows_.fields(row)));
    // JSON is UTF-8 whatever the locale, as every reader of it expects.
    console_.printBytes(QJsonDocument(tags).toJson(QJsonDocument::Indented));
    return kAllDone;
}

CliStatus CliProgram::changeTags(const CliOptions &options, const QString &format, const QString &titles)
{
    const QList<int> rows = rows_.allRows();
    QList<TagRecord> before;
    for (int row : rows)
        before << rows_.fields(row);
    applyCommand(options, format, titles);
    if (!options.dryRun)
        return saveChangedRows(options.v2);
    for (int row : rows) {
        console_.print(shownFile(rows_.path(row)) + QStringLiteral(": ")
                       + tagChange(before.at(row - 1), rows_.fields(row)));
    }
    return kAllDone;
}

void CliProgram::applyCommand(const CliOptions &options, const QString &format, const QString &titles)
{
    const QList<int> rows = rows_.allRows();
    switch (options.command) {
    case CliCommand::Set:
        fills_.setFields(options.fields, rows);
        break;
    case CliCommand::Number:
        columns_.numberRowsFromTheTop(options.firstTrack);
        break;
    case CliCommand::Titles:
        fills_.pasteTitles(titles, rows);
        break;
    case CliCommand::Fill:
        switch (options.source) {
        case FillSource::Id3v2: fills_.fromId3v2(rows); break;
        case FillSource::FileNames: fills_.fromFileNames(format, rows); break;
        case FillSource::Utf8: fills_.readAgainAs(ForeignCodePage::Utf8, rows); break;
        case FillSource::EucJp: fills_.readAgainAs(ForeignCodePage::EucJp, rows); break;
        }
        break;
    case CliCommand::Show:
    case CliCommand::Rename:
        break;
    }
}

CliStatus CliProgram::saveChangedRows(bool v2)
{
    // Only files whose tags change are written; a row marked is one to save.
    QList<int> changed;
    for (int row : rows_.allRows()) {
        const Id3v2Text &reading = rows_.info(row).id3v2;
        const bool differs = known_.differs(rows_.info(row).identity, rows_.fields(row))
                             || (v2 && (reading.state != Id3v2State::Read || id3v2OutOfStep(rows_.fields(row), reading)));
        rows_.setChanged(row, differs);
        if (differs)
            changed << row;
    }
    CliStatus status = kAllDone;
    int done = 0;
    for (const QList<int> &group : inGroups(changed)) {
        if (v2)
            v2Saver_.save(group);
        else
            saver_.save(group);
        done += static_cast<int>(group.size());
        for (int row : group) {
            // A row keeps its mark when its file could not be saved.
            if (!rows_.cell(row, livChanged).isEmpty())
                status = kSomeFailed;
        }
        if (rows_.count() > kRowsWithoutProgress)
            console_.progress(QStringLiteral("%1/%2 ファイルを書き込みました").arg(done).arg(changed.size()));
    }
    return status;
}

CliStatus CliProgram::renameFiles(const QString &format, bool dryRun)
{
    const QList<int> rows = rows_.allRows();
    QList<int> moving;
    QStringList newNames;
    QList<FileRefusal> unusable;
    CliStatus status = kAllDone;
    for (int row : rows) {
        const QString newName = renamer_.MakeRenameName(format, row);
        newNames << newName;
        if (newName == rows_.fileName(row)) {
            if (dryRun)
                console_.print(shownFile(rows_.path(row)) + QStringLiteral(": 変更なし"));
            continue;
        }
        if (!dryRun) {
            moving << row;
            continue;
        }
        if (!isNameWithinFolder(newName)) {
            unusable << FileRefusal{unusableNameSentence(), moveLine(rows_.fileName(row), newName)};
            status = kSomeFailed;
            continue;
        }
        console_.print(shownFile(rows_.path(row)) + QStringLiteral(" → ")
                       + shownFile(rows_.cell(row, livFileNamewithPath) + newName));
    }
    reportMoveRefusals(reports_, unusable);
    int done = 0;
    for (const QList<int> &group : inGroups(moving)) {
        renamer_.renameUnchanged(format, group);
        done += static_cast<int>(group.size());
        for (int row : group) {
            if (rows_.fileName(row) != newNames.at(row - 1))
                status = kSomeFailed;
        }
        if (rows_.count() > kRowsWithoutProgress)
            console_.progress(QStringLiteral("%1/%2 ファイルの名前を変更しました").arg(done).arg(moving.size()));
    }
    return status;
}

QString CliProgram::shownFile(const QString &path) const
{
    const QString folder = currentFolder_.endsWith(u'/') ? currentFolder_ : currentFolder_ + u'/';
    return shownPath(path.startsWith(folder) ? path.mid(folder.size()) : path);
}
