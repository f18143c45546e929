// Moving a file within its folder: it moves, or fails and leaves both names as
// they were; an existing destination is never replaced.

#include "common/FileBytes.h"
#include "system/PosixFileMover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

}  // namespace

class TestPosixFileMover : public QObject
{
    Q_OBJECT

private slots:
    void moves_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("plain names") << "a.mp3" << "b.mp3";
        QTest::newRow("japanese names") << "01 夜明けの歌.mp3" << "(バンド)[ライブ]01_夜明け.mp3";
        QTest::newRow("dot name") << "a.mp3" << ".mp3";
        QTest::newRow("characters other systems refuse") << "a.mp3" << "a:b?|*.mp3";
    }
    void moves()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(from), "audio"));
        PosixFileMover mover;

        QVERIFY(mover.moveFile(dir.filePath(from), dir.filePath(to)).ok());

        QCOMPARE(entries(dir.path()), QStringList{to});
        QCOMPARE(readFile(dir.filePath(to)), QByteArray("audio"));
    }

    void refusesAndLeavesEverything_data()
    {
        QTest::addColumn<QString>("destination");  // what stands at the destination
        QTest::addColumn<bool>("sourceExists");
        QTest::addColumn<int>("problem");  // FileProblem, what the refusal says
        const int taken = int(FileProblem::NameTaken), missing = int(FileProblem::Missing);
        QTest::newRow("existing file") << "file" << true << taken;
        QTest::newRow("existing folder") << "folder" << true << taken;
        QTest::newRow("existing dangling link") << "link" << true << taken;
        QTest::newRow("same name") << "source" << true << taken;
        QTest::newRow("missing source") << "none" << false << missing;
        QTest::newRow("missing source, existing file") << "file" << false << missing;
        QTest::newRow("missing folder of the destination") << "no folder" << true << missing;
        QTest::newRow("zero character in the destination") << "zero" << true << int(FileProblem::System);
        QTest::newRow("zero character in the source") << "zero source" << true << int(FileProblem::System);
    }
    void refusesAndLeavesEverything()
    {
        QFETCH(QString, destination);
        QFETCH(bool, sourceExists);
        QFETCH(int, problem);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString source = dir.filePath("曲.mp3");
        QString target = dir.filePath("先.mp3");
        if (sourceExists)
            QVERIFY(writeFile(source, "mine"));
        if (destination == "file")
            QVERIFY(writeFile(target, "theirs"));
        else if (destination == "folder")
            QVERIFY(QDir(dir.path()).mkdir("先.mp3"));
        else if (destination == "link")
            QCOMPARE(::symlink("nowhere", QFile::encodeName(target).constData()), 0);
        else if (destination == "source")
            target = source;
        else if (destination == "no folder")
            target = dir.filePath("missing/先.mp3");
        else if (destination == "zero")
            target = dir.filePath("先") + QChar(0) + QStringLiteral(".mp3");
        const QStringList before = entries(dir.path());

        // The source named up to a zero character is a file, so cutting the
        // name there would move it.
        const QString from = destination == "zero source" ? source + QChar(0) + QStringLiteral("x") : source;

        QCOMPARE(int(PosixFileMover().moveFile(from, target).problem), problem);

        QCOMPARE(entries(dir.path()), before);
        if (sourceExists)
            QCOMPARE(readFile(source), QByteArray("mine"));
        if (destination == "file")
            QCOMPARE(readFile(target), QByteArray("theirs"));
        else if (destination == "folder")
            QVERIFY(QFileInfo(target).isDir());
        else if (destination == "link")
            QVERIFY(QFileInfo(target).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestPosixFileMover)
#include "tst_PosixFileMover.moc"
