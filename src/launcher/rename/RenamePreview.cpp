#include "launcher/rename/RenamePreview.h"

#include "files/NativePath.h"
#include "launcher/list/FileList.h"
#include "launcher/rename/Renamer.h"
#include "launcher/report/FileReports.h"
#include "services/RenamePreviewService.h"

#include <QStringList>

namespace {

// What the dialog says of one file: whether R moves it, and why not or
// what its new name lacks.
RenamePreviewService::Line previewLine(const PlannedName &name, const FileList &rows)
{
    RenamePreviewService::Line line{
        .oldName = shownPath(name.oldName), .newName = shownPath(name.newName), .renamed = true, .note = {}};
    QStringList notes;
    if (name.newName == name.oldName) {
        line.renamed = false;
        notes << QStringLiteral("今の名前と同じため変更しません");
    } else if (name.why.problem == FileProblem::UnusableName) {
        line.renamed = false;
        notes << QStringLiteral("新しい名前がフォルダーの外を指すか、「.」で始まるか、長すぎるため変更しません");
    } else if (name.takenBy != 0) {
        line.renamed = false;
        notes << QStringLiteral("上の「%1」が先にこの名前になるため変更しません").arg(shownPath(rows.fileName(name.takenBy)));
    } else if (!name.why.ok()) {
        line.renamed = false;
        notes << refusalReason(FileCommand::Rename, name.why) + QStringLiteral("変更しません");
    }
    if (name.noTrack)
        notes << QStringLiteral("トラック番号がないため「00」が入ります");
    line.note = notes.join(u'、');
    return line;
}

}  // namespace

RenamePreview::RenamePreview(const FileList &rows, Renamer &renamer, RenamePreviewService &dialog,
                             const QString &caption)
    : rows_(rows), renamer_(renamer), dialog_(dialog), caption_(caption)
{
}

bool RenamePreview::confirm(const QString &format, const QList<int> &rows)
{
    if (!renamer_.acceptsFormat(format) || rows.isEmpty())
        return false;
    QList<RenamePreviewService::Line> lines;
    for (const PlannedName &name : renamer_.preview(format, rows))
        lines << previewLine(name, rows_);
    return dialog_.confirmRenames(caption_ + QStringLiteral(" [ファイル名の変更を確認]"), lines);
}
