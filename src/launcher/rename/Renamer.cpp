#include "launcher/rename/Renamer.h"

#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/rename/CheckedMove.h"
#include "launcher/report/FileReports.h"
#include "launcher/save/TagSaver.h"
#include "launcher/text/RenameFormat.h"

#include <QHash>
#include <QSet>

#include <algorithm>

Renamer::Renamer(FileList &rows, const KnownFiles &known, TagSaver &saver, FileMoveService &mover,
                 ReportService &reports)
    : rows_(rows), known_(known), saver_(saver), mover_(mover), reports_(reports)
{
}

QString Renamer::MakeRenameName(const QString &format, int i) const
{
    if (i < 1 || i > rows_.count())
        return QString();
    return renameFileName(format, rows_.cells(i), i);
}

QList<PlannedName> Renamer::plan(const QString &format, const QList<int> &rows) const
{
    QList<PlannedName> names;
    const bool withTrack = format.contains(QStringLiteral("%T"));
    for (const int row : rows) {
        const QString newName = MakeRenameName(format, row);
        names << PlannedName{.row = row, .oldName = rows_.fileName(row), .newName = newName,
                             .why = isNameWithinFolder(newName) ? FileResult{} : FileResult{FileProblem::UnusableName, 0},
                             .noTrack = withTrack && rows_.fields(row).TrackNumber == 0
                                        && newName.contains(QStringLiteral("00"))};
    }
    return names;
}

QList<PlannedName> Renamer::preview(const QString &format, const QList<int> &rows) const
{
    QList<PlannedName> names = plan(format, rows);
    QHash<QString, int> claimed;  // the paths earlier rows move to, with the row
    QSet<QString> freed;          // the paths earlier rows move away from
    for (PlannedName &name : names) {
        if (!name.why.ok() || name.newName == name.oldName)
            continue;
        const QString folder = rows_.cell(name.row, livFileNamewithPath);
        const QString from = folder + name.oldName, to = folder + name.newName;
        const std::optional<FileSnapshot> expected = known_.snapshot(rows_.info(name.row).identity);
        name.why = expected ? checkFileAsRead(from, *expected) : FileResult{FileProblem::Changed, 0};
        if (!name.why.ok())
            continue;
        if (claimed.contains(to)) {
            name.why = {FileProblem::NameTaken, 0};
            name.takenBy = claimed.value(to);
        } else if (!freed.contains(to) && fileIdentity(to)) {
            name.why = {FileProblem::NameTaken, 0};
        } else {
            claimed.insert(to, name.row);
            freed.insert(from);
        }
    }
    return names;
}

Renamer::Renamed Renamer::rename(const QString &format, const QList<int> &rows)
{
    if (!acceptsFormat(format))
        return {};
    return moveFiles(format, rows, saver_.saveBeforeRename(rows), false);
}

Renamer::Renamed Renamer::renameUnchanged(const QString &format, const QList<int> &rows)
{
    return acceptsFormat(format) ? moveFiles(format, rows, {}, true) : Renamed{};
}

bool Renamer::acceptsFormat(const QString &format)
{
    if (!rows_.isEmpty() && MakeRenameName(format, 1).isEmpty()) {
        reportRefusedFormat(reports_, format);
        return false;
    }
    return true;
}

Renamer::Renamed Renamer::moveFiles(const QString &format, const QList<int> &rows, const RowResults &saved,
                                    bool leaveNamed)
{
    Renamed renamed;
    QList<FileRefusal> refusals;
    for (const PlannedName &name : plan(format, rows)) {
        const int i = name.row;
        // A file the save found not to be the one read is reported there.
        const auto save = std::find_if(saved.begin(), saved.end(), [i](const RowResult &r) { return r.row == i; });
        if (save != saved.end() && save->done == RowDone::Refused && isNotTheFileRead(save->why)) {
            renamed.rows << *save;
            continue;
        }
        if (leaveNamed && name.newName == name.oldName) {
            renamed.rows << RowResult{.row = i, .done = RowDone::Unchanged};
            continue;
        }
        const QString folder = rows_.cell(i, livFileNamewithPath);
        FileResult moved = name.why;
        const std::optional<FileIdentity> identity = rows_.info(i).identity;
        if (moved.ok()) {
            const std::optional<FileSnapshot> expected = known_.snapshot(identity);
            moved = expected ? moveCheckedFile(mover_, folder + name.oldName, folder + name.newName, *expected)
                             : FileResult{FileProblem::Changed, 0};
        }
        if (moved.ok()) {
            rows_.setCell(i, livFilename, name.newName);
            renamed.moves << FileMove{.serial = rows_.info(i).serial, .file = *identity, .folder = folder,
                                      .oldName = name.oldName, .newName = name.newName};
            renamed.rows << RowResult{.row = i, .done = RowDone::Written};
        } else {
            refusals << FileRefusal{refusalSentence(FileCommand::Rename, moved), moveLine(rows_.reportedFile(i, name.oldName), rows_.reportedFile(i, name.newName))};
            renamed.rows << RowResult{.row = i, .done = RowDone::Refused, .why = moved};
        }
    }
    reportMoveRefusals(reports_, refusals);
    return renamed;
}
