// Files named on the command line go in as a drop puts them: in order, relative
// ones from the current folder, a folder as the files it holds whose names end
// in ".mp3", in natural name order; non-MP3 files, duplicates and rows past the 99th are skipped without a
// message.

#include "common/Fakes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/text/NaturalOrder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TestCommandLineFiles : public QObject
{
    Q_OBJECT

private slots:
    void addsLikeADrop()
    {
        QTemporaryDir dir;
        for (const char *folder : {"cd", "many", "prefix"})
            QVERIFY(QDir(dir.path()).mkpath(QString::fromLatin1(folder)));
        FakeWindowServices fakes;
        // As a folder lists them: in no order.
        fakes.folders.names[dir.filePath("cd")] = {"10.mp3", "Track 10.mp3", "003.mp3", "notes.txt", "2.mp3",
                                                   "track 9.mp3", "Track 11.MP3", "mp3 without a suffix"};
        fakes.folders.names[dir.filePath("prefix")] = {"a 2.mp3", "a.mp3"};
        // An empty argument names no folder, not the current one.
        fakes.folders.names[dir.path()] = {"x.mp3"};
        QStringList files = {"b.mp3", "a.mp3", "x.mp3"};
        for (const char *folder : {"cd", "prefix"}) {
            for (const QString &name : fakes.folders.names[dir.filePath(QString::fromLatin1(folder))])
                files << QString::fromLatin1(folder) + u'/' + name;
        }
        for (int i = 100; i >= 1; --i) {
            fakes.folders.names[dir.filePath("many")] << QStringLiteral("%1.mp3").arg(i);
            files << QStringLiteral("many/%1.mp3").arg(i);
        }
        for (const QString &file : files)
            QVERIFY(file.endsWith("notes.txt") ? writeFile(dir.filePath(file), "not audio")
                                               : writeUntaggedMp3(dir.filePath(file)));
        frmID3Launcher launcher(fakes.services());

        launcher.AddCommandLineFiles({"b.mp3", dir.filePath(QStringLiteral("a.mp3")), "cd/notes.txt", "missing.mp3",
                                      "./b.mp3", "cd/", "cd/2.mp3", "prefix", "", "many"},
                                     dir.path());

        QStringList listed = {"b.mp3", "a.mp3", "2.mp3", "003.mp3", "10.mp3", "track 9.mp3", "Track 10.mp3",
                              "Track 11.MP3", "a 2.mp3", "a.mp3"};
        for (int i = 1; listed.size() < 99; ++i)
            listed << QStringLiteral("%1.mp3").arg(i);
        QCOMPARE(fakes.list.column(livFilename), listed);
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // Sorted by it, the names come in the order of the table.
    void naturalOrder_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("numbers by value") << QStringList{"2", "003", "10", "0100"};
        QTest::newRow("letter case ignored") << QStringList{"a 9", "A 10", "b"};
        QTest::newRow("a prefix first") << QStringList{"a", "a 2", "ab"};
        QTest::newRow("equal but for case: plain order") << QStringList{"A", "a"};
        QTest::newRow("equal but for zeros: plain order") << QStringList{"01", "1"};
        QTest::newRow("digits after text") << QStringList{"track2", "track10", "track10a", "tracks"};
        QTest::newRow("full-width digits are text") << QStringList{"1", "2", "１"};
    }
    void naturalOrder()
    {
        QFETCH(QStringList, names);
        QStringList sorted = names;
        std::reverse(sorted.begin(), sorted.end());
        std::sort(sorted.begin(), sorted.end(), naturalLess);
        QCOMPARE(sorted, names);
    }
};

QTEST_GUILESS_MAIN(TestCommandLineFiles)
#include "tst_CommandLineFiles.moc"
