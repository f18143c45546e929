// Adding, refusing and deleting rows, path splitting, and the window's start
// and end, all through the in-memory window services.

#include "common/Fakes.h"
#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/text/PathParts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestFileList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeWindowServices fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return dir_.filePath(name); }
    QString mp3(const QString &name)
    {
        const QString full = path(name);
        if (!writeUntaggedMp3(full))
            qFatal("cannot create %s", qPrintable(full));
        return full;
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        fakes_.list.rows.clear();
        fakes_.messages.shown.clear();
        launcher_ = std::make_unique<frmID3Launcher>(fakes_.services());
    }

    void pathParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folder");
        QTest::newRow("full path") << "/music/01.mp3" << "01.mp3" << "/music/";
        QTest::newRow("bare name") << "01.mp3" << "01.mp3" << "";
        QTest::newRow("folder only") << "/music/" << "" << "/music/";
        QTest::newRow("root file") << "/01.mp3" << "01.mp3" << "/";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("japanese folder") << "/音楽/アルバム/01 曲.mp3" << "01 曲.mp3" << "/音楽/アルバム/";
        QTest::newRow("backslash is a name character") << "/a\\b/c\\d.mp3" << "c\\d.mp3" << "/a\\b/";
    }
    void pathParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, fileName);
        QFETCH(QString, folder);
        QCOMPARE(GetFileNamePart(path), fileName);
        QCOMPARE(GetFolderPart(path), folder);
        QCOMPARE(GetFolderPart(path) + GetFileNamePart(path), path);
    }

    void addFillsEveryCellFromTheTag()
    {
        const QString file = path(QStringLiteral("01 曲.mp3"));
        QVERIFY(writeTaggedMp3(file, {.Title = "夜明けの歌", .Artist = "Band", .Album = "Live", .Year = "1999", .Comment = "ｺﾒﾝﾄ", .TrackNumber = 7, .GenreID = 17}));

        launcher_->AddMp3File(file);

        QCOMPARE(fakes_.list.count(), 1);
        const auto &cells = fakes_.list.rows.at(0).cells;
        QCOMPARE(QStringList(cells.begin(), cells.end()),
                 (QStringList{"01 曲.mp3", "", "夜明けの歌", "Rock", "ｺﾒﾝﾄ", "7", "Band", "Live", "1999",
                              dir_.path() + u'/', "17"}));
    }

    // A program that neither shows the ID3v2 mark nor writes both tags
    // leaves the ID3v2 tag unread.
    void addReadsTheId3v2TagWhenAsked_data()
    {
        QTest::addColumn<bool>("reads");
        QTest::newRow("reads") << true;
        QTest::newRow("does not read") << false;
    }
    void addReadsTheId3v2TagWhenAsked()
    {
        QFETCH(bool, reads);
        const QString file = path(QStringLiteral("v2.mp3"));
        QVERIFY(writeFile(file, id3v2Tag(3, frame23("TIT2", textData("Dawn"))) + mpegFrameFile()));
        MemoryList list;
        MessageBoxReports reports(fakes_.messages, QStringLiteral("Kalvo"));
        ListParts parts({.list = list, .reports = reports, .folders = fakes_.folders, .mover = fakes_.mover});

        parts.adder.setReadsId3v2(reads);
        QCOMPARE(parts.adder.AddMp3File(file), AddResult::Added);

        QCOMPARE(parts.rows.info(1).id3v2.state, reads ? Id3v2State::Read : Id3v2State::NoTag);
    }

    void addShowsGenreNumbersAndNames_data()
    {
        QTest::addColumn<bool>("tagged");
        QTest::addColumn<int>("genre");
        QTest::addColumn<QString>("genreName");
        QTest::newRow("no tag loads as genre 0") << false << 0 << "Blues";
        QTest::newRow("last named genre") << true << 147 << "Synthpop";
        QTest::newRow("first unnamed genre") << true << 148 << "";
        QTest::newRow("unset genre") << true << 255 << "";
    }
    void addShowsGenreNumbersAndNames()
    {
        QFETCH(bool, tagged);
        QFETCH(int, genre);
        QFETCH(QString, genreName);
        const QString file = path(QStringLiteral("g.mp3"));
        QVERIFY(tagged ? writeTaggedMp3(file, {.GenreID = quint8(genre)}) : writeUntaggedMp3(file));

        launcher_->AddMp3File(file);

        QCOMPARE(fakes_.list.column(livGenreID), QStringList{QString::number(genre)});
        QCOMPARE(fakes_.list.column(livGenre), QStringList{genreName});
        QCOMPARE(fakes_.list.column(livTrackNo), QStringList{QStringLiteral("0")});
    }

    void addRefusesSilently_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // empty: create nothing
        QTest::newRow("missing file") << "missing.mp3" << QByteArray();
        QTest::newRow("not an mp3") << "text.mp3" << QByteArray("just some text");
        QTest::newRow("empty file") << "empty.mp3" << QByteArray("", 0);
        QTest::newRow("a folder") << "folder" << QByteArray("dir");
    }
    void addRefusesSilently()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString full = path(name);
        if (content == "dir") {
            QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder")));
        } else if (!content.isNull() || name == QLatin1String("empty.mp3")) {
            QFile file(full);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }

        launcher_->AddMp3File(full);

        QCOMPARE(fakes_.list.count(), 0);
        QVERIFY(fakes_.messages.shown.isEmpty());
    }

    // A file already listed is not added again under any spelling of its
    // path, and its row keeps its edits; other files with the same name are.
    void oneFileOneRow_data()
    {
        QTest::addColumn<QString>("second");  // relative to the test folder
        QTest::addColumn<int>("rows");
        QTest::newRow("same path") << "a/01.mp3" << 1;
        QTest::newRow("dot") << "./a/01.mp3" << 1;
        QTest::newRow("double slash") << "a//01.mp3" << 1;
        QTest::newRow("dot-dot") << "a/b/../01.mp3" << 1;
        QTest::newRow("symlink") << "link.mp3" << 1;
        QTest::newRow("hard link") << "hard.mp3" << 1;
        QTest::newRow("linked folder") << "linked/01.mp3" << 1;
        QTest::newRow("same name, other folder") << "b/01.mp3" << 2;
        QTest::newRow("other letter case") << "a/01.MP3" << 2;
    }
    void oneFileOneRow()
    {
        QFETCH(QString, second);
        QFETCH(int, rows);
        QDir folder(dir_.path());
        folder.removeRecursively();
        QVERIFY(folder.mkpath("a/b") && folder.mkpath("b"));
        const QString first = mp3("a/01.mp3");
        mp3("b/01.mp3");
        mp3("a/01.MP3");
        QVERIFY(QFile::link(first, path("link.mp3")) && QFile::link(path("a"), path("linked")));
        QCOMPARE(::link(QFile::encodeName(first).constData(), QFile::encodeName(path("hard.mp3")).constData()), 0);
        launcher_->AddMp3File(first);
        fakes_.list.setCell(1, livTitle, QStringLiteral("unsaved"));
        const QString current = QDir::currentPath();
        QDir::setCurrent(dir_.path());

        launcher_->AddMp3File(second.startsWith(u'.') ? second : path(second));

        QDir::setCurrent(current);
        QCOMPARE(fakes_.list.count(), rows);
        QCOMPARE(fakes_.list.cell(1, livTitle), QStringLiteral("unsaved"));
    }

    // The chooser's paths go in in order until the list holds 99 rows.
    void chooserPathsAreAddedInOrderUpToTheLimit()
    {
        for (int i = 1; i <= 97; ++i)
            launcher_->AddMp3File(mp3(QStringLiteral("%1.mp3").arg(i)));
        fakes_.chooser.result = {mp3(QStringLiteral("x.mp3")), path(QStringLiteral("missing.mp3")),
                                 mp3(QStringLiteral("y.mp3")), mp3(QStringLiteral("z.mp3"))};

        launcher_->SelectMp3Files();

        QCOMPARE(fakes_.chooser.askedTitle, QStringLiteral("[Kalvo ]MP3 ファイルを選んでください"));
        QCOMPARE(fakes_.chooser.askedFilter, QStringLiteral("MP3 File (*.mp3)"));
        QCOMPARE(fakes_.list.count(), 99);
        QCOMPARE(fakes_.list.cell(98, livFilename), QStringLiteral("x.mp3"));
        QCOMPARE(fakes_.list.cell(99, livFilename), QStringLiteral("y.mp3"));
        QVERIFY(fakes_.messages.shown.isEmpty());
    }

    void droppedFilesAreAddedInDropOrder()
    {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("sub")));
        launcher_->lvMP3List_OLEDragDrop({mp3(QStringLiteral("c.wav")), path(QStringLiteral("sub")),
                                          mp3(QStringLiteral("a.mp3")), mp3(QStringLiteral("b.mp3"))});
        QCOMPARE(fakes_.list.column(livFilename), (QStringList{"c.wav", "a.mp3", "b.mp3"}));
    }

    void deleteRemovesTheSelectedRows_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("scattered") << QList<int>{2, 3, 5} << QStringList{"1", "4", "6"};
        QTest::newRow("all") << QList<int>{1, 2, 3, 4, 5, 6} << QStringList{};
        QTest::newRow("first and last") << QList<int>{1, 6} << QStringList{"2", "3", "4", "5"};
    }
    void deleteRemovesTheSelectedRows()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, left);
        for (int i = 1; i <= 6; ++i) {
            fakes_.list.addRow(QString::number(i));
            fakes_.list.rows.last().selected = selected.contains(i);
        }
        launcher_->Menu_LV_RightMenu_DELETE_Click();
        QCOMPARE(fakes_.list.column(livFilename), left);
    }

    // Rows a.mp3 and b.mp3, looked up once; then a change of the rows. The
    // look-up of the files listed follows every change.
    void holdsFollowsTheRows_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("held");
        QTest::addColumn<QStringList>("notHeld");
        QTest::newRow("appended") << "append c" << QStringList{"a.mp3", "b.mp3", "c.mp3"} << QStringList{"x.mp3"};
        QTest::newRow("removed, another appended") << "remove b, append c" << QStringList{"a.mp3", "c.mp3"}
                                                   << QStringList{"b.mp3"};
        QTest::newRow("renamed") << "rename" << QStringList{"x.mp3", "b.mp3"} << QStringList{"a.mp3"};
        QTest::newRow("moved by undo") << "move" << QStringList{"x.mp3", "b.mp3"} << QStringList{"a.mp3"};
        QTest::newRow("restored") << "restore" << QStringList{"a.mp3", "b.mp3"} << QStringList{"c.mp3"};
        QTest::newRow("file written anew") << "identity" << QStringList{"link.mp3"} << QStringList{};
    }
    void holdsFollowsTheRows()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, held);
        QFETCH(QStringList, notHeld);
        QTemporaryDir dir;
        const auto path = [&dir](const QString &name) { return dir.filePath(name); };
        QVERIFY(writeUntaggedMp3(path("a.mp3")) && QFile::link(path("a.mp3"), path("link.mp3")));
        const FileIdentity file = *fileIdentity(path("a.mp3"));
        const FileIdentity none{};
        FakeListView view;
        FileList rows(view);
        rows.append(path("a.mp3"), none, {});
        rows.append(path("b.mp3"), none, {});
        const ListRows before = rows.snapshot();
        QVERIFY(rows.holds(path("a.mp3"), none));

        if (change == "append c") {
            rows.append(path("c.mp3"), none, {});
        } else if (change == "remove b, append c") {
            rows.remove({2});
            rows.append(path("c.mp3"), none, {});
        } else if (change == "rename") {
            rows.setCell(1, livFilename, "x.mp3");
        } else if (change == "move") {
            rows.renameRow(rows.info(1).serial, "x.mp3");
        } else if (change == "restore") {
            rows.remove({1});
            rows.append(path("c.mp3"), none, {});
            QVERIFY(rows.holds(path("c.mp3"), none));
            rows.restore(before, KnownFiles());
        } else {
            rows.setIdentity(1, file);
        }

        for (const QString &name : held)
            QVERIFY2(rows.holds(path(name), name == "link.mp3" ? file : none), qPrintable(name));
        for (const QString &name : notHeld)
            QVERIFY2(!rows.holds(path(name), none), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_FileList.moc"
