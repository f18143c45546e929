// A save that cannot complete must leave the file exactly as it was. The
// faults are real: a file-size limit that stops the append part-way, and a
// file the saving user may not write. Each runs in a forked child so the
// limit or the dropped privileges do not reach the rest of the suite; the
// child's verdict comes back through its exit code.

#include "TagTestFiles.h"
#include "classID3_V11.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TagTestFiles;

namespace {

// Exit codes of the children.
enum ChildResult {
    Ok = 0,
    SavedUnexpectedly,
    NotSaved,
    WrongErrorText,
    LimitNotSet,
    PrivilegesNotDropped,
    CannotReach,      // the unprivileged user cannot even read the file
    StillWritable,    // the file is writable, so the test would prove nothing
    LoadFailed,
};

const char *describe(int code)
{
    switch (code) {
    case Ok: return "ok";
    case SavedUnexpectedly: return "the save returned true";
    case NotSaved: return "the save returned false";
    case WrongErrorText: return "ErrorString is not the code-2 text";
    case LimitNotSet: return "setrlimit failed";
    case PrivilegesNotDropped: return "could not drop to uid/gid 65534";
    case CannotReach: return "the unprivileged user cannot read the test file";
    case StillWritable: return "the file is still writable";
    case LoadFailed: return "loading the read-only file failed";
    default: return "unexpected exit";
    }
}

// Runs body in a child and returns its exit code, or -1 when it died.
int inChild(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0)
        ::_exit(body());
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void setFields(classID3_V11 &tag)
{
    tag.SetTrackName(QStringLiteral("New title"));
    tag.SetAirtistName(QStringLiteral("New artist"));
    tag.SetAlbumName(QStringLiteral("New album"));
    tag.SetReleaseYear(QStringLiteral("2024"));
    tag.SetComment(QStringLiteral("New comment"));
    tag.SetTrackNumber(9);
    tag.SetGenreID(200);
}

}  // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void sizeLimit_data();
    void sizeLimit();
    void unwritableFile_data();
    void unwritableFile();
};

// RLIMIT_FSIZE set at or just above the file's size: an append fails with
// nothing or only part of the block written, and must be undone. Rewriting a
// block in place stays within the limit and must still work.
void TestSaveFaults::sizeLimit_data()
{
    QTest::addColumn<bool>("hasTag");
    QTest::addColumn<int>("room");  // bytes the file may grow by
    QTest::addColumn<bool>("saves");

    QTest::newRow("append, no room") << false << 0 << false;
    QTest::newRow("append, room for 1 byte") << false << 1 << false;
    QTest::newRow("append, room for 127 bytes") << false << 127 << false;
    QTest::newRow("append, room for the block") << false << 128 << true;
    QTest::newRow("overwrite in place, no room") << true << 0 << true;
}

void TestSaveFaults::sizeLimit()
{
    QFETCH(bool, hasTag);
    QFETCH(int, room);
    QFETCH(bool, saves);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("limit.mp3"));
    RawBlock old{"Old title"};
    const QByteArray content = mpegFrameFile(4096) + (hasTag ? old.bytes() : QByteArray());
    QVERIFY(writeFile(file, content));

    const int result = inChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const auto limit = static_cast<rlim_t>(content.size() + room);
        const rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            return LimitNotSet;
        classID3_V11 tag;
        setFields(tag);
        const bool saved = tag.SaveMp3File(file);
        if (saved != saves)
            return saved ? SavedUnexpectedly : NotSaved;
        if (tag.ErrorString() != (saves ? kNoError : kNotMp3))
            return WrongErrorText;
        return Ok;
    });
    QVERIFY2(result == Ok, describe(result));

    const QByteArray after = readFile(file);
    if (!saves) {
        QCOMPARE(after.size(), content.size());
        QVERIFY(after == content);
        return;
    }
    const qsizetype blockAt = hasTag ? content.size() - 128 : content.size();
    QCOMPARE(after.size(), blockAt + 128);
    QVERIFY(after.left(blockAt) == content.left(blockAt));
    QCOMPARE(after.mid(blockAt + 3, 30), slot("New title", 30));
}

// A file the saving user may not write. Root writes through any mode bits, so
// as root the child drops to nobody (65534) before saving a root-owned 0644
// file; otherwise the file is made read-only. Either way the load succeeds
// (reading needs no write access) and the save fails without a change.
void TestSaveFaults::unwritableFile_data()
{
    QTest::addColumn<bool>("hasTag");
    QTest::newRow("tag present") << true;
    QTest::newRow("no tag") << false;
}

void TestSaveFaults::unwritableFile()
{
    QFETCH(bool, hasTag);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("readonly.mp3"));
    RawBlock old{"Old title"};
    old.track = 4;
    const QByteArray content = mpegFrameFile(2048) + (hasTag ? old.bytes() : QByteArray());
    QVERIFY(writeFile(file, content));
    const QByteArray native = QFile::encodeName(file);

    const bool root = ::geteuid() == 0;
    if (root) {
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(native.constData(), 0644) == 0);
    } else {
        QVERIFY(::chmod(native.constData(), 0444) == 0);
    }

    const int result = inChild([&] {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return PrivilegesNotDropped;
        const int readable = ::open(native.constData(), O_RDONLY);
        if (readable < 0)
            return CannotReach;
        ::close(readable);
        const int writable = ::open(native.constData(), O_WRONLY);
        if (writable >= 0) {
            ::close(writable);
            return StillWritable;
        }
        classID3_V11 tag;
        if (!tag.LoadMp3File(file) || tag.GetTrackName() != (hasTag ? QStringLiteral("Old title") : QString()))
            return LoadFailed;
        setFields(tag);
        if (tag.SaveMp3File(QString()))
            return SavedUnexpectedly;
        if (tag.ErrorString() != kNotMp3)
            return WrongErrorText;
        return Ok;
    });
    if (result == CannotReach)
        QSKIP("the unprivileged user cannot reach the temporary folder; set TMPDIR to a world-traversable one");
    QVERIFY2(result == Ok, describe(result));

    const QByteArray after = readFile(file);
    QCOMPARE(after.size(), content.size());
    QVERIFY(after == content);
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
