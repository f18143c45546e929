#include "Renamer.h"

#include "FileList.h"
#include "FileMoveService.h"
#include "FileReports.h"
#include "RenameFormat.h"
#include "TagSaver.h"

Renamer::Renamer(FileList &rows, TagSaver &saver, FileMoveService &mover, ReportService &reports)
    : rows_(rows), saver_(saver), mover_(mover), reports_(reports)
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
    saver_.save(rows);
    return moveFiles(format, rows);
}

QList<FileMove> Renamer::renameUnchanged(const QString &format, const QList<int> &rows)
{
    return acceptsFormat(format) ? moveFiles(format, rows) : QList<FileMove>{};
}

bool Renamer::acceptsFormat(const QString &format)
{
    if (!rows_.isEmpty() && MakeRenameName(format, 1).isEmpty()) {
        reportRefusedFormat(reports_);
        return false;
    }
    return true;
}

QList<FileMove> Renamer::moveFiles(const QString &format, const QList<int> &rows)
{
    QList<FileMove> moves;
    for (int i : rows) {
        const QString newName = MakeRenameName(format, i);
        const QString folder = rows_.cell(i, livFileNamewithPath);
        const QString oldName = rows_.fileName(i);
        if (isNameWithinFolder(newName) && mover_.moveFile(folder + oldName, folder + newName)) {
            rows_.setCell(i, livFilename, newName);
            moves << FileMove{.serial = rows_.info(i).serial, .folder = folder, .oldName = oldName, .newName = newName};
        } else {
            reportRenameFailure(reports_, oldName, newName);
        }
    }
    return moves;
}
