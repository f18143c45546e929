#include "launcher/rename/Renamer.h"

#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/rename/CheckedMove.h"
#include "launcher/report/FileReports.h"
#include "launcher/save/TagSaver.h"
#include "launcher/text/RenameFormat.h"

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

QList<FileMove> Renamer::rename(const QString &format, const QList<int> &rows)
{
    if (!acceptsFormat(format))
        return {};
    return moveFiles(format, rows, saver_.saveBeforeRename(rows));
}

QList<FileMove> Renamer::renameUnchanged(const QString &format, const QList<int> &rows)
{
    return acceptsFormat(format) ? moveFiles(format, rows, {}) : QList<FileMove>{};
}

bool Renamer::acceptsFormat(const QString &format)
{
    if (!rows_.isEmpty() && MakeRenameName(format, 1).isEmpty()) {
        reportRefusedFormat(reports_);
        return false;
    }
    return true;
}

QList<FileMove> Renamer::moveFiles(const QString &format, const QList<int> &rows,
                                   const QList<TagSaver::Refused> &notSaved)
{
    QList<FileMove> moves;
    QList<FileRefusal> refusals;
    for (int i : rows) {
        // A file the save found not to be the one read is reported there.
        if (std::any_of(notSaved.begin(), notSaved.end(),
                        [&](const TagSaver::Refused &r) { return r.row == i && isNotTheFileRead(r.why); }))
            continue;
        const QString newName = MakeRenameName(format, i);
        const QString folder = rows_.cell(i, livFileNamewithPath);
        const QString oldName = rows_.fileName(i);
        if (!isNameWithinFolder(newName)) {
            refusals << FileRefusal{unusableNameSentence(), moveLine(oldName, newName)};
            continue;
        }
        const std::optional<FileIdentity> identity = rows_.info(i).identity;
        const std::optional<FileSnapshot> expected = known_.snapshot(identity);
        const FileResult moved = expected ? moveCheckedFile(mover_, folder + oldName, folder + newName, *expected)
                                          : FileResult{FileProblem::Changed, 0};
        if (moved.ok()) {
            rows_.setCell(i, livFilename, newName);
            moves << FileMove{.serial = rows_.info(i).serial, .file = *identity, .folder = folder,
                              .oldName = oldName, .newName = newName};
        } else {
            refusals << FileRefusal{refusalSentence(FileCommand::Rename, moved), moveLine(oldName, newName)};
        }
    }
    reportMoveRefusals(reports_, refusals);
    return moves;
}
