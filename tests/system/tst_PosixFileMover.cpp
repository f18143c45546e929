// Moving a file within its folder: it moves, or fails and leaves both names as
// they were; an existing destination is never replaced.

#include "common/FileBytes.h"
#include "system/PosixFileMover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// An exFAT file system (neither RENAME_NOREPLACE nor hard links) mounted
// through FUSE for as long as it lives; unusable where the machine allows
// no such mount (no root, no /dev/fuse, no tools).
class ExfatMount
{
public:
    ExfatMount()
    {
        const QString image = folder_.filePath(QStringLiteral("exfat.img"));
        QFile file(image);
        if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/dev/fuse")) || !file.open(QIODevice::WriteOnly)
            || !file.resize(8 * 1024 * 1024))
            return;
        file.close();
        point_ = folder_.filePath(QStringLiteral("mnt"));
        if (!QDir(folder_.path()).mkdir(QStringLiteral("mnt"))
            || !run(QStringLiteral("mkfs.exfat"), {image}))
            return;
        // Run by root, exfat-fuse mounts only a block device.
        QProcess loop;
        loop.start(QStringLiteral("losetup"), {QStringLiteral("--find"), QStringLiteral("--show"), image});
        if (!loop.waitForFinished(20000) || loop.exitCode() != 0)
            return;
        device_ = QString::fromLocal8Bit(loop.readAllStandardOutput()).trimmed();
        mounted_ = run(QStringLiteral("mount.exfat-fuse"), {device_, point_});
    }
    ~ExfatMount()
    {
        if (mounted_)
            (void)run(QStringLiteral("fusermount3"), {QStringLiteral("-u"), point_});
        if (!device_.isEmpty())
            (void)run(QStringLiteral("losetup"), {QStringLiteral("-d"), device_});
    }
    bool mounted() const { return mounted_; }
    QString filePath(const QString &name) const { return point_ + u'/' + name; }
    QString path() const { return point_; }

private:
    QTemporaryDir folder_;
    QString point_;
    QString device_;
    bool mounted_ = false;
};

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

    // exFAT has neither a rename that refuses to replace nor hard links: the
    // move takes the new name with a placeholder first, and still never
    // replaces a file standing there.
    void movesOnExfat_data()
    {
        QTest::addColumn<bool>("taken");
        QTest::newRow("free name") << false;
        QTest::newRow("name taken") << true;
    }
    void movesOnExfat()
    {
        QFETCH(bool, taken);
        const ExfatMount exfat;
        if (!exfat.mounted())
            QSKIP("No exFAT file system can be mounted here (needs root, /dev/fuse, a loop device, exfatprogs, exfat-fuse)");
        QVERIFY(writeFile(exfat.filePath("a.mp3"), "audio"));
        if (taken)
            QVERIFY(writeFile(exfat.filePath("b.mp3"), "theirs"));

        const FileResult moved = PosixFileMover().moveFile(exfat.filePath("a.mp3"), exfat.filePath("b.mp3"));

        QCOMPARE(int(moved.problem), int(taken ? FileProblem::NameTaken : FileProblem::None));
        QCOMPARE(entries(exfat.path()), taken ? QStringList({"a.mp3", "b.mp3"}) : QStringList{"b.mp3"});
        QCOMPARE(readFile(exfat.filePath("b.mp3")), QByteArray(taken ? "theirs" : "audio"));
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
