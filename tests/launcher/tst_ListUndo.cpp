// Undo and redo of every kind of step, on real files in a temporary folder:
// the rows come back whole, the change mark follows the files, and renamed
// files move back and again without replacing anything.

#include "common/Fakes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "services/ListInputCodes.h"
#include "system/PosixFileMover.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Cells = QList<FileRowCells>;

class TestListUndo : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    PosixFileMover mover_;
    std::unique_ptr<FakeWindowServices> fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return dir_->filePath(name); }
    Cells cells() const
    {
        Cells all;
        for (const FakeRow &row : std::as_const(fakes_->list.rows))
            all << row.cells;
        return all;
    }
    QStringList files() const { return QDir(dir_->path()).entryList(QDir::Files, QDir::Name); }
    void key(int code, int shift) { launcher_->lvMP3List_KeyDown(code, shift); }
    void undo() { key(ListInput::KeyZ, ListInput::CtrlDown); }
    void redo() { key(ListInput::KeyY, ListInput::CtrlDown); }

private slots:
    // Rows 1.mp3 to 3.mp3 titled 曲1 to 曲3, row 2 selected and current; the
    // rename format is "%D".
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        fakes_ = std::make_unique<FakeWindowServices>();
        fakes_->mover.realMover = &mover_;
        fakes_->window.format = QStringLiteral("%D");
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services());
        fakes_->editor.logic = launcher_.get();
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(writeTaggedMp3(path(QStringLiteral("%1.mp3").arg(i)), {.Title = QStringLiteral("曲%1").arg(i)}));
            launcher_->AddMp3File(path(QStringLiteral("%1.mp3").arg(i)));
        }
        fakes_->list.select({2});
        fakes_->list.current = 2;
    }

    void eachStepUndoneAndRedone_data()
    {
        QTest::addColumn<QString>("step");
        for (const char *step :
             {"editor session", "numbering", "unifying", "delete", "drop", "command line", "paste", "rename"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }
    void eachStepUndoneAndRedone()
    {
        QFETCH(QString, step);
        QVERIFY(writeTaggedMp3(path("4.mp3"), {.Title = "曲4"}));
        const Cells before = cells();
        const QStringList filesBefore = files();
        if (step == "editor session") {
            launcher_->OpenTagEditor();
            fakes_->editor.values.Title = QStringLiteral("新2");
            fakes_->editor.move(1);
            fakes_->editor.values.Year = QStringLiteral("2001");
            fakes_->editor.unload();
        } else if (step == "numbering") {
            launcher_->lvMP3List_ColumnClick(livTrackNo);
        } else if (step == "unifying") {
            launcher_->lvMP3List_ColumnClick(livTitle);
        } else if (step == "delete") {
            launcher_->Menu_LV_RightMenu_DELETE_Click();
        } else if (step == "drop") {
            launcher_->lvMP3List_OLEDragDrop({path("4.mp3")});
        } else if (step == "command line") {
            launcher_->AddCommandLineFiles({"4.mp3"}, dir_->path());
        } else if (step == "paste") {
            fakes_->clipboard.contents = QStringLiteral("貼1\n貼2");
            launcher_->PasteTitles();
        } else if (step == "rename") {
            launcher_->Rename();
        }
        const Cells after = cells();
        const QStringList filesAfter = files();
        QVERIFY(after != before);

        undo();
        QCOMPARE(cells(), before);
        QCOMPARE(files(), filesBefore);
        redo();
        QCOMPARE(cells(), after);
        QCOMPARE(files(), filesAfter);
        for (const ShownMessage &message : std::as_const(fakes_->messages.shown))
            QCOMPARE(message.buttons, MessageBoxService::Buttons::YesNo);  // the header click's question
    }

    // A row gets the mark when its values differ from what its file holds.
    void theMarkFollowsTheFileAfterASave()
    {
        launcher_->lvMP3List_ColumnClick(livTitle);
        launcher_->Save(SaveAll);
        undo();
        QCOMPARE(fakes_->list.column(livTitle), (QStringList{"曲1", "曲2", "曲3"}));
        QCOMPARE(fakes_->list.column(livChanged), (QStringList{"", "*", "*"}));
        redo();
        QCOMPARE(fakes_->list.column(livChanged), (QStringList{"", "", ""}));
    }

    // A file whose name is taken meanwhile, or which is gone, stays, and is
    // reported; the others move, and each row's name follows its file. The
    // step is not undone (or redone) until every file has moved: the same
    // key moves the rest once things are put right, and then the step counts
    // as undone.
    void aRefusedStepStaysUntilItsFilesCanMove_data()
    {
        QTest::addColumn<bool>("redo");  // in the way of the redo, not the undo
        QTest::addColumn<bool>("gone");  // the file is moved away, else its name is taken
        QTest::addColumn<QString>("message");
        QTest::newRow("undo, old name taken")
            << false << false
            << "次のファイルは元の名前が今は別のファイルの名前になっているため元の名前に戻せませんでした。\r曲2.mp3 → 2.mp3";
        QTest::newRow("undo, file gone")
            << false << true << "次のファイルは見つからないため元の名前に戻せませんでした。\r曲2.mp3 → 2.mp3";
        QTest::newRow("redo, new name taken")
            << true << false
            << "次のファイルは新しい名前が今は別のファイルの名前になっているため新しい名前にできませんでした。\r2.mp3 → 曲2.mp3";
        QTest::newRow("redo, file gone")
            << true << true << "次のファイルは見つからないため新しい名前にできませんでした。\r2.mp3 → 曲2.mp3";
    }
    void aRefusedStepStaysUntilItsFilesCanMove()
    {
        QFETCH(bool, redo);
        QFETCH(bool, gone);
        QFETCH(QString, message);
        fakes_->list.select({1});
        launcher_->Rename();
        const QStringList renamed{"曲1.mp3", "曲2.mp3", "3.mp3"};
        const QStringList loaded{"1.mp3", "2.mp3", "3.mp3"};
        if (redo)
            undo();
        const QString from = redo ? QStringLiteral("2.mp3") : QStringLiteral("曲2.mp3");
        const QString to = redo ? QStringLiteral("曲2.mp3") : QStringLiteral("2.mp3");
        if (gone)
            QVERIFY(QFile::rename(path(from), path("elsewhere.mp3")));
        else
            QVERIFY(writeFile(path(to), "someone else's"));
        const QStringList filesBefore = files();

        redo ? this->redo() : undo();

        QCOMPARE(fakes_->list.column(livFilename), (QStringList{redo ? "曲1.mp3" : "1.mp3", from, "3.mp3"}));
        QCOMPARE(files().size(), filesBefore.size());
        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown[0].text, message);
        QCOMPARE(fakes_->messages.shown[0].title, QStringLiteral("Kalvo [変更時エラー]"));
        launcher_->lvMP3List_MouseDown(ListInput::LeftButton, 0, 0, 0);
        QCOMPARE(fakes_->menu.enabled.value(ListMenuService::Item::Undo), !redo);
        QCOMPARE(fakes_->menu.enabled.value(ListMenuService::Item::Redo), redo);

        QVERIFY(gone ? QFile::rename(path("elsewhere.mp3"), path(from)) : QFile::remove(path(to)));
        redo ? this->redo() : undo();

        QCOMPARE(fakes_->list.column(livFilename), redo ? renamed : loaded);
        QCOMPARE(files(), redo ? (QStringList{"3.mp3", "曲1.mp3", "曲2.mp3"}) : loaded);
        QCOMPARE(fakes_->messages.shown.size(), 1);
        launcher_->lvMP3List_MouseDown(ListInput::LeftButton, 0, 0, 0);
        QCOMPARE(fakes_->menu.enabled.value(ListMenuService::Item::Undo), redo);
        QCOMPARE(fakes_->menu.enabled.value(ListMenuService::Item::Redo), !redo);
    }

    // Row 1 leaves the name row 2 takes: back, row 2 must move first.
    void renamesThatFollowEachOtherGoBack()
    {
        fakes_->list.setCell(1, livTitle, QStringLiteral("x"));
        fakes_->list.setCell(2, livTitle, QStringLiteral("1"));
        fakes_->list.select({1});
        launcher_->Rename();
        QCOMPARE(files(), (QStringList{"1.mp3", "3.mp3", "x.mp3"}));
        undo();
        QCOMPARE(fakes_->list.column(livFilename), (QStringList{"1.mp3", "2.mp3", "3.mp3"}));
        QVERIFY(fakes_->messages.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestListUndo)
#include "tst_ListUndo.moc"
