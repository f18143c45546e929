// A save that cannot complete must leave the file exactly as it was. The
// faults are real: a file-size limit that stops the append part-way, and a
// file the saving user may not write. Each runs in a forked child so the
// limit or the dropped privileges do not reach the rest of the suite; the
// child's verdict comes back through its exit code.

#include "common/ForkedCheck.h"
#include "common/Mp3Files.h"
#include "common/TagTestFiles.h"
#include "tagfiles/classID3_V11.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TagTestFiles;

namespace {

enum ChildResult { Ok, SavedUnexpectedly, NotSaved, WrongErrorText, LimitNotSet, NoPrivilegeDrop, CannotReach,
                   StillWritable, LoadFailed, Died };
const char *const kResultTexts[] = {"ok", "the save returned true", "the save returned false",
                                    "ErrorString is not the code-2 text", "setrlimit failed",
                                    "could not drop to uid/gid 65534", "the unprivileged user cannot read the file",
                                    "the file is still writable, so the test would prove nothing",
                                    "loading the read-only file failed", "the child died"};

ChildResult inChild(const std::function<ChildResult()> &body)
{
    return resultInChild(body, Died);
}

const TagRecord kNewFields{.Title = "New title", .Artist = "New artist", .Album = "New album", .Year = "2024",
                           .Comment = "New comment", .TrackNumber = 9, .GenreID = 200};

}  // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    // RLIMIT_FSIZE at or just above the file's size: an append fails with
    // nothing or only part of the block written, and must be undone.
    // Rewriting a block in place stays within the limit and must still work.
    void sizeLimit_data()
    {
        QTest::addColumn<bool>("hasTag");
        QTest::addColumn<int>("room");  // bytes the file may grow by; below 0, shrink
        QTest::addColumn<bool>("saves");
        QTest::newRow("append, no room") << false << 0 << false;
        QTest::newRow("append, room for 1 byte") << false << 1 << false;
        QTest::newRow("append, room for 127 bytes") << false << 127 << false;
        QTest::newRow("append, room for the block") << false << 128 << true;
        QTest::newRow("overwrite in place, no room") << true << 0 << true;
        // The limit falls inside the old block: half of it is overwritten
        // before the write stops, and must be put back.
        QTest::newRow("overwrite in place, cut short") << true << -64 << false;
    }
    void sizeLimit()
    {
        QFETCH(bool, hasTag);
        QFETCH(int, room);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("limit.mp3"));
        const QByteArray content = mpegFrameFile(4096) + (hasTag ? RawBlock{"Old title"}.bytes() : QByteArray());
        QVERIFY(writeFile(file, content));

        const ChildResult result = inChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
            const auto limit = static_cast<rlim_t>(content.size() + room);
            const rlimit rl{limit, limit};
            if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
                return LimitNotSet;
            classID3_V11 tag;
            putTagFields(tag, kNewFields);
            const bool saved = tag.SaveMp3File(file);
            if (saved != saves)
                return saved ? SavedUnexpectedly : NotSaved;
            return tag.ErrorString() == (saves ? kNoError : kNotMp3) ? Ok : WrongErrorText;
        });
        QVERIFY2(result == Ok, kResultTexts[result]);

        const QByteArray after = readFile(file);
        if (!saves) {
            QVERIFY(after == content);
            return;
        }
        const qsizetype blockAt = hasTag ? content.size() - 128 : content.size();
        QCOMPARE(after.size(), blockAt + 128);
        QVERIFY(after.left(blockAt) == content.left(blockAt));
        QCOMPARE(readMp3Tag(file), kNewFields);
    }

    // A file the saving user may not write. Root writes through any mode bits,
    // so as root the child drops to nobody (65534) before saving a root-owned
    // 0644 file; otherwise the file is made read-only. Either way the load
    // succeeds and the save fails without a change.
    void unwritableFile_data()
    {
        QTest::addColumn<bool>("hasTag");
        QTest::newRow("tag present") << true;
        QTest::newRow("no tag") << false;
    }
    void unwritableFile()
    {
        QFETCH(bool, hasTag);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("readonly.mp3"));
        const QByteArray content = mpegFrameFile(2048) + (hasTag ? RawBlock{"Old title"}.bytes() : QByteArray());
        QVERIFY(writeFile(file, content));
        const QByteArray native = QFile::encodeName(file);
        const bool root = ::geteuid() == 0;
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        QCOMPARE(::chmod(native.constData(), root ? 0644 : 0444), 0);

        const ChildResult result = inChild([&] {
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return NoPrivilegeDrop;
            const int readable = ::open(native.constData(), O_RDONLY);
            if (readable < 0)
                return CannotReach;
            ::close(readable);
            const int writable = ::open(native.constData(), O_WRONLY);
            if (writable >= 0)
                return StillWritable;
            classID3_V11 tag;
            if (!tag.LoadMp3File(file) || tag.GetTrackName() != (hasTag ? QStringLiteral("Old title") : QString()))
                return LoadFailed;
            putTagFields(tag, kNewFields);
            if (tag.SaveMp3File(QString()))
                return SavedUnexpectedly;
            return tag.ErrorString() == kNotMp3 ? Ok : WrongErrorText;
        });
        if (result == CannotReach)
            QSKIP("the unprivileged user cannot reach the temporary folder; set TMPDIR to a world-traversable one");
        QVERIFY2(result == Ok, kResultTexts[result]);
        QVERIFY(readFile(file) == content);
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_SaveFaults.moc"
