#include "app/cli/CliProgram.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliLookup.h"
#include "app/cli/ConsoleOutput.h"
#include "app/cli/TagText.h"
#include "files/NativePath.h"
#include "files/StopSignals.h"
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
      parts_({.list = view_, .reports = reports_, .folders = folders_, .mover = mover_,
              .maxRows = FileList::kNoRowLimit, .reportedPath = [this](const QString &path) { return givenFile(path); }})
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
        // A line would end at the zero character on its way into the tag.
        if (titles.contains(QChar(0))) {
            console_.tell(QStringLiteral("標準入力に NUL 文字が含まれています"));
            return kUsageError;
        }
    }

    // Only writing both tags looks at what the ID3v2 tags hold now; I reads
    // them itself.
    parts_.adder.setReadsId3v2(options.v2);
    parts_.setKeepTimes(options.keepTimes);
    const bool allAdded = addFiles(options.files);
    console_.endProgress();
    if (stopRequested())
        return kSomeFailed;
    if (parts_.rows.isEmpty()) {
        console_.tell(QStringLiteral("MP3 ファイルがありません"));
        return kSomeFailed;
    }
    if (options.command == CliCommand::Number && options.firstTrack + parts_.rows.count() - 1 > kLastTrack) {
        console_.tell(QStringLiteral("トラック番号が %1 を超えます: %2 から %3 ファイル")
                          .arg(kLastTrack)
                          .arg(options.firstTrack)
                          .arg(parts_.rows.count()));
        return kUsageError;
    }

    // The release is had before anything is changed, so that nothing is
    // written when it cannot be.
    if (options.command == CliCommand::Fill && options.source == FillSource::MusicBrainz) {
        release_ = fetchReleaseRows(console_, web_, parts_.rows, parts_.rows.allRows(), options.release);
        if (!release_)
            return kSomeFailed;
    }

    CliStatus status = kAllDone;
    switch (options.command) {
    case CliCommand::Show:
        status = showTags(options.json);
        break;
    case CliCommand::Lookup:
        status = printLookup(console_, web_, parts_.rows, parts_.rows.allRows(), options.json) ? kAllDone : kSomeFailed;
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
        reportRefusedFormat(reports_, format);
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
    const QList<RefusedFile> refused = parts_.commandLine.add(files, currentFolder_);
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
        for (int row : parts_.rows.allRows())
            console_.print(tagLine(shownFile(parts_.rows.path(row)), parts_.rows.fields(row)));
        return kAllDone;
    }
    QJsonArray tags;
    for (int row : parts_.rows.allRows())
        tags.append(tagObject(shownFile(parts_.rows.path(row)), parts_.rows.fields(row)));
    // JSON is UTF-8 whatever the locale, as every reader of it expects.
    console_.printBytes(QJsonDocument(tags).toJson(QJsonDocument::Indented));
    return kAllDone;
}

CliStatus CliProgram::changeTags(const CliOptions &options, const QString &format, const QString &titles)
{
    const QList<int> rows = parts_.rows.allRows();
    QList<TagRecord> before;
    for (int row : rows)
        before << parts_.rows.fields(row);
    applyCommand(options, format, titles);
    if (!options.dryRun)
        return saveChangedRows(options.v2);
    for (int row : rows) {
        const TagRecord after = parts_.rows.fields(row);
        QString change = tagChange(before.at(row - 1), after);
        if (options.v2)
            change += QStringLiteral(" / ") + id3v2Change(after, parts_.rows.info(row).id3v2, parts_.rows.givenFields(row));
        console_.print(shownFile(parts_.rows.path(row)) + QStringLiteral(": ") + change);
    }
    return kAllDone;
}

void CliProgram::applyCommand(const CliOptions &options, const QString &format, const QString &titles)
{
    const QList<int> rows = parts_.rows.allRows();
    switch (options.command) {
    case CliCommand::Set:
        parts_.fills.setFields(options.fields, rows);
        break;
    case CliCommand::Number:
        parts_.columns.numberRowsFromTheTop(options.firstTrack);
        break;
    case CliCommand::Titles:
        parts_.fills.pasteTitles(titles, rows);
        break;
    case CliCommand::Fill:
        switch (options.source) {
        case FillSource::Id3v2: parts_.fills.fromId3v2(rows); break;
        case FillSource::FileNames: parts_.fills.fromFileNames(format, rows); break;
        case FillSource::Utf8: parts_.fills.readAgainAs(ForeignCodePage::Utf8, rows); break;
        case FillSource::EucJp: parts_.fills.readAgainAs(ForeignCodePage::EucJp, rows); break;
        case FillSource::MusicBrainz: parts_.fills.fillRows(release_->rows, rows, release_->tracksLeft); break;
        }
        break;
    case CliCommand::Show:
    case CliCommand::Rename:
    case CliCommand::Lookup:
        break;
    }
}

CliStatus CliProgram::saveChangedRows(bool v2)
{
    // Only files whose tags change are written.
    const QList<int> rows = parts_.rows.allRows();
    CliStatus status = kAllDone;
    int done = 0;
    for (const QList<int> &group : inGroups(rows)) {
        if (stopRequested())
            return kSomeFailed;
        const RowResults results = v2 ? parts_.id3v2Saver.saveChanged(group) : parts_.saver.saveChanged(group);
        if (!noneRefused(results))
            status = kSomeFailed;
        done += static_cast<int>(group.size());
        if (rows.size() > kRowsWithoutProgress)
            console_.progress(QStringLiteral("%1/%2 ファイルを書き込みました").arg(done).arg(rows.size()));
    }
    return status;
}

CliStatus CliProgram::renameFiles(const QString &format, bool dryRun)
{
    const QList<int> rows = parts_.rows.allRows();
    if (dryRun) {
        CliStatus status = kAllDone;
        QList<FileRefusal> refused;
        for (const PlannedName &name : parts_.renamer.preview(format, rows)) {
            const QString file = shownFile(parts_.rows.path(name.row));
            const QString newPath = parts_.rows.cell(name.row, livFileNamewithPath) + name.newName;
            if (name.newName == name.oldName) {
                console_.print(file + QStringLiteral(": 変更なし"));
            } else if (!name.why.ok()) {
                refused << FileRefusal{refusalSentence(FileCommand::Rename, name.why),
                                       moveLine(parts_.rows.reportedFile(name.row, name.oldName),
                                                parts_.rows.reportedFile(name.row, name.newName))};
                status = kSomeFailed;
            } else {
                console_.print(file + QStringLiteral(" → ") + shownFile(newPath));
            }
        }
        reportMoveRefusals(reports_, refused);
        return status;
    }
    CliStatus status = kAllDone;
    int done = 0;
    for (const QList<int> &group : inGroups(rows)) {
        if (stopRequested())
            return kSomeFailed;
        if (!noneRefused(parts_.renamer.renameUnchanged(format, group).rows))
            status = kSomeFailed;
        done += static_cast<int>(group.size());
        if (rows.size() > kRowsWithoutProgress)
            console_.progress(QStringLiteral("%1/%2 ファイルの名前を変更しました").arg(done).arg(rows.size()));
    }
    return status;
}

QString CliProgram::givenFile(const QString &path) const
{
    const QString folder = currentFolder_.endsWith(u'/') ? currentFolder_ : currentFolder_ + u'/';
    return path.startsWith(folder) ? path.mid(folder.size()) : path;
}

QString CliProgram::shownFile(const QString &path) const
{
    return shownPath(givenFile(path));
}
