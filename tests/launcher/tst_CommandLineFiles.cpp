// Files named on the command line go in as a drop puts them: in order, relative
// ones from the current folder, a folder as the files directly inside it in
// natural name order; non-MP3 files, duplicates and rows past the 99th are
// skipped without a message.

#include "Fakes.h"
#include "Mp3Files.h"
#include "frmID3Launcher.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLineFiles : public QObject
{
    Q_OBJECT

private slots:
    void addsLikeADrop()
    {
        QTemporaryDir dir;
        for (const char *folder : {"cd/sub", "many", "prefix"})
            QVERIFY(QDir(dir.path()).mkpath(QString::fromLatin1(folder)));
        QStringList files = {"b.mp3", "a.mp3", "cd/10.mp3", "cd/003.mp3", "cd/2.mp3", "cd/Track 10.mp3",
                             "cd/track 9.mp3", "cd/sub/1.mp3", "prefix/a 2", "prefix/a"};
        for (int i = 100; i >= 1; --i)
            files << QStringLiteral("many/%1.mp3").arg(i);
        for (const QString &file : files)
            QVERIFY(writeUntaggedMp3(dir.filePath(file)));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("cd/notes.txt")), "not audio"));
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());

        launcher.AddCommandLineFiles({"b.mp3", dir.filePath(QStringLiteral("a.mp3")), "cd/notes.txt", "missing.mp3",
                                      "./b.mp3", "cd/", "cd/2.mp3", "prefix", "many"},
                                     dir.path());

        QStringList listed = {"b.mp3", "a.mp3", "2.mp3", "003.mp3", "10.mp3", "track 9.mp3", "Track 10.mp3",
                              "a", "a 2"};
        for (int i = 1; listed.size() < 99; ++i)
            listed << QStringLiteral("%1.mp3").arg(i);
        QCOMPARE(fakes.list.column(livFilename), listed);
        QVERIFY(fakes.messages.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLineFiles)
#include "tst_CommandLineFiles.moc"
