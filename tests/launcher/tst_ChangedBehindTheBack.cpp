// Files changed by someone else after Kalvo loaded them, on real files: each
// command that would write, rename or move a file back leaves every file's
// bytes and every name as they are, and says why in one message.

#include "common/Fakes.h"
#include "common/FileBytes.h"
#include "common/Mp3Files.h"
#include "id3v1/TagBlock.h"
#include "launcher/frmID3Launcher.h"
#include "services/ListInputCodes.h"
#include "system/PosixFileMover.h"
#include "system/PrivateProfileFile.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Folder = QMap<QString, QByteArray>;  // file name -> bytes

const TagRecord kOurs{.Title = "Ours", .Artist = "Band", .TrackNumber = 3};
const TagRecord kTheirs{.Title = "Theirs", .Artist = "Other band", .TrackNumber = 7};

const QString kSaveChanged = QStringLiteral("次のファイルは読み込んだ後に変更されたため保存しませんでした。一覧から削除してから読み込み直してください。\ra.mp3");

}  // namespace

class TestChangedBehindTheBack : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    PosixFileMover mover_;
    std::unique_ptr<FakeWindowServices> fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return dir_->filePath(name); }
    Folder folder() const
    {
        Folder files;
        const auto filter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        for (const QString &name : QDir(dir_->path()).entryList(filter))
            files[name] = readFile(path(name));
        return files;
    }

private slots:
    // a.mp3 (tagged "Ours") is loaded and selected; other.mp3 (tagged
    // "Theirs", longer) is another program's file. The rename format is %D.
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        fakes_ = std::make_unique<FakeWindowServices>();
        fakes_->mover.realMover = &mover_;
        fakes_->window.format = QStringLiteral("%D");
        fakes_->window.configFolder = dir_->path();
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services());
        QVERIFY(writeTaggedMp3(path("a.mp3"), kOurs));
        QVERIFY(writeTaggedMp3(path("other.mp3"), kTheirs, 1000));
        launcher_->AddMp3File(path("a.mp3"));
        QCOMPARE(fakes_->list.count(), 1);
        fakes_->list.select({1});
    }
    void cleanup()
    {
        launcher_.reset();
        fakes_.reset();
        dir_.reset();
    }

    void leftAsItIsAndToldWhy_data()
    {
        QTest::addColumn<QString>("change");   // done behind Kalvo's back
        QTest::addColumn<QString>("command");  // "S", "W", "R", "undo after R", "R, swapped at the move"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        const QString save = QStringLiteral("Kalvo [保存エラー]"), move = QStringLiteral("Kalvo [変更時エラー]");
        QTest::newRow("deleted, another copied in") << "copied in" << "S" << kSaveChanged << save;
        // What ext4 hands out: the same inode, another file's bytes.
        QTest::newRow("another file in the same inode") << "same inode" << "S" << kSaveChanged << save;
        QTest::newRow("tag rewritten, nothing edited") << "title rewritten" << "S" << kSaveChanged << save;
        QTest::newRow("cut below its tag") << "cut" << "S" << kSaveChanged << save;
        QTest::newRow("grown after its tag") << "grown" << "S" << kSaveChanged << save;
        // W writes both tags by the same check.
        QTest::newRow("W: deleted, another copied in") << "copied in" << "W" << kSaveChanged << save;
        QTest::newRow("W: tag rewritten, nothing edited") << "title rewritten" << "W" << kSaveChanged << save;
        QTest::newRow("W: grown after its tag") << "grown" << "W" << kSaveChanged << save;
        // All of a file shorter than a tag is what was read.
        QTest::newRow("shorter than a tag, a byte rewritten")
            << "short rewritten" << "S" << "次のファイルは読み込んだ後に変更されたため保存しませんでした。一覧から削除してから読み込み直してください。\rshort.mp3" << save;
        QTest::newRow("tag rewritten, then renamed")
            << "title rewritten" << "R"
            << "次のファイルは読み込んだ後に変更されたため保存も名前の変更もしませんでした。一覧から削除してから読み込み直してください。\ra.mp3" << save;
        QTest::newRow("another file moved to the row's name")
            << "moved over" << "R"
            << "次のファイルは読み込んだ後に変更されたため保存も名前の変更もしませんでした。一覧から削除してから読み込み直してください。\ra.mp3" << save;
        QTest::newRow("another file swapped in between the check and the rename")
            << "" << "R, swapped at the move"
            << "次のファイルは読み込んだ後に変更されたため名前を変えませんでした。一覧から削除してから読み込み直してください。\ra.mp3 → Ours.mp3" << move;
        QTest::newRow("renamed file moved away, another put at its new name")
            << "replaced after R" << "undo after R"
            << "次のファイルは名前を変えた後に別のファイルに置き換えられたか変更されたため元の名前に戻しませんでした。\r"
               "Ours.mp3 → a.mp3"
            << move;
        QTest::newRow("renamed file's tag rewritten")
            << "title rewritten after R" << "undo after R"
            << "次のファイルは名前を変えた後に別のファイルに置き換えられたか変更されたため元の名前に戻しませんでした。\r"
               "Ours.mp3 → a.mp3"
            << move;
        QTest::newRow("kiv.ini 0444 when root quits")
            << "kiv.ini 0444" << "quit"
            << "次の設定ファイルは書き込みが許可されていないためリネームフォーマットを保存できませんでした。\r"
               "<folder>/kiv.ini"
            << "Kalvo [書込みエラー]";
    }
    void leftAsItIsAndToldWhy()
    {
        QFETCH(QString, change);
        QFETCH(QString, command);
        QFETCH(QString, message);
        QFETCH(QString, title);
        const QByteArray a = QFile::encodeName(path("a.mp3"));
        const QByteArray other = QFile::encodeName(path("other.mp3"));
        PrivateProfileFile settings;
        if (command == "undo after R") {
            launcher_->Rename();
            QCOMPARE(fakes_->list.column(livFilename), QStringList{"Ours.mp3"});
        } else if (command == "quit") {
            if (::geteuid() != 0)
                QSKIP("only root passes the access check of a read-only file");
            launcher_ = std::make_unique<frmID3Launcher>(frmID3Launcher::Services{
                fakes_->list, fakes_->messages, fakes_->chooser, settings, fakes_->window, fakes_->mover,
                fakes_->editor, fakes_->menu, fakes_->clipboard, fakes_->folders, fakes_->renamePreview,
                fakes_->lookup});
        }

        if (change == "short rewritten") {
            launcher_->Menu_LV_RightMenu_DELETE_Click();
            QVERIFY(writeUntaggedMp3(path("short.mp3"), 60));
            launcher_->AddMp3File(path("short.mp3"));
            fakes_->list.select({1});
            QByteArray bytes = readFile(path("short.mp3"));
            bytes[30] = 'x';
            QVERIFY(writeFile(path("short.mp3"), bytes));
        } else if (change == "copied in") {
            QVERIFY(QFile::remove(path("a.mp3")) && QFile::copy(path("other.mp3"), path("a.mp3")));
        } else if (change == "same inode") {
            QVERIFY(writeFile(path("a.mp3"), readFile(path("other.mp3"))));
        } else if (change.startsWith("title rewritten")) {
            const QString name = change.endsWith("after R") ? QStringLiteral("Ours.mp3") : QStringLiteral("a.mp3");
            QByteArray bytes = readFile(path(name));
            bytes.replace(bytes.size() - kTagBlockSize + 3, 4, "Edit");
            QVERIFY(writeFile(path(name), bytes));
        } else if (change == "cut") {
            QCOMPARE(::truncate(a.constData(), QFileInfo(path("a.mp3")).size() - kTagBlockSize - 10), 0);
        } else if (change == "grown") {
            QFile file(path("a.mp3"));
            QVERIFY(file.open(QIODevice::Append) && file.write("more audio") == 10);
        } else if (change == "moved over") {
            QCOMPARE(std::rename(other.constData(), a.constData()), 0);
        } else if (change == "replaced after R") {
            QVERIFY(QFile::rename(path("Ours.mp3"), path("moved.mp3")));
            QVERIFY(QFile::rename(path("other.mp3"), path("Ours.mp3")));
        } else if (change == "kiv.ini 0444") {
            QVERIFY(writeFile(path("kiv.ini"), "[KIV]\nFILE_FORMAT=%D\n"));
            QCOMPARE(::chmod(QFile::encodeName(path("kiv.ini")).constData(), 0444), 0);
            launcher_->Form_Load();
            fakes_->window.format = QStringLiteral("%N %D");
        }
        if (command == "R, swapped at the move") {
            // Between Kalvo's check of a.mp3 and its move, a.mp3 becomes
            // another file.
            fakes_->mover.beforeMove = [&] {
                QVERIFY(QFile::rename(path("a.mp3"), path("ours, moved.mp3")));
                QVERIFY(QFile::rename(path("other.mp3"), path("a.mp3")));
            };
        }
        fakes_->messages.shown.clear();
        const Folder before = folder();

        if (command == "S")
            launcher_->lvMP3List_KeyDown(ListInput::KeyS, 0);
        else if (command == "W") {
            fakes_->messages.answers = {MessageBoxService::Answer::Yes};
            launcher_->lvMP3List_KeyDown(ListInput::KeyW, 0);
            fakes_->messages.shown.removeFirst();  // the question
        }
        else if (command.startsWith("R"))
            launcher_->Rename();
        else if (command == "undo after R")
            launcher_->lvMP3List_KeyDown(ListInput::KeyZ, ListInput::CtrlDown);
        else
            launcher_->Form_Unload();

        if (command == "R, swapped at the move") {
            QVERIFY(!fakes_->mover.beforeMove);  // it ran
            QCOMPARE(folder(), (Folder{{"a.mp3", before.value("other.mp3")},
                                       {"ours, moved.mp3", before.value("a.mp3")}}));
        } else {
            QCOMPARE(folder(), before);
        }
        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown.at(0).text, QString(message).replace("<folder>", dir_->path()));
        QCOMPARE(fakes_->messages.shown.at(0).title, title);
        if (command != "quit")
            QCOMPARE(fakes_->list.column(livFilename), QStringList{message.section(u'\r', 1).section(u' ', 0, 0)});
    }
};

QTEST_GUILESS_MAIN(TestChangedBehindTheBack)
#include "tst_ChangedBehindTheBack.moc"
