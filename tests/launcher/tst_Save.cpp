// Saving list rows into their MP3 files: which rows are written for each mode,
// what reaches the file, change marks, and the message for a row that fails.

#include "common/Fakes.h"
#include "common/ForkedCheck.h"
#include "common/Mp3Files.h"
#include "id3v1/TagBlock.h"
#include "launcher/frmID3Launcher.h"
#include "services/ListInputCodes.h"
#include "tagfiles/classID3_V11.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <grp.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

using RowList = QList<int>;

namespace {

const TagRecord kLoadedTag{.Title = "old", .Artist = "Old Band", .Album = "Old Album", .Year = "1980", .Comment = "old comment", .TrackNumber = 1};

// A save's report: a reason's sentence by its key, any other line as it is.
QString saveReport(const QStringList &lines)
{
    const QMap<QString, QString> sentences{
        {"changed", "次のファイルは読み込んだ後に変更されたため保存しませんでした。一覧から削除してから読み込み直してください。"},
        {"not regular", "次のファイルは通常のファイルではなくなったため保存しませんでした。"},
        {"missing", "次のファイルは見つからないため保存できませんでした。"},
        {"io", "次のファイルはエラー（" + qt_error_string(EIO) + "）のため保存できませんでした。"},
        {"disk full", "次のファイルはディスクの空きが足りないため保存できませんでした。"},
        {"no permission", "次のファイルは書き込みが許可されていないため保存できませんでした。"}};
    QStringList text;
    for (const QString &line : lines)
        text << sentences.value(line, line);
    return text.join(u'\r');
}

}  // namespace

class TestSave : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeSync> sync_;
    std::unique_ptr<FakeWindowServices> fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return dir_->filePath(name); }

    // Loads tagged files a.mp3, b.mp3, ... into the list and gives every row a
    // new title "new a", "new b", ... not yet written.
    void loadRows(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString name = QString(QChar(u'a' + i));
            QVERIFY(writeTaggedMp3(path(name + ".mp3"), kLoadedTag));
            launcher_->AddMp3File(path(name + ".mp3"));
            QCOMPARE(fakes_->list.count(), i + 1);
            fakes_->list.setCell(i + 1, livTitle, "new " + name);
        }
    }
    QString fileTitle(int row) const { return readMp3Tag(path(QString(QChar(u'a' + row - 1)) + ".mp3")).Title; }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        sync_ = std::make_unique<FakeSync>();
        fakes_ = std::make_unique<FakeWindowServices>();
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services(), sync_->function());
    }
    void cleanup()
    {
        launcher_.reset();
        fakes_.reset();
        sync_.reset();
        dir_.reset();
    }

    void writesTheRowsOfTheMode_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<RowList>("selected");
        QTest::addColumn<RowList>("written");
        // Rows 1 and 3 carry the change mark, row 2 does not.
        QTest::newRow("S: one selected row") << 0 << RowList{3} << RowList{3};
        QTest::newRow("S: unmarked selected row is written") << 0 << RowList{2} << RowList{2};
        QTest::newRow("S: nothing selected") << 0 << RowList{} << RowList{};
        QTest::newRow("Shift+S: every row, none selected") << int(ListInput::ShiftDown) << RowList{} << RowList{1, 2, 3};
        QTest::newRow("Shift+S: every row, one selected") << int(ListInput::ShiftDown) << RowList{2} << RowList{1, 2, 3};
    }
    void writesTheRowsOfTheMode()
    {
        QFETCH(int, shift);
        QFETCH(RowList, selected);
        QFETCH(RowList, written);
        loadRows(3);
        const QStringList marks = {"*", "", "*"};
        for (int row = 1; row <= 3; ++row)
            fakes_->list.setCell(row, livChanged, marks.at(row - 1));
        for (int row : selected)
            fakes_->list.select({row});
        const QList<FakeRow> before = fakes_->list.rows;

        launcher_->lvMP3List_KeyDown(ListInput::KeyS, shift);

        QCOMPARE(fakes_->messages.shown.size(), 0);
        for (int row = 1; row <= 3; ++row) {
            const bool isWritten = written.contains(row);
            const QString name = QString(QChar(u'a' + row - 1));
            QCOMPARE(fileTitle(row), isWritten ? "new " + name : QStringLiteral("old"));
            QCOMPARE(fakes_->list.cell(row, livChanged), isWritten ? QString() : marks.at(row - 1));
            // Saving touches no other cell and no selection.
            FakeRow expected = before.at(row - 1);
            expected.cells[livChanged] = fakes_->list.cell(row, livChanged);
            QCOMPARE(fakes_->list.rows.at(row - 1).cells, expected.cells);
            QCOMPARE(fakes_->list.isSelected(row), selected.contains(row));
        }
    }

    void emptyListDoesNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("selected rows") << int(SaveSelected);
        QTest::newRow("every row") << int(SaveAll);
    }
    void emptyListDoesNothing()
    {
        QFETCH(int, mode);
        launcher_->Save(static_cast<SaveMode>(mode));
        QCOMPARE(fakes_->list.count(), 0);
        QCOMPARE(fakes_->messages.shown.size(), 0);
        QVERIFY(QDir(dir_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void failingRowIsReportedAndTheOthersSaved_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("failingMark");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file removed, unmarked row") << "removed" << int(SaveSelected) << "" << "missing";
        QTest::newRow("folder in its place") << "folder" << int(SaveSelected) << "*" << "not regular";
        QTest::newRow("no longer an MP3 file") << "text" << int(SaveAll) << "*" << "changed";
        // Same size, same last bytes: only its start says so.
        QTest::newRow("start no longer an MP3 file") << "start" << int(SaveAll) << "*" << "changed";
    }
    void failingRowIsReportedAndTheOthersSaved()
    {
        QFETCH(QString, fault);
        QFETCH(int, mode);
        QFETCH(QString, failingMark);
        QFETCH(QString, reason);
        loadRows(3);
        for (int row = 1; row <= 3; ++row)
            fakes_->list.setCell(row, livChanged, row == 2 ? failingMark : QStringLiteral("*"));
        fakes_->list.select({1, 2, 3});
        const QString failing = path("b.mp3");
        QByteArray failingBytes = readFile(failing);
        QVERIFY(QFile::remove(failing));
        if (fault == "start") {
            failingBytes.replace(0, 4, "ID4\x01");
            QVERIFY(writeFile(failing, failingBytes));
        } else if (fault == "folder") {
            QVERIFY(QDir(dir_->path()).mkdir("b.mp3"));
        } else if (fault == "text") {
            failingBytes = QByteArray("plain text, not audio\n").repeated(20);
            QFile text(failing);
            QVERIFY(text.open(QIODevice::WriteOnly));
            QCOMPARE(text.write(failingBytes), failingBytes.size());
        }

        launcher_->Save(static_cast<SaveMode>(mode));

        QCOMPARE(fakes_->messages.shown.size(), 1);
        const ShownMessage &message = fakes_->messages.shown.at(0);
        QCOMPARE(message.text, saveReport({reason, "b.mp3"}));
        QCOMPARE(message.title, QStringLiteral("Kalvo [保存エラー]"));
        QCOMPARE(message.buttons, MessageBoxService::Buttons::Ok);
        QCOMPARE(message.icon, MessageBoxService::Icon::Critical);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"", failingMark, ""}));
        QCOMPARE(fileTitle(1), QStringLiteral("new a"));
        QCOMPARE(fileTitle(3), QStringLiteral("new c"));
        // The failing file is neither created nor changed.
        if (fault == "removed")
            QVERIFY(!QFileInfo::exists(failing));
        else if (fault == "folder")
            QVERIFY(QFileInfo(failing).isDir());
        else
            QCOMPARE(readFile(failing), failingBytes);
    }

    // Rows whose write fails and rows whose file could not be made durable
    // are named in one report, by reason, in row order. Those files are
    // undone to their exact bytes and keep their marks.
    void failedSyncIsUndoneAndReportedWithTheWriteErrors_data()
    {
        QTest::addColumn<QStringList>("faults");  // per row: "", "write", "sync", "sync, no tag"
        QTest::addColumn<int>("syncError");       // errno of a failed sync; 0: none given
        QTest::addColumn<QStringList>("reported");  // saveReport
        QTest::newRow("sync fails in the middle") << QStringList{"", "", "sync", "", ""} << 0
                                                  << QStringList{"io", "c.mp3"};
        QTest::newRow("append cut off again, disk full") << QStringList{"", "sync, no tag", ""} << ENOSPC
                                                         << QStringList{"disk full", "b.mp3"};
        QTest::newRow("write and sync failures") << QStringList{"sync", "write", "", "sync, no tag"} << EIO
                                                 << QStringList{"io", "a.mp3", "d.mp3", "missing", "b.mp3"};
    }
    void failedSyncIsUndoneAndReportedWithTheWriteErrors()
    {
        QFETCH(QStringList, faults);
        QFETCH(int, syncError);
        QFETCH(QStringList, reported);
        FakeSync &sync = *sync_;
        sync.error = syncError;
        QList<QByteArray> before;
        QStringList written;
        for (int row = 1; row <= faults.size(); ++row) {
            const QString name = QString(QChar(u'a' + row - 1)) + ".mp3";
            const QString &fault = faults.at(row - 1);
            QVERIFY(fault == "sync, no tag" ? writeUntaggedMp3(path(name)) : writeTaggedMp3(path(name), kLoadedTag));
            launcher_->AddMp3File(path(name));
            fakes_->list.setCell(row, livTitle, "new");
            fakes_->list.setCell(row, livChanged, "*");
            if (fault.startsWith("sync"))
                sync.failing << name;
            if (fault == "write")
                QVERIFY(QFile::remove(path(name)));
            else
                written << name;
            before << readFile(path(name));
        }

        launcher_->Save(SaveAll);

        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown.at(0).text, saveReport(reported));
        QCOMPARE(sync.synced(), written);  // one sync per written file
        for (int row = 1; row <= faults.size(); ++row) {
            const QString name = QString(QChar(u'a' + row - 1)) + ".mp3";
            const bool failed = !faults.at(row - 1).isEmpty();
            QCOMPARE(fakes_->list.cell(row, livChanged), failed ? QStringLiteral("*") : QString());
            if (failed)
                QVERIFY(readFile(path(name)) == before.at(row - 1));
            else
                QCOMPARE(readMp3Tag(path(name)).Title, QStringLiteral("new"));
        }

        // The files undone are as Kalvo read them, so they save once the
        // sync works.
        sync.failing.clear();
        launcher_->Save(SaveAll);
        QCOMPARE(fakes_->messages.shown.size(), faults.contains("write") ? 2 : 1);
        for (int row = 1; row <= faults.size(); ++row) {
            if (faults.at(row - 1) != "write")
                QCOMPARE(readMp3Tag(path(QString(QChar(u'a' + row - 1)) + ".mp3")).Title, QStringLiteral("new"));
        }
    }

    // A file the saving user may not write is named with that reason; the
    // others are saved. As root, who may write any file, the save runs in a
    // child that has dropped to another user.
    void aFileThatMayNotBeWrittenIsSaidSo()
    {
        enum Result { Ok, NoPrivilegeDrop, WrongMessages, Died };
        loadRows(2);
        const bool root = ::geteuid() == 0;
        const QByteArray folder = QFile::encodeName(dir_->path());
        QCOMPARE(::chmod(folder.constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(path("a.mp3")).constData(), 0666), 0);
        QCOMPARE(::chmod(QFile::encodeName(path("b.mp3")).constData(), root ? 0644 : 0444), 0);
        const QByteArray before = readFile(path("b.mp3"));

        const Result result = resultInChild<Result>([&] {
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return NoPrivilegeDrop;
            launcher_->Save(SaveAll);
            const QList<ShownMessage> &shown = fakes_->messages.shown;
            return shown.size() == 1 && shown.at(0).text == saveReport({"no permission", "b.mp3"}) ? Ok
                                                                                                     : WrongMessages;
        }, Died);

        QCOMPARE(int(result), int(Ok));
        QCOMPARE(fileTitle(1), QStringLiteral("new a"));
        QCOMPARE(readFile(path("b.mp3")), before);
    }

    // Only a file Kalvo has read is written: a row that knows no file
    // (as none added by loading a file does) leaves the file its path names
    // as it is.
    void aRowWithoutAFileReadWritesNothing()
    {
        QVERIFY(writeTaggedMp3(path("a.mp3"), kLoadedTag));
        const QByteArray before = readFile(path("a.mp3"));
        fakes_->list.addRow("a.mp3");
        fakes_->list.setCell(1, livFileNamewithPath, dir_->path() + u'/');
        fakes_->list.setCell(1, livTitle, "new");
        fakes_->list.setCell(1, livTrackNo, "1");
        fakes_->list.setCell(1, livGenreID, "0");

        launcher_->Save(SaveAll);

        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown.at(0).text, saveReport({"changed", "a.mp3"}));
        QCOMPARE(readFile(path("a.mp3")), before);
    }

    // A save writes only the file its row was loaded from: when the row's
    // path has come to name another file, nothing is written and the row is
    // reported; the row's own file under a new name is saved.
    void savesOnlyTheFileTheRowWasLoadedFrom_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("saved");
        QTest::newRow("symlink swapped in") << "symlink" << false;
        QTest::newRow("another file moved over") << "moved over" << false;
        QTest::newRow("the same file renamed") << "renamed" << true;
    }
    void savesOnlyTheFileTheRowWasLoadedFrom()
    {
        QFETCH(QString, change);
        QFETCH(bool, saved);
        loadRows(1);
        fakes_->list.setCell(1, livChanged, "*");
        QVERIFY(writeTaggedMp3(path("other.mp3"), kLoadedTag));
        const QByteArray otherBytes = readFile(path("other.mp3"));
        const QByteArray a = QFile::encodeName(path("a.mp3"));
        const QByteArray other = QFile::encodeName(path("other.mp3"));
        if (change == "symlink") {
            QVERIFY(QFile::remove(path("a.mp3")) && QFile::link(path("other.mp3"), path("a.mp3")));
        } else if (change == "moved over") {
            QCOMPARE(std::rename(other.constData(), a.constData()), 0);
        } else {
            QVERIFY(QFile::rename(path("a.mp3"), path("b.mp3")));
            fakes_->list.setCell(1, livFilename, "b.mp3");
        }

        launcher_->Save(SaveAll);

        if (saved) {
            QCOMPARE(fakes_->messages.shown.size(), 0);
            QCOMPARE(readMp3Tag(path("b.mp3")).Title, QStringLiteral("new a"));
            QCOMPARE(fakes_->list.cell(1, livChanged), QString());
            return;
        }
        QCOMPARE(fakes_->messages.shown.size(), 1);
        QCOMPARE(fakes_->messages.shown.at(0).text, saveReport({"changed", "a.mp3"}));
        QCOMPARE(fakes_->list.cell(1, livChanged), QStringLiteral("*"));
        QVERIFY(readFile(path("a.mp3")) == otherBytes);
    }

    // With few descriptors, a save of 99 rows still writes every file and
    // syncs it once; a file whose sync fails is undone and reported by its
    // row, in whichever part of the batch it was. Numbering the 99 files by
    // a drop, which loads each file before writing it, numbers them all. Runs
    // in a child, which lowers its descriptor limit to 40 and, in one row,
    // takes all but three of them.
    void fewDescriptors_data()
    {
        QTest::addColumn<int>("free");  // 0: as many as the limit leaves
        QTest::addColumn<bool>("dropped");
        QTest::newRow("limit of 40") << 0 << true;
        QTest::newRow("three free") << 3 << false;
    }
    void fewDescriptors()
    {
        QFETCH(int, free);
        QFETCH(bool, dropped);
        enum Result { Ok, LimitNotSet, WrongMessages, NotSyncedOnce, NotAllNumbered, Died };
        const QStringList failing = {"02.mp3", "60.mp3"};
        QStringList names, paths;
        QList<QByteArray> before;
        for (int row = 1; row <= 99; ++row) {
            names << QStringLiteral("%1.mp3").arg(row, 2, 10, QLatin1Char('0'));
            paths << path(names.last());
            QVERIFY(writeTaggedMp3(paths.last(), kLoadedTag));
            launcher_->AddMp3File(paths.last());
            fakes_->list.setCell(row, livTitle, "new");
            before << readFile(paths.last());
        }
        QCOMPARE(fakes_->list.count(), 99);
        FakeSync &sync = *sync_;
        sync.failing = failing;

        const Result result = resultInChild<Result>([&] {
            const rlimit limit{40, 40};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                return LimitNotSet;
            QList<int> taken;
            for (int fd = free > 0 ? ::dup(0) : -1; fd >= 0; fd = ::dup(0))
                taken << fd;
            for (int i = 0; i < free && !taken.isEmpty(); ++i)
                ::close(taken.takeLast());
            launcher_->Save(SaveAll);
            QStringList shown;
            for (const ShownMessage &message : std::as_const(fakes_->messages.shown))
                shown << message.text;
            if (shown != QStringList{saveReport({"io", "02.mp3", "60.mp3"})})
                return WrongMessages;
            if (sync.synced() != names)
                return NotSyncedOnce;
            if (!dropped)
                return Ok;
            fakes_->messages.shown.clear();
            sync.failing.clear();
            launcher_->lblRENBANDD_OLEDragDrop(paths);
            return fakes_->messages.shown.size() == 2 ? Ok : NotAllNumbered;  // the question and the notice
        }, Died);

        QCOMPARE(int(result), int(Ok));
        for (int row = 1; row <= 99; ++row) {
            const bool failed = failing.contains(names.at(row - 1));
            if (failed && !dropped)
                QVERIFY(readFile(paths.at(row - 1)) == before.at(row - 1));
            const TagRecord tag = readMp3Tag(paths.at(row - 1));
            QCOMPARE(tag.Title, failed ? QStringLiteral("old") : QStringLiteral("new"));
            QCOMPARE(int(tag.TrackNumber), dropped ? row : 1);
        }
    }

    void writesEveryFieldFromTheCells_data()
    {
        QTest::addColumn<bool>("tagged");
        QTest::addColumn<QString>("genreName");
        QTest::addColumn<QString>("genreId");
        QTest::addColumn<int>("expectedGenre");
        QTest::newRow("tag replaced") << true << "Blues" << "80" << 80;
        QTest::newRow("tag appended") << false << "Rock" << "80" << 80;
        QTest::newRow("genre without a name") << true << "" << "255" << 255;
        QTest::newRow("genre name changed alone") << true << "Pop" << "0" << 0;
    }
    void writesEveryFieldFromTheCells()
    {
        QFETCH(bool, tagged);
        QFETCH(QString, genreName);
        QFETCH(QString, genreId);
        QFETCH(int, expectedGenre);
        const QString file = path("曲 01.mp3");
        QVERIFY(tagged ? writeTaggedMp3(file, kLoadedTag, 1000) : writeUntaggedMp3(file, 1000));
        const QByteArray before = readFile(file);
        launcher_->AddMp3File(file);
        QCOMPARE(fakes_->list.count(), 1);
        const TagRecord edited{.Title = "夜明けの歌", .Artist = "Band", .Album = "Live at ｶﾙﾎﾞ", .Year = "2001", .Comment = "first take", .TrackNumber = 12, .GenreID = quint8(expectedGenre)};
        const QStringList cells{edited.Title, genreName, edited.Comment, "12", edited.Artist, edited.Album, edited.Year};
        const int columns[] = {livTitle, livGenre, livComment, livTrackNo, livAirtist, livAlbum, livYear};
        for (int i = 0; i < cells.size(); ++i)
            fakes_->list.setCell(1, columns[i], cells.at(i));
        fakes_->list.setCell(1, livGenreID, genreId);
        fakes_->list.select({1});

        launcher_->Save(SaveSelected);

        QCOMPARE(fakes_->messages.shown.size(), 0);
        QCOMPARE(readMp3Tag(file), edited);
        // The audio before the tag block is left as it was.
        const QByteArray after = readFile(file);
        const qsizetype audio = tagged ? before.size() - kTagBlockSize : before.size();
        QCOMPARE(after.size(), audio + kTagBlockSize);
        QCOMPARE(after.left(audio), before.left(audio));
    }
};

QTEST_GUILESS_MAIN(TestSave)
#include "tst_Save.moc"
