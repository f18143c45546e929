#include "launcher/report/FileReports.h"

#include "files/NativePath.h"
#include "launcher/text/RenameFormat.h"
#include "services/ReportService.h"

#include <QtGlobal>

namespace {

bool isMove(FileCommand command)
{
    return command == FileCommand::Rename || command == FileCommand::MoveBack || command == FileCommand::MoveAgain;
}

// How to go on with a file that was changed since it was loaded: the row
// holds what the file held then.
const QString kChangedAdvice = QStringLiteral("一覧から削除してから読み込み直してください。");

}  // namespace

QString refusalReason(FileCommand command, const FileResult &why)
{
    switch (why.problem) {
    case FileProblem::None:
        break;
    case FileProblem::Changed:
        if (command == FileCommand::MoveBack)
            return QStringLiteral("名前を変えた後に別のファイルに置き換えられたか変更されたため");
        if (command == FileCommand::MoveAgain)
            return QStringLiteral("元の名前に戻した後に別のファイルに置き換えられたか変更されたため");
        return QStringLiteral("読み込んだ後に変更されたため");
    case FileProblem::NotRegularFile:
        if (command == FileCommand::KeepFormat || command == FileCommand::KeepTimes)
            return QStringLiteral("通常のファイルではない（シンボリックリンク、FIFO、フォルダーなど）ため");
        return QStringLiteral("通常のファイルではなくなったため");
    case FileProblem::Missing:
        return QStringLiteral("見つからないため");
    case FileProblem::NotMp3:
        return QStringLiteral("MP3ファイルではないため");
    case FileProblem::NoPermission:
        if (isMove(command))
            return QStringLiteral("フォルダーへの書き込みが許可されていないため");
        return QStringLiteral("書き込みが許可されていないため");
    case FileProblem::DiskFull:
        return QStringLiteral("ディスクの空きが足りないため");
    case FileProblem::NameTaken:
        if (command == FileCommand::MoveBack)
            return QStringLiteral("元の名前が今は別のファイルの名前になっているため");
        if (command == FileCommand::MoveAgain)
            return QStringLiteral("新しい名前が今は別のファイルの名前になっているため");
        return QStringLiteral("新しい名前のファイルがすでにあるため");
    case FileProblem::TagUnreadable:
        return QStringLiteral("ID3v2タグを読めないため");
    case FileProblem::TagCutShort:
        return QStringLiteral("ID3v2タグの途中から先を読めないため");
    case FileProblem::FrameNotCarried:
        return QStringLiteral("ID3v2.2タグにv2.3へ移せないフレームがあるため");
    case FileProblem::HardLinks:
        return QStringLiteral("ハードリンクで別の名前もあるため");
    case FileProblem::FolderNotWritable:
        return QStringLiteral("フォルダーへの書き込みが許可されていないため");
    case FileProblem::OwnerNotKept:
        return QStringLiteral("所有者・グループ・許可を保てないため");
    case FileProblem::FolderNotSynced:
        return QStringLiteral("書き込んだがフォルダーをディスクに書き込みきれなかったため");
    case FileProblem::ReadOnly:
        return QStringLiteral("読み取り専用のファイルシステムにあるため");
    case FileProblem::InUse:
        return QStringLiteral("他のプログラムが書き込み中のため");
    case FileProblem::Interrupted:
        return QStringLiteral("中断したため");
    case FileProblem::AclNotKept:
        return QStringLiteral("アクセス制御リスト（ACL）を新しいファイルに移せないため");
    case FileProblem::AttributesNotKept:
        return QStringLiteral("拡張属性を新しいファイルに移せないため");
    case FileProblem::TimesNotKept:
        return QStringLiteral("更新日時を元に戻せないため");
    case FileProblem::UnusableName:
    case FileProblem::System:
        break;
    }
    // The system's own words, in the user's language where the C library
    // has them.
    return QStringLiteral("エラー（%1）のため").arg(qt_error_string(why.systemError));
}

namespace {

// What was not done: on purpose (refused) or for lack of a way (failed).
QString outcome(FileCommand command, bool refused)
{
    switch (command) {
    case FileCommand::Save:
        return refused ? QStringLiteral("保存しませんでした。") : QStringLiteral("保存できませんでした。");
    case FileCommand::SaveBeforeRename:
        return refused ? QStringLiteral("保存も名前の変更もしませんでした。")
                       : QStringLiteral("保存も名前の変更もできませんでした。");
    case FileCommand::Rename:
        return refused ? QStringLiteral("名前を変えませんでした。") : QStringLiteral("名前を変えられませんでした。");
    case FileCommand::MoveBack:
        return refused ? QStringLiteral("元の名前に戻しませんでした。") : QStringLiteral("元の名前に戻せませんでした。");
    case FileCommand::MoveAgain:
        return refused ? QStringLiteral("新しい名前にしませんでした。") : QStringLiteral("新しい名前にできませんでした。");
    case FileCommand::Number:
        return refused ? QStringLiteral("トラック番号を書き込みませんでした。")
                       : QStringLiteral("トラック番号を書き込めませんでした。");
    case FileCommand::KeepFormat:
        return refused ? QStringLiteral("リネームフォーマットを保存しませんでした。")
                       : QStringLiteral("リネームフォーマットを保存できませんでした。");
    case FileCommand::Recover:
        return refused ? QStringLiteral("前回中断された書き込みを元に戻しませんでした。")
                       : QStringLiteral("前回中断された書き込みを元に戻せませんでした。");
    case FileCommand::KeepTimes:
        return refused ? QStringLiteral("「更新日時を保つ」の設定を保存しませんでした。")
                       : QStringLiteral("「更新日時を保つ」の設定を保存できませんでした。");
    }
    return QString();
}

void reportRefusals(ReportService &reports, ReportService::Kind kind, const QList<FileRefusal> &refusals,
                    const QString &subject)
{
    if (!refusals.isEmpty())
        reports.report(kind, refusalText(refusals), subject);
}

}  // namespace

QString refusalSentence(FileCommand command, const FileResult &why)
{
    if (why.problem == FileProblem::UnusableName)
        return unusableNameSentence();
    // Left alone on purpose: another file, or a tag Kalvo will not carry
    // into a new file; the rest could not be done.
    const bool refused = why.problem == FileProblem::Changed || why.problem == FileProblem::NotRegularFile
                         || why.problem == FileProblem::HardLinks || why.problem == FileProblem::TagUnreadable
                         || why.problem == FileProblem::TagCutShort || why.problem == FileProblem::FrameNotCarried
                         || why.problem == FileProblem::Interrupted;
    // A save before a rename leaves the rename out only for a file that is
    // not the one read: the rename would move another file.
    if (command == FileCommand::SaveBeforeRename && !isNotTheFileRead(why))
        command = FileCommand::Save;
    const QString subject = command == FileCommand::KeepFormat || command == FileCommand::KeepTimes
                                ? QStringLiteral("次の設定ファイルは")
                                : QStringLiteral("次のファイルは");
    const bool loadedChanged = why.problem == FileProblem::Changed
                               && (command == FileCommand::Save || command == FileCommand::SaveBeforeRename
                                   || command == FileCommand::Rename);
    return subject + refusalReason(command, why) + outcome(command, refused) + (loadedChanged ? kChangedAdvice : QString());
}

QString unusableNameSentence()
{
    return QStringLiteral(
        "次のファイルは新しい名前がフォルダーの外を指すか、「.」で始まるか、長すぎるため名前を変えませんでした。");
}

QString fileLine(const QString &name)
{
    return shownPath(name);
}

QString moveLine(const QString &from, const QString &to)
{
    return shownPath(from) + QStringLiteral(" → ") + shownPath(to);
}

QString refusalText(const QList<FileRefusal> &refusals)
{
    QStringList sentences;
    for (const FileRefusal &refusal : refusals) {
        if (!sentences.contains(refusal.sentence))
            sentences << refusal.sentence;
    }
    QStringList lines;
    for (const QString &sentence : std::as_const(sentences)) {
        lines << sentence;
        for (const FileRefusal &refusal : refusals) {
            if (refusal.sentence == sentence)
                lines << refusal.line;
        }
    }
    return lines.join(u'\r');
}

void reportSaveRefusals(ReportService &reports, const QList<FileRefusal> &refusals)
{
    reportRefusals(reports, ReportService::Kind::SaveFailure, refusals, QStringLiteral(" [保存エラー]"));
}

void reportMoveRefusals(ReportService &reports, const QList<FileRefusal> &refusals)
{
    reportRefusals(reports, ReportService::Kind::Problem, refusals, QStringLiteral(" [変更時エラー]"));
}

void reportWriteRefusals(ReportService &reports, const QList<FileRefusal> &refusals)
{
    reportRefusals(reports, ReportService::Kind::Problem, refusals, QStringLiteral(" [書込みエラー]"));
}

void reportRefusedFormat(ReportService &reports, const QString &format)
{
    // An empty format gives a name only of the extension, or none.
    QString text = QStringLiteral("ファイルフォーマットに使用できない文字が含まれています");
    const QString refused = refusedRenameCharacters(format);
    if (!refused.isEmpty())
        text += u'：';
    for (const QChar character : refused)
        text += u'「' + QString(character) + u'」';
    reports.report(ReportService::Kind::Problem, text, QStringLiteral(" [フォーマットーエラー]"));
}
