// Renaming the files of the selected rows by the format box, on real files in
// a temporary folder moved by the real mover: what is saved and moved first,
// which rows are reported, and that no file leaves its folder or replaces
// another.

#include "common/Fakes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/rename/Renamer.h"
#include "launcher/report/MessageBoxReports.h"
#include "launcher/save/TagSaver.h"
#include "system/PosixFileMover.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using RowSelection = QList<int>;

namespace {

const QString kFormatMessage = QStringLiteral("ファイルフォーマットに使用できない文字が含まれています");
const QString kFormatTitle = QStringLiteral("Kalvo [フォーマットーエラー]");
const QString kMoveTitle = QStringLiteral("Kalvo [変更時エラー]");

// A rename's report: a reason's sentence by its key, any other line as it is.
QString renameReport(const QStringList &lines)
{
    const QMap<QString, QString> sentences{
        {"taken", "次のファイルは新しい名前のファイルがすでにあるため名前を変えられませんでした。"},
        {"unusable", "次のファイルは新しい名前がフォルダーの外を指すか、「.」で始まるか、長すぎるため名前を変えませんでした。"},
        {"changed", "次のファイルは読み込んだ後に変更されたため名前を変えませんでした。一覧から削除してから読み込み直してください。"}};
    QStringList text;
    for (const QString &line : lines)
        text << sentences.value(line, line);
    return text.join(u'\r');
}

}  // namespace

class TestRename : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_;  // where the files live, two levels below the temporary folder
    PosixFileMover mover_;
    std::unique_ptr<FakeWindowServices> fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return folder_ + name; }

    // Creates the file with the title and track number and adds its row.
    void addFile(const QString &name, const QString &title, quint8 track = 1)
    {
        QVERIFY(writeTaggedMp3(path(name), {.Title = title, .Artist = "Band", .TrackNumber = track}));
        const int before = fakes_->list.count();
        launcher_->AddMp3File(path(name));
        QCOMPARE(fakes_->list.count(), before + 1);
    }

    // Every file and folder below the temporary folder, relative to it.
    QStringList tree() const
    {
        QStringList entries;
        QDirIterator it(dir_->path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << QDir(dir_->path()).relativeFilePath(it.next());
        entries.sort();
        return entries;
    }
    QStringList treeWith(const QStringList &files) const
    {
        QStringList entries = {"one", "one/two"};
        for (const QString &file : files)
            entries << "one/two/" + file;
        entries.sort();
        return entries;
    }

    void verifyMessages(const QStringList &texts, const QString &title)
    {
        QStringList shown;
        for (const ShownMessage &message : std::as_const(fakes_->messages.shown)) {
            shown << message.text;
            QCOMPARE(message.title, title);
            QCOMPARE(message.buttons, MessageBoxService::Buttons::Ok);
            QCOMPARE(message.icon, MessageBoxService::Icon::Exclamation);
        }
        QCOMPARE(shown, texts);
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkpath("one/two"));
        folder_ = dir_->filePath("one/two") + u'/';
        fakes_ = std::make_unique<FakeWindowServices>();
        fakes_->mover.realMover = &mover_;
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services());
    }
    void cleanup()
    {
        launcher_.reset();
        fakes_.reset();
        dir_.reset();
    }

    void renamedRowChangesOnlyItsFileName()
    {
        addFile("a.mp3", "Intro", 7);
        addFile("b.mp3", "Middle", 8);
        addFile("c.MP3", "Outro", 12);
        FakeListView &list = fakes_->list;
        for (int row = 1; row <= 3; ++row)
            list.setCell(row, livChanged, QStringLiteral("*"));
        list.setCell(3, livTitle, QStringLiteral("Finale"));
        list.select({1, 3});
        const QList<FakeRow> before = list.rows;
        fakes_->window.format = QStringLiteral("(%K)%T_%D");

        launcher_->Rename();

        QCOMPARE(fakes_->messages.shown.size(), 0);
        QCOMPARE(tree(), treeWith({"(Band)07_Intro.mp3", "(Band)12_Finale.MP3", "b.mp3"}));
        QCOMPARE(list.column(livFilename), QStringList({"(Band)07_Intro.mp3", "b.mp3", "(Band)12_Finale.MP3"}));
        // The selected rows were saved first, under their old names.
        QCOMPARE(list.column(livChanged), QStringList({"", "*", ""}));
        QCOMPARE(readMp3Tag(path("(Band)12_Finale.MP3")).Title, QStringLiteral("Finale"));
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(list.isSelected(row), before.at(row - 1).selected);
            for (int column = livTitle; column < kFileRowColumnCount; ++column)
                QCOMPARE(list.cell(row, column), before.at(row - 1).cells.at(static_cast<std::size_t>(column)));
        }
        QCOMPARE(list.cell(1, livFileNamewithPath), folder_);
    }

    // %N is the row's position among all rows, not among the selected ones;
    // positions outside the list give no name.
    void positionCountsEveryRow()
    {
        for (int i = 1; i <= 11; ++i)
            addFile(QStringLiteral("f%1.mp3").arg(i), QStringLiteral("t%1").arg(i));
        fakes_->list.select({3, 11});
        fakes_->window.format = QStringLiteral("%N");
        FileList rows(fakes_->list);
        KnownFiles known;
        MessageBoxReports reports(fakes_->messages, "Kalvo");
        TagSaver saver(rows, known, reports, syncData);
        const Renamer renamer(rows, known, saver, mover_, reports);
        QCOMPARE(renamer.MakeRenameName("%N", 0), QString());
        QCOMPARE(renamer.MakeRenameName("%N", 12), QString());

        launcher_->Rename();

        QCOMPARE(fakes_->messages.shown.size(), 0);
        QCOMPARE(tree(), treeWith({"f1.mp3", "f2.mp3", "03.mp3", "f4.mp3", "f5.mp3", "f6.mp3", "f7.mp3", "f8.mp3",
                                   "f9.mp3", "f10.mp3", "11.mp3"}));
    }

    void rowsThatCannotMoveAreReported_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("twice");
        QTest::addColumn<QStringList>("names");     // file names in the list afterwards
        QTest::addColumn<QStringList>("messages");
        // Rows 1 and 2 are titled Same, row 3 Other; all are selected.
        QTest::newRow("same name: upper row wins")
            << "%D" << false << QStringList{"Same.mp3", "b.mp3", "Other.mp3"}
            << QStringList{renameReport({"taken", "b.mp3 → Same.mp3"})};
        QTest::newRow("renamed twice: every row reported")
            << "%N_%D" << true << QStringList{"01_Same.mp3", "02_Same.mp3", "03_Other.mp3"}
            << QStringList{renameReport({"taken", "01_Same.mp3 → 01_Same.mp3", "02_Same.mp3 → 02_Same.mp3",
                                         "03_Other.mp3 → 03_Other.mp3"})};
    }
    void rowsThatCannotMoveAreReported()
    {
        QFETCH(QString, format);
        QFETCH(bool, twice);
        QFETCH(QStringList, names);
        QFETCH(QStringList, messages);
        addFile("a.mp3", "Same");
        addFile("b.mp3", "Same");
        addFile("c.mp3", "Other");
        fakes_->list.select({1, 2, 3});
        fakes_->window.format = format;

        launcher_->Rename();
        if (twice) {
            QCOMPARE(fakes_->messages.shown.size(), 0);
            launcher_->Rename();
        }

        verifyMessages(messages, kMoveTitle);
        QCOMPARE(fakes_->list.column(livFilename), names);
        QCOMPARE(tree(), treeWith(names));
    }

    void refusedFormatStopsBeforeSaving_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("topFile");
        QTest::addColumn<RowSelection>("selected");
        QTest::addColumn<QString>("refused");  // as the message names them
        QTest::newRow("colon") << "%T:%D" << "a.mp3" << RowSelection{1, 2} << "：「:」";
        QTest::newRow("asterisk, top row not selected") << "*%D" << "a.mp3" << RowSelection{2} << "：「*」";
        QTest::newRow("colon, nothing selected") << ":" << "a.mp3" << RowSelection{} << "：「:」";
        QTest::newRow("each once, in order") << "%D?:%T?" << "a.mp3" << RowSelection{1} << "：「?」「:」";
        QTest::newRow("empty format, top file without extension") << "" << "a" << RowSelection{1, 2} << "";
    }
    void refusedFormatStopsBeforeSaving()
    {
        QFETCH(QString, format);
        QFETCH(QString, topFile);
        QFETCH(RowSelection, selected);
        addFile(topFile, "Intro");
        addFile("b.mp3", "Outro");
        for (int row = 1; row <= 2; ++row) {
            fakes_->list.setCell(row, livTitle, QStringLiteral("edited"));
            fakes_->list.setCell(row, livChanged, QStringLiteral("*"));
        }
        for (int row : selected)
            fakes_->list.select({row});
        const QByteArray topBytes = readFile(path(topFile));
        const QByteArray secondBytes = readFile(path("b.mp3"));
        fakes_->window.format = format;

        launcher_->Rename();

        QFETCH(QString, refused);
        verifyMessages({kFormatMessage + refused}, kFormatTitle);
        QCOMPARE(fakes_->mover.moves, QStringList());
        QCOMPARE(readFile(path(topFile)), topBytes);
        QCOMPARE(readFile(path("b.mp3")), secondBytes);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"*", "*"}));
        QCOMPARE(fakes_->list.column(livFilename), QStringList({topFile, "b.mp3"}));
    }

    void nothingSelectedRenamesAndSavesNothing()
    {
        fakes_->window.format = QStringLiteral(":");
        launcher_->Rename();  // on an empty list not even the format is checked
        QCOMPARE(fakes_->messages.shown.size(), 0);
        addFile("f1.mp3", "Intro");
        fakes_->list.setCell(1, livTitle, QStringLiteral("edited"));
        fakes_->list.setCell(1, livChanged, QStringLiteral("*"));
        const QByteArray bytes = readFile(path("f1.mp3"));
        fakes_->window.format = QStringLiteral("%D");

        launcher_->Rename();

        QCOMPARE(fakes_->messages.shown.size(), 0);
        QCOMPARE(tree(), treeWith({"f1.mp3"}));
        QCOMPARE(readFile(path("f1.mp3")), bytes);
        QCOMPARE(fakes_->list.cell(1, livChanged), QStringLiteral("*"));
    }

    void namesLeavingTheFolderAreRefused_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("newName");
        QTest::newRow("into a subfolder") << "a/b" << "x.mp3" << "a/b.mp3";
        QTest::newRow("up two folders") << "../../x" << "x.mp3" << "../../x.mp3";
        QTest::newRow("parent folder") << ".." << "x" << "..";
        QTest::newRow("this folder") << "." << "x" << ".";
    }
    void namesLeavingTheFolderAreRefused()
    {
        QFETCH(QString, title);
        QFETCH(QString, file);
        QFETCH(QString, newName);
        addFile("top.mp3", "Top");
        addFile(file, "Old");
        addFile("z.mp3", "Last");
        QVERIFY(QDir(folder_).mkdir("a"));
        fakes_->list.setCell(2, livTitle, title);
        fakes_->list.select({2, 3});
        fakes_->window.format = QStringLiteral("%D");
        const QStringList before = tree();

        launcher_->Rename();

        verifyMessages({renameReport({"unusable", file + " → " + newName})}, kMoveTitle);
        QCOMPARE(fakes_->list.cell(2, livFilename), file);
        // The row's file stays where it was; the next row is still renamed.
        QStringList after = before;
        after.replaceInStrings("one/two/z.mp3", "one/two/Last.mp3");
        after.sort();
        QCOMPARE(tree(), after);
    }

    // A file another program created after the list was loaded stays as it is.
    void neverReplacesAnotherFile()
    {
        addFile("a.mp3", "Intro");
        addFile("b.mp3", "Outro");
        fakes_->list.select({1, 2});
        fakes_->window.format = QStringLiteral("%D");
        QVERIFY(writeFile(path("Intro.mp3"), "someone else's file"));

        launcher_->Rename();

        verifyMessages({renameReport({"taken", "a.mp3 → Intro.mp3"})}, kMoveTitle);
        QCOMPARE(fakes_->list.column(livFilename), QStringList({"a.mp3", "Outro.mp3"}));
        QCOMPARE(readMp3Tag(path("a.mp3")).Title, QStringLiteral("Intro"));
        QCOMPARE(readFile(path("Intro.mp3")), QByteArray("someone else's file"));
    }

    // Shift+R on a.mp3 (track 1) and b.mp3 (no track), both selected: what
    // the preview shows, then with OK what R does, as one step.
    void previewShowsWhatRenameDoes_data()
    {
        QTest::addColumn<QStringList>("titles");  // of a.mp3 and b.mp3
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("meanwhile");   // "other": Intro.mp3 made; "changed": a.mp3 rewritten
        QTest::addColumn<QStringList>("lines");   // "old → new (note)", "×" for a file that keeps its name
        QTest::addColumn<QStringList>("names");   // after OK
        const QStringList ab{"a.mp3", "b.mp3"}, introOutro{"Intro", "Outro"};
        const QString keeps = QStringLiteral("変更しません");
        QTest::newRow("renamed") << introOutro << "%D" << "" << QStringList{"a.mp3 → Intro.mp3", "b.mp3 → Outro.mp3"}
                                 << QStringList{"Intro.mp3", "Outro.mp3"};
        QTest::newRow("no track") << introOutro << "%T_%D" << ""
                                  << QStringList{"a.mp3 → 01_Intro.mp3", "b.mp3 → 00_Outro.mp3 (トラック番号がないため「00」が入ります)"}
                                  << QStringList{"01_Intro.mp3", "00_Outro.mp3"};
        QTest::newRow("taken by another file")
            << introOutro << "%D" << "other"
            << QStringList{"×a.mp3 → Intro.mp3 (新しい名前のファイルがすでにあるため" + keeps + ")", "b.mp3 → Outro.mp3"}
            << QStringList{"a.mp3", "Outro.mp3"};
        QTest::newRow("taken by an earlier row")
            << QStringList{"Same", "Same"} << "%D" << ""
            << QStringList{"a.mp3 → Same.mp3", "×b.mp3 → Same.mp3 (上の「a.mp3」が先にこの名前になるため" + keeps + ")"}
            << QStringList{"Same.mp3", "b.mp3"};
        QTest::newRow("freed by an earlier row") << QStringList{"c", "a"} << "%D" << ""
                                                 << QStringList{"a.mp3 → c.mp3", "b.mp3 → a.mp3"}
                                                 << QStringList{"c.mp3", "a.mp3"};
        QTest::newRow("a later row's file") << QStringList{"b", "x"} << "%D" << ""
                                            << QStringList{"×a.mp3 → b.mp3 (新しい名前のファイルがすでにあるため" + keeps + ")",
                                                           "b.mp3 → x.mp3"}
                                            << QStringList{"a.mp3", "x.mp3"};
        QTest::newRow("its name already") << QStringList{"a", "Outro"} << "%D" << ""
                                          << QStringList{"×a.mp3 → a.mp3 (今の名前と同じため" + keeps + ")", "b.mp3 → Outro.mp3"}
                                          << QStringList{"a.mp3", "Outro.mp3"};
        QTest::newRow("changed since loaded")
            << introOutro << "%D" << "changed"
            << QStringList{"×a.mp3 → Intro.mp3 (読み込んだ後に変更されたため" + keeps + ")", "b.mp3 → Outro.mp3"}
            << QStringList{"a.mp3", "Outro.mp3"};
        QTest::newRow("unusable") << QStringList{"x/y", "Outro"} << "%D" << ""
                                  << QStringList{"×a.mp3 → x/y.mp3 (新しい名前がフォルダーの外を指すか、「.」で始まるか、長すぎるため" + keeps + ")",
                                                 "b.mp3 → Outro.mp3"}
                                  << QStringList{"a.mp3", "Outro.mp3"};
        QTest::newRow("refused format") << introOutro << "%D?" << "" << QStringList{} << ab;
    }
    void previewShowsWhatRenameDoes()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, format);
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, names);
        addFile("a.mp3", titles[0], 1);
        addFile("b.mp3", titles[1], 0);
        fakes_->list.select({1, 2});
        fakes_->window.format = format;
        if (meanwhile == "other")
            QVERIFY(writeFile(path("Intro.mp3"), "someone else's file"));
        if (meanwhile == "changed")
            QVERIFY(writeTaggedMp3(path("a.mp3"), {.Title = "Intro", .Artist = "Other"}));
        const QStringList before = tree();
        FakeRenamePreview &dialog = fakes_->renamePreview;
        dialog.answer = false;

        launcher_->PreviewRename();

        QStringList shown;
        for (const RenamePreviewService::Line &line : std::as_const(dialog.lines)) {
            shown << (line.renamed ? "" : "×") + line.oldName + " → " + line.newName
                         + (line.note.isEmpty() ? QString() : " (" + line.note + ")");
        }
        QCOMPARE(shown, lines);
        QCOMPARE(tree(), before);
        if (lines.isEmpty()) {
            QCOMPARE(dialog.calls, 0);
            verifyMessages({kFormatMessage + "：「?」"}, kFormatTitle);
            return;
        }
        QCOMPARE(dialog.title, QStringLiteral("Kalvo [ファイル名の変更を確認]"));

        dialog.answer = true;
        launcher_->PreviewRename();

        QCOMPARE(fakes_->list.column(livFilename), names);
        launcher_->Menu_LV_RightMenu_Undo_Click();
        QCOMPARE(fakes_->list.column(livFilename), QStringList({"a.mp3", "b.mp3"}));
    }

    // A file whose save failed is still renamed; one the save found changed
    // since it was loaded is neither saved nor renamed, and is named once.
    void aFailedSaveStopsTheRenameOnlyOfAChangedFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("report");
        QTest::newRow("sync fails") << "sync" << QStringList{"edited.mp3", "Outro.mp3"}
                                    << "次のファイルはエラー（" + qt_error_string(EIO)
                                           + "）のため保存できませんでした。\ra.mp3";
        QTest::newRow("no longer an MP3 file")
            << "changed" << QStringList{"a.mp3", "Outro.mp3"}
            << "次のファイルは読み込んだ後に変更されたため保存も名前の変更もしませんでした。"
               "一覧から削除してから読み込み直してください。\ra.mp3";
        QTest::newRow("gone") << "gone" << QStringList{"a.mp3", "Outro.mp3"}
                              << "次のファイルは見つからないため保存も名前の変更もできませんでした。\ra.mp3";
    }
    void aFailedSaveStopsTheRenameOnlyOfAChangedFile()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, names);
        QFETCH(QString, report);
        FakeSync sync;
        sync.error = EIO;
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services(), sync.function());
        addFile("a.mp3", "Intro");
        addFile("b.mp3", "Outro");
        fakes_->list.setCell(1, livTitle, QStringLiteral("edited"));
        fakes_->list.setCell(1, livChanged, QStringLiteral("*"));
        const QByteArray text("not audio any more\n");
        if (fault == "sync")
            sync.failing << "a.mp3";
        else if (fault == "changed")
            QVERIFY(writeFile(path("a.mp3"), text));
        else
            QVERIFY(QFile::remove(path("a.mp3")));
        const QByteArray before = readFile(path("a.mp3"));
        fakes_->list.select({1, 2});
        fakes_->window.format = QStringLiteral("%D");

        launcher_->Rename();

        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown.at(0).text, report);
        QCOMPARE(fakes_->messages.shown.at(0).title, QStringLiteral("Kalvo [保存エラー]"));
        QCOMPARE(fakes_->list.column(livFilename), names);
        QCOMPARE(readFile(path(names.at(0))), before);
        QCOMPARE(fakes_->list.cell(1, livChanged), QStringLiteral("*"));
        QStringList files = names;
        if (fault == "gone")
            files.removeFirst();
        QCOMPARE(tree(), treeWith(files));
    }
};

QTEST_GUILESS_MAIN(TestRename)
#include "tst_Rename.moc"
