// Files named on the command line: added as a drop adds them, folders opened
// one level deep in natural name order.

#include "Fakes.h"
#include "Mp3Files.h"
#include "frmID3Launcher.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLineFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // The full paths of the rows, relative to the test folder.
    static QStringList listedPaths(const FakeListView &list, const QString &base)
    {
        QStringList paths;
        for (int row = 1; row <= list.count(); ++row)
            paths << QDir(base).relativeFilePath(list.cell(row, livFileNamewithPath) + list.cell(row, livFilename));
        return paths;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("cd/sub")));
        for (const char *name : {"a.mp3", "b.mp3", "cd/10.mp3", "cd/2.mp3", "cd/1.mp3", "cd/Track 10.mp3",
                                 "cd/track 9.mp3", "cd/sub/3.mp3"})
            QVERIFY(writeUntaggedMp3(dir_.filePath(QString::fromUtf8(name))));
        QVERIFY(writeFile(dir_.filePath(QStringLiteral("cd/notes.txt")), "not audio"));
    }

    void addsLikeADrop_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("listed");
        const QString absoluteA = dir_.filePath(QStringLiteral("a.mp3"));
        QTest::newRow("order kept, relative and absolute") << QStringList{"b.mp3", absoluteA}
                                                           << QStringList{"b.mp3", "a.mp3"};
        QTest::newRow("folder in natural order, no subfolders")
            << QStringList{"cd"}
            << QStringList{"cd/1.mp3", "cd/2.mp3", "cd/10.mp3", "cd/track 9.mp3", "cd/Track 10.mp3"};
        QTest::newRow("non-MP3, missing and duplicates skipped")
            << QStringList{"cd/notes.txt", "missing.mp3", "a.mp3", "./a.mp3", "cd/../a.mp3", "cd/", "cd/2.mp3"}
            << QStringList{"a.mp3", "cd/1.mp3", "cd/2.mp3", "cd/10.mp3", "cd/track 9.mp3", "cd/Track 10.mp3"};
    }
    void addsLikeADrop()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, listed);
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());

        launcher.AddCommandLineFiles(arguments, dir_.path());

        QCOMPARE(listedPaths(fakes.list, dir_.path()), listed);
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // 1 to 100 in natural order: the 99th row is 99.mp3 and 100.mp3 is left out.
    void stopsAt99Rows()
    {
        QTemporaryDir many;
        for (int i = 1; i <= 100; ++i)
            QVERIFY(writeUntaggedMp3(many.filePath(QStringLiteral("%1.mp3").arg(i))));
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());

        launcher.AddCommandLineFiles({many.path()}, dir_.path());

        QCOMPARE(fakes.list.count(), 99);
        QCOMPARE(fakes.list.cell(99, livFilename), QStringLiteral("99.mp3"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLineFiles)
#include "tst_CommandLineFiles.moc"
