// Writing both tags of real files as W does, read back with TagLib: the
// fields in their frames and encodings, every other frame byte for byte,
// the audio untouched, the ID3v1 block exactly as a save writes it; and the
// files refused, and the faults that must leave a file as it was with
// nothing beside it.

#include "common/CountedSyncs.h"
#include "common/ForkedCheck.h"
#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "files/FileLock.h"
#include "files/JournalRecovery.h"
#include "files/FileSnapshot.h"
#include "files/StopSignals.h"
#include "files/WriteCalls.h"
#include "id3v1/TagBlock.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2InStep.h"
#include "tagfiles/Id3v2WriteBatch.h"
#include "tagfiles/TagWriteBatch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr quint8 kNoGenre = 255;

QByteArray t23(const char *id, const QByteArray &text)
{
    return frame23(id, textData(text));
}

// The frames no field owns, each version's own, and a 2 KB picture.
QByteArray otherFrames(quint8 version)
{
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(2048, '\xD8');
    const auto frame = version == 4 ? frame24 : frame23;
    return frame("APIC", picture, 0) + frame("PRIV", QByteArray("owner\0\xFF\x00\x01", 9), 0)
           + frame("USLT", QByteArray("\0eng\0la la", 10), 0) + frame("TXXX", QByteArray("\0replaygain\0-6 dB", 17), 0)
           + frame("COMM", QByteArray("\0eng iTunNORM\0 0000", 19), 0);
}

// Audio with sync bytes all through it.
QByteArray audio()
{
    QByteArray bytes = mpegFrameFile(8192);
    for (qsizetype i = 4; i < bytes.size(); i += 7)
        bytes[i] = static_cast<char>(i * 31);
    return bytes;
}

QByteArray v1Block()
{
    return QByteArray("TAG") + QByteArray("Old title").leftJustified(30, ' ') + QByteArray(92, ' ') + QByteArray(1, '\0')
           + "\x03\x11";
}

// A row no tag is in step with: text only UTF-16 and UTF-8 hold, a letter
// CP932 lacks.
const TagRecord kRow{.Title = "夜明けの歌", .Artist = "Café Trio", .Album = "ベスト", .Year = "1998",
                     .Comment = "いい曲", .TrackNumber = 7, .GenreID = 17};

QByteArray sha256(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The file's ID3v2 tag as its header announces it; empty without one.
QByteArray tagOf(const QByteArray &file)
{
    Id3v2Header header;
    if (readId3v2Header(file.first(std::min<qsizetype>(file.size(), 10)), header) != Id3v2HeaderState::Tag)
        return {};
    return file.first(header.tagSize());
}

// The frames of a tag that no field owns, each as its bytes, with a 2.2
// frame's data under its 2.3 id.
QList<QByteArray> otherFramesOf(const QByteArray &tag)
{
    static const QList<QByteArray> kFieldIds = {"TIT2", "TPE1", "TALB", "TYER", "TDRC", "TRCK", "TCON", "TT2",
                                                "TP1",  "TAL",  "TYE",  "TRK",  "TCO"};
    const Id3v2Tag walked = walkId3v2Tag(tag);
    QList<QByteArray> frames;
    for (const Id3v2Frame &frame : walked.frames) {
        const QByteArray bytes = walked.frameBytes(frame).toByteArray();
        const bool comment = frame.id == "COMM" || frame.id == "COM";
        if (kFieldIds.contains(frame.id) || (comment && !bytes.contains("iTunNORM")))
            continue;
        frames << bytes.sliced(id3v2FrameHeaderSize(walked.header.version));
    }
    return frames;
}

// The fields and the encoding of each text frame TagLib reads, as text.
QString readBack(const QString &path)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    if (!tag)
        return QStringLiteral("no tag");
    const auto text = [](const TagLib::String &s) { return QString::fromStdWString(s.toWString()); };
    QStringList parts{QStringLiteral("v%1").arg(tag->header()->majorVersion())};
    for (const char *id : {"TIT2", "TPE1", "TALB", "TDRC", "TRCK", "TCON"}) {
        for (TagLib::ID3v2::Frame *frame : tag->frameListMap()[id]) {
            const auto *textFrame = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame *>(frame);
            parts << QStringLiteral("%1(%2)=%3").arg(QString::fromLatin1(id)).arg(textFrame->textEncoding())
                         .arg(text(frame->toString()));
        }
    }
    for (TagLib::ID3v2::Frame *frame : tag->frameListMap()["COMM"]) {
        const auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame);
        if (comment->description().isEmpty())
            parts << QStringLiteral("COMM(%1,%2)=%3")
                         .arg(comment->textEncoding())
                         .arg(QString::fromLatin1(comment->language().data(), 3), text(comment->text()));
    }
    return parts.join(u' ');
}

// The block a save writes for the row into a file without one.
QByteArray renderTagBlockBytes(const TagRecord &row)
{
    const TagBlock block = renderTagBlock(row, TagBlock{});
    return QByteArray(reinterpret_cast<const char *>(block.data()), kTagBlockSize);
}

QString failureName(const FileResult &result)
{
    static const char *const kNames[] = {"none",         "changed",        "not regular",   "missing",
                                         "not mp3",      "no permission",  "disk full",     "name taken",
                                         "tag unreadable", "tag cut short", "frame not carried", "hard links",
                                         "folder not writable", "owner not kept", "folder sync failed", "unusable name",
                                         "read-only", "in use", "interrupted", "acl not kept", "attributes not kept",
                                         "times not kept", "system"};
    static_assert(std::size(kNames) == std::size_t(FileProblem::System) + 1);
    return QString::fromLatin1(kNames[static_cast<int>(result.problem)]);
}

// The file at path as Kalvo remembers a file it has read, taken now.
std::optional<FileSnapshot> snapshotOf(const QString &path)
{
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    return file.isOpen() ? takeSnapshot(file.get()) : std::nullopt;
}

// A 2.3 file the row is not in step with, with its block.
QByteArray songFile()
{
    return id3v2Tag(3, t23("TIT2", "Old") + otherFrames(3)) + audio() + v1Block();
}

// The names in the folder.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestId3v2WriteBatch : public QObject
{
    Q_OBJECT

private slots:
    // TagLib reads what the row holds, in the encoding of the version; the
    // other frames, the audio and the rest of the file come through.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<bool>("hasBlock");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<bool>("sameTagSize");

        const QString utf16 = "v3 TIT2(1)=夜明けの歌 TPE1(1)=Café Trio TALB(1)=ベスト TDRC(1)=1998 TRCK(1)=7 TCON(1)=Rock "
                              "COMM(1,jpn)=いい曲";
        const QString utf8 = "v4 TIT2(3)=夜明けの歌 TPE1(3)=Café Trio TALB(3)=ベスト TDRC(3)=1998 TRCK(3)=7 TCON(3)=Rock "
                             "COMM(3,jpn)=いい曲";
        const QByteArray fields23 = t23("TIT2", "Old") + t23("TPE1", "Old") + t23("TYER", "1990")
                                    + frame23("COMM", commentData("", "old"));
        QTest::newRow("2.3, no room") << id3v2Tag(3, fields23 + otherFrames(3)) << true << utf16 << false;
        QTest::newRow("2.3 from another writer")
            << tagOf(readFile(QStringLiteral(KALVO_ID3V2_DATA "/v23_utf16.mp3"))) << false
            << "v3 TIT2(1)=夜明けの歌 TPE1(1)=Café Trio TALB(1)=ベスト TDRC(1)=1998 TRCK(1)=7/12 TCON(1)=17 "
               "COMM(1,jpn)=いい曲"
            << true;
        QTest::newRow("2.4, room to spare")
            << id3v2Tag(4, frame24("TIT2", textData("Old")) + otherFrames(4) + QByteArray(4096, '\0')) << true << utf8
            << true;
        QTest::newRow("2.2") << id3v2Tag(2, frame22("TT2", textData("Old")) + frame22("COM", commentData("", "old"))
                                                + frame22("PIC", QByteArray("\0PNG\x03\0\x89PNG", 10))
                                                + frame22("ULT", QByteArray("\0eng\0la la", 10)))
                             << true << utf16 << false;
        QTest::newRow("no tag") << QByteArray() << false << utf16 << false;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, tag);
        QFETCH(bool, hasBlock);
        QFETCH(QString, reading);
        QFETCH(bool, sameTagSize);
        // The audio copied in the kernel, and through a buffer as where the
        // file system cannot.
        for (const bool copyInKernel : {true, false}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("song.mp3");
            const QByteArray before = tag + audio() + (hasBlock ? v1Block() : QByteArray());
            QVERIFY(writeFile(path, before));
            QVERIFY(writeFile(dir.filePath("saved.mp3"), before));
            const std::optional<FileIdentity> identity = fileIdentity(path);
            {
                TagWriteBatch save;
                QVERIFY(save.add(dir.filePath("saved.mp3"), kRow).result.ok());
            }

            Id3v2WriteBatch batch(Id3v2WriteBatch::Options{.copyInKernel = copyInKernel});
            QCOMPARE(failureName(batch.add(path, kRow, kAllId3v2Fields, snapshotOf(path))), "none");
            const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
            QCOMPARE(outcomes.size(), 1);
            QCOMPARE(failureName(outcomes.front().result), "none");
            // Remembered as written: the next save finds the file as Kalvo left it.
            QCOMPARE(outcomes.front().snapshot, snapshotOf(path));

            QCOMPARE(readBack(path), reading);
            const QByteArray after = readFile(path);
            const QByteArray newTag = tagOf(after);
            QList<QByteArray> others = otherFramesOf(tag);
            for (QByteArray &frame : others)  // a 2.2 picture's format becomes a MIME type
                frame.replace(QByteArray("\0PNG", 4), QByteArray("\0image/png\0", 11));
            QCOMPARE(otherFramesOf(newTag), others);
            QCOMPARE(sha256(after.sliced(newTag.size()).chopped(128)), sha256(audio()));
            QCOMPARE(after.last(128), readFile(dir.filePath("saved.mp3")).last(128));
            // A tag that fits is written in place: the file stays that file.
            if (sameTagSize)
                QCOMPARE(newTag.size(), tag.size());
            else
                QCOMPARE(newTag.size(), walkId3v2Tag(newTag).framesEnd + Id3v2WriteBatch::kNewTagPadding);
            QCOMPARE(fileIdentity(path) == identity, sameTagSize);
            QCOMPARE(id3v2Reading(*outcomes.front().reading), id3v2Reading(parseId3v2Text(newTag)));
            QCOMPARE(namesIn(dir.path()), QStringList({"saved.mp3", "song.mp3"}));
        }
    }

    // Files W does not write: each is left as it was, and nothing is made
    // beside it.
    void refused_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing") << "missing" << QByteArray() << "missing";
        QTest::newRow("hard link") << "hard link" << songFile() << "hard links";
        QTest::newRow("not the file loaded") << "other identity" << songFile() << "changed";
        QTest::newRow("no MP3") << "nothing expected" << QByteArray("RIFF....WAVEfmt ") + audio() << "not mp3";
        QTest::newRow("no longer an MP3") << "" << QByteArray("RIFF....WAVEfmt ") + audio() << "changed";
        QTest::newRow("tag rewritten since read") << "tag rewritten" << songFile() << "changed";
        QTest::newRow("malformed extended header")
            << "" << id3v2Tag(3, bigEndian32(99) + QByteArray(6, '\0') + t23("TIT2", "Old"), 0x40) + audio()
            << "tag unreadable";
        QTest::newRow("tag into the block")
            << "" << id3v2Tag(3, t23("TIT2", "Old") + QByteArray(100, '\0')).chopped(50) + v1Block()
            << "tag unreadable";
        QTest::newRow("frames cut short") << "" << id3v2Tag(3, t23("TIT2", "Old") + "\x01\x02junk") + audio()
                                          << "tag cut short";
        QTest::newRow("2.2 frame without counterpart")
            << "" << id3v2Tag(2, frame22("TT2", textData("Old")) + frame22("CRM", "x\0y")) + audio()
            << "frame not carried";
    }
    void refused()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        if (setup != "missing")
            QVERIFY(writeFile(path, bytes));
        std::optional<FileSnapshot> expected = snapshotOf(path);
        if (setup == "nothing expected")
            expected.reset();
        if (setup == "tag rewritten") {
            QByteArray block = v1Block();
            block.replace(3, 3, "New");
            QVERIFY(writeFile(path, bytes.chopped(128) + block));
            bytes = readFile(path);
        }
        if (setup == "hard link")
            QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("link.mp3")).constData()), 0);
        if (setup == "other identity") {
            QVERIFY(writeFile(dir.filePath("other.mp3"), bytes));
            expected = snapshotOf(dir.filePath("other.mp3"));
        }
        const QStringList names = namesIn(dir.path());

        Id3v2WriteBatch batch;
        QCOMPARE(failureName(batch.add(path, kRow, kAllId3v2Fields, expected)), failure);
        QVERIFY(batch.finish().isEmpty());
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(namesIn(dir.path()), names);
    }

    // A tag in step keeps its bytes and the file its inode: only the block is
    // written, in place, as a save writes it. So with a tag that would come
    // out the same: a comment with a description is read as the comment
    // when none without is left, and W removes only those.
    void blockOnly_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::newRow("in step") << id3v2Tag(3, t23("TIT2", "Dawn") + frame23("PRIV", "x"));
        QTest::newRow("nothing to change") << id3v2Tag(3, t23("TIT2", "Dawn") + otherFrames(3));
    }
    void blockOnly()
    {
        QFETCH(QByteArray, tag);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(writeFile(path, tag + audio() + v1Block()));
        const std::optional<FileIdentity> identity = fileIdentity(path);
        const TagRecord row{.Title = "Dawn", .GenreID = kNoGenre};

        Id3v2WriteBatch batch;
        QCOMPARE(failureName(batch.add(path, row, kAllId3v2Fields, snapshotOf(path))), "none");
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        QCOMPARE(failureName(outcomes.front().result), "none");
        QCOMPARE(outcomes.front().snapshot, snapshotOf(path));
        QCOMPARE(fileIdentity(path), identity);
        QCOMPARE(readFile(path), tag + audio() + renderTagBlockBytes(row));
    }

    // Faults between the new file's writing and its name: the old file keeps
    // its name and bytes (or the other program's), and nothing is left
    // beside it, whichever means the file system offers.
    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("unnamedFile");
        QTest::addColumn<bool>("exchange");
        QTest::addColumn<QString>("failure");
        for (const bool unnamedFile : {true, false}) {
            for (const bool exchange : {true, false}) {
                const QString means = QStringLiteral("%1 file, %2")
                                          .arg(unnamedFile ? "unnamed" : "named", exchange ? "exchange" : "rename");
                const auto row = [&](const char *fault, const char *failure) {
                    QTest::addRow("%s, %s", fault, qPrintable(means)) << fault << unnamedFile << exchange << failure;
                };
                row("sync fails", "system");
                row("another file put at the name", "changed");
                row("the name removed", "changed");
                row("old file written meanwhile", "changed");
                row("old file linked meanwhile", "changed");
            }
        }
    }
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(bool, unnamedFile);
        QFETCH(bool, exchange);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        const QByteArray before = songFile();
        QVERIFY(writeFile(path, before));
        const QByteArray other = "another file";
        QByteArray expected = before;
        QStringList names{"song.mp3"};
        const QByteArray native = QFile::encodeName(path);
        Id3v2WriteBatch::Options options{.methods = {.unnamedFile = unnamedFile, .exchange = exchange}};
        options.syncNewFile = [&](int fd) {
            if (fault == "another file put at the name") {
                writeFile(dir.filePath("other"), other);
                ::rename(QFile::encodeName(dir.filePath("other")).constData(), native.constData());
            } else if (fault == "the name removed") {
                ::unlink(native.constData());
            } else if (fault == "old file written meanwhile") {
                QFile file(path);
                file.open(QIODevice::Append);
                file.write("x");
            } else if (fault == "old file linked meanwhile") {
                ::link(native.constData(), QFile::encodeName(dir.filePath("link.mp3")).constData());
            }
            return fault != "sync fails" && syncAll(fd);
        };
        if (fault == "another file put at the name")
            expected = other;
        if (fault == "old file written meanwhile")
            expected += 'x';
        if (fault == "old file linked meanwhile")
            names.prepend("link.mp3");
        if (fault == "the name removed")
            names.clear();

        Id3v2WriteBatch batch(options);
        QCOMPARE(failureName(batch.add(path, kRow, kAllId3v2Fields, snapshotOf(path))), "none");
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        QCOMPARE(failureName(outcomes.front().result), failure);
        QCOMPARE(outcomes.front().snapshot, std::nullopt);
        if (!names.isEmpty())
            QCOMPARE(readFile(path), expected);
        QCOMPARE(namesIn(dir.path()), names);
    }

    // A crash once the new file is written and synced, before it gets its
    // name, leaves the old file and nothing else.
    void crashBeforeRename()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(writeFile(path, songFile()));
        const int code = exitCodeInChild([&] {
            Id3v2WriteBatch::Options options;
            options.syncNewFile = [](int fd) {
                if (syncAll(fd))
                    ::_exit(42);
                return false;
            };
            Id3v2WriteBatch batch(options);
            (void)batch.add(path, kRow, kAllId3v2Fields);
            batch.finish();
            return 1;
        });
        QCOMPARE(code, 42);
        QCOMPARE(readFile(path), songFile());
        QCOMPARE(namesIn(dir.path()), QStringList{"song.mp3"});
    }

    // The new file takes the old one's owner, group and permissions; a
    // symlink to the file stays a symlink, to the new file.
    void ownerModeAndSymlink()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(writeFile(path, songFile()));
        const QByteArray native = QFile::encodeName(path);
        if (::geteuid() == 0)
            QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(native.constData(), 0640), 0);
        struct stat before {};
        QCOMPARE(::stat(native.constData(), &before), 0);
        const QString link = dir.filePath("link.mp3");
        QVERIFY(QFile::link(path, link));

        Id3v2WriteBatch batch;
        QCOMPARE(failureName(batch.add(link, kRow, kAllId3v2Fields, snapshotOf(link))), "none");
        QCOMPARE(failureName(batch.finish().front().result), "none");
        struct stat after {};
        QCOMPARE(::stat(native.constData(), &after), 0);
        QVERIFY(after.st_ino != before.st_ino);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(QFileInfo(link).symLinkTarget(), path);
        QCOMPARE(readBack(link).section(u' ', 1, 1), "TIT2(1)=夜明けの歌");
    }

    // In place, only the bytes that change are written, through a journal
    // made durable first (its data, then its folder), then the file is
    // synced and the journal removed; with keepTimes the times stay to the
    // nanosecond, as they do for a file written anew.
    void inPlaceWritesOnlyWhatChanges_data()
    {
        QTest::addColumn<bool>("keepTimes");
        QTest::addColumn<bool>("room");
        QTest::newRow("in place") << false << true;
        QTest::newRow("in place, times kept") << true << true;
        QTest::newRow("anew, times kept") << true << false;
        QTest::newRow("S, times kept") << true << true;
    }
    void inPlaceWritesOnlyWhatChanges()
    {
        QFETCH(bool, keepTimes);
        QFETCH(bool, room);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("cd"));
        const QString path = dir.filePath("cd/song.mp3");
        const QByteArray tag = id3v2Tag(3, otherFrames(3) + t23("TIT2", "Old") + QByteArray(room ? 600 : 0, '\0'));
        const QByteArray before = tag + audio() + v1Block();
        QVERIFY(writeFile(path, before));
        const QByteArray native = QFile::encodeName(path);
        const timespec times[2] = {{1'000'000'000, 123'456'789}, {1'100'000'000, 987'654'321}};
        QCOMPARE(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
        CountedSyncs::take(dir.path());

        const TagRecord row{.Title = "Dawn", .GenreID = kNoGenre};
        if (QByteArray(QTest::currentDataTag()).startsWith("S")) {
            TagWriteBatch save(syncData, keepTimes);
            QCOMPARE(failureName(save.add(path, row, snapshotOf(path)).result), "none");
            QVERIFY(save.finish().isEmpty());
            struct stat info {};
            QCOMPARE(::stat(native.constData(), &info), 0);
            QCOMPARE(info.st_mtim.tv_sec == times[1].tv_sec && info.st_mtim.tv_nsec == times[1].tv_nsec, keepTimes);
            QCOMPARE(info.st_atim.tv_sec == times[0].tv_sec && info.st_atim.tv_nsec == times[0].tv_nsec, keepTimes);
            return;
        }
        Id3v2WriteBatch batch(Id3v2WriteBatch::Options{.keepTimes = keepTimes});
        QCOMPARE(failureName(batch.add(path, row, {Id3v2Field::Title}, snapshotOf(path))), "none");
        QCOMPARE(failureName(batch.finish().front().result), "none");
        struct stat info {};
        QCOMPARE(::stat(native.constData(), &info), 0);

        const QByteArray after = readFile(path);
        QCOMPARE(readBack(path).section(u' ', 1, 1), "TIT2(1)=Dawn");
        QCOMPARE(namesIn(dir.filePath("cd")), QStringList{"song.mp3"});
        QCOMPARE(info.st_mtim.tv_sec == times[1].tv_sec && info.st_mtim.tv_nsec == times[1].tv_nsec, keepTimes);
        QCOMPARE(info.st_atim.tv_sec == times[0].tv_sec && info.st_atim.tv_nsec == times[0].tv_nsec, keepTimes);
        if (!room)
            return;
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.sliced(tag.size()).chopped(128), audio());
        // TIT2 comes last: the frames before it are not written.
        const qsizetype kept = 10 + otherFrames(3).size();
        QCOMPARE(after.first(kept), before.first(kept));
        QStringList calls = CountedSyncs::take(dir.path());
        calls.replaceInStrings(dir.path() + u'/', QString());
        calls.replaceInStrings(QRegularExpression(QStringLiteral("\\.kalvo-[0-9a-f]+\\.journal$")), QStringLiteral("journal"));
        calls.replaceInStrings(QRegularExpression(QStringLiteral("#\\d+ \\(deleted\\)$")), QStringLiteral("journal"));
        QCOMPARE(calls, QStringList({"fdatasync cd/journal", "fsync cd", "fdatasync cd/song.mp3"}));
    }

    // A cover of 20 KB, whose data W reads only to write the tag whole:
    // around texts before it, it stays where it is; where it must move (a
    // lone title before it that grows, or a tag without room) its bytes
    // come through.
    void aroundACover_data()
    {
        QTest::addColumn<QByteArray>("texts");
        QTest::addColumn<int>("padding");
        QTest::addColumn<bool>("coverStays");
        QTest::addColumn<bool>("inPlace");
        const QByteArray texts = t23("TIT2", "Old") + t23("TPE1", "Taro") + t23("TALB", "Best") + t23("TCON", "(17)");
        QTest::newRow("texts before it: it stays") << texts << 600 << true << true;
        QTest::newRow("a lone title before it: the tag written whole") << t23("TIT2", "Old") << 600 << false << true;
        QTest::newRow("no room: anew") << texts << 0 << false << false;
    }
    void aroundACover()
    {
        QFETCH(QByteArray, texts);
        QFETCH(int, padding);
        QFETCH(bool, coverStays);
        QFETCH(bool, inPlace);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14);
        for (int i = 0; i < 20 * 1024; ++i)
            picture += static_cast<char>(i * 7 + 1);
        const QByteArray cover = frame23("APIC", picture);
        const QByteArray tag = id3v2Tag(3, texts + cover + QByteArray(padding, '\0'));
        // Written in pieces: no freed buffer holds the tag as the file does,
        // where a read that left the cover out could find it by chance.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(tag) == tag.size() && file.write(audio()) > 0
                && file.write(v1Block()) == 128);
        file.close();
        const std::optional<FileIdentity> before = fileIdentity(path);

        Id3v2WriteBatch batch;
        const TagRecord row{.Title = "Dawn Song", .Artist = "Taro", .Album = "Best", .GenreID = 17};
        QCOMPARE(failureName(batch.add(path, row, kAllId3v2Fields, snapshotOf(path))), "none");
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        QCOMPARE(failureName(outcomes.front().result), "none");
        QCOMPARE(fileIdentity(path) == before, inPlace);
        const QByteArray after = readFile(path);
        const QByteArray newTag = tagOf(after);
        QCOMPARE(newTag.size() == tag.size(), inPlace);
        QCOMPARE(after.sliced(newTag.size()).chopped(128), audio());
        QCOMPARE(newTag.indexOf(cover) == tag.indexOf(cover), coverStays);
        QVERIFY(newTag.contains(cover));
        QCOMPARE(readBack(path).section(u' ', 1, 2), "TIT2(1)=Dawn Song");
        QCOMPARE(outcomes.front().reading->fields.Title, std::optional<QString>("Dawn Song"));
        QCOMPARE(namesIn(dir.path()), QStringList{"song.mp3"});
    }

    // Of two names in one folder, the second a symlink to a file elsewhere:
    // each file's journal goes beside the file itself.
    void journalBesideASymlinksTarget()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("cd") && QDir(dir.path()).mkdir("other"));
        const QByteArray song = id3v2Tag(3, t23("TIT2", "Old") + QByteArray(600, '\0')) + audio() + v1Block();
        QVERIFY(writeFile(dir.filePath("cd/a.mp3"), song) && writeFile(dir.filePath("other/b.mp3"), song));
        QVERIFY(QFile::link(dir.filePath("other/b.mp3"), dir.filePath("cd/b.mp3")));
        CountedSyncs::take(dir.path());
        Id3v2WriteBatch batch;
        for (const char *name : {"cd/a.mp3", "cd/b.mp3"})
            QCOMPARE(failureName(batch.add(dir.filePath(name), {.Title = "Dawn", .GenreID = kNoGenre}, {Id3v2Field::Title})),
                     "none");
        for (const Id3v2WriteBatch::Outcome &outcome : batch.finish())
            QCOMPARE(failureName(outcome.result), "none");
        QStringList calls = CountedSyncs::take(dir.path());
        calls.replaceInStrings(dir.path() + u'/', QString());
        calls.replaceInStrings(QRegularExpression(QStringLiteral("\\.kalvo-[0-9a-f]+\\.journal$")), QStringLiteral("journal"));
        calls.replaceInStrings(QRegularExpression(QStringLiteral("#\\d+ \\(deleted\\)$")), QStringLiteral("journal"));
        calls.sort();
        QCOMPARE(calls, QStringList({"fdatasync cd/a.mp3", "fdatasync cd/journal", "fdatasync other/b.mp3",
                                     "fdatasync other/journal", "fsync cd", "fsync other"}));
    }

    // Faults in place: the file keeps its bytes, or the other program's,
    // and no journal is left. Another program that rewrites the front of
    // the file after W read it (same size, same last bytes) is found out by
    // the file's modification time, in place and anew.
    void inPlaceFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("room");
        QTest::addColumn<QString>("failure");
        QTest::newRow("journal sync fails") << "journal sync" << true << "system";
        QTest::newRow("file sync fails") << "file sync" << true << "system";
        QTest::newRow("front rewritten, in place") << "front" << true << "changed";
        QTest::newRow("front rewritten, anew") << "front" << false << "changed";
    }
    void inPlaceFaults()
    {
        QFETCH(QString, fault);
        QFETCH(bool, room);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        const QByteArray before
            = id3v2Tag(3, t23("TIT2", "Old") + otherFrames(3) + QByteArray(room ? 600 : 0, '\0')) + audio() + v1Block();
        QVERIFY(writeFile(path, before));
        int syncs = 0;
        Id3v2WriteBatch::Options options;
        options.syncFile = [&](int fd) {
            ++syncs;
            return !(fault == "journal sync" && syncs == 1) && !(fault == "file sync" && syncs == 2) && syncData(fd);
        };
        Id3v2WriteBatch batch(options);
        QCOMPARE(failureName(batch.add(path, kRow, kAllId3v2Fields, snapshotOf(path))), "none");
        QByteArray expected = before;
        if (fault == "front") {
            QTest::qWait(20);  // past the file system's clock tick
            expected[40] = 'X';
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(40) && file.write("X") == 1);
        }
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        QCOMPARE(failureName(outcomes.front().result), failure);
        QCOMPARE(outcomes.front().snapshot, std::nullopt);
        QCOMPARE(readFile(path), expected);
        QCOMPARE(namesIn(dir.path()), QStringList{"song.mp3"});
    }

    // Files in place are written in lots, each by its own thread through its
    // own journal, and held open until done: with few descriptors the batch
    // waits for lots before it takes more files. A file whose sync fails is
    // put back, and only its entry fails, whichever lot it was in.
    void lots_data()
    {
        QTest::addColumn<int>("failing");
        QTest::newRow("in the first lot") << 1;
        QTest::newRow("in the last lot") << 39;
    }
    void lots()
    {
        QFETCH(int, failing);
        QTemporaryDir dir;
        const QByteArray before = id3v2Tag(3, t23("TIT2", "Old") + QByteArray(600, '\0')) + audio() + v1Block();
        QStringList paths;
        for (int i = 0; i < 40; ++i) {
            paths << dir.filePath(QStringLiteral("%1.mp3").arg(i));
            QVERIFY(writeFile(paths.last(), before));
        }
        const QString failingName = QFileInfo(paths.at(failing)).canonicalFilePath();
        const int code = exitCodeInChild([&] {
            const rlimit limit{64, 64};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                return 1;
            Id3v2WriteBatch::Options options;
            options.inPlaceLot = 2;
            // The failing file's first sync fails; that of its old bytes put back does not.
            std::atomic<bool> failed = false;
            options.syncFile = [&](int fd) {
                return (QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).canonicalFilePath() != failingName
                        || failed.exchange(true))
                       && syncData(fd);
            };
            Id3v2WriteBatch batch(options);
            for (const QString &path : paths)
                if (!batch.add(path, kRow, kAllId3v2Fields).ok())
                    return 2;
            const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
            for (int i = 0; i < paths.size(); ++i)
                if (failureName(outcomes.at(i).result) != (i == failing ? "system" : "none"))
                    return 3;
            return 0;
        });
        QCOMPARE(code, 0);
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(readFile(paths.at(i)) == before, i == failing);
        QCOMPARE(namesIn(dir.path()).size(), paths.size());
    }

    // A field the row holds blank is written blank: its frames go, also
    // one that cannot be read (an encrypted title).
    void blankFieldRemovesAnUnreadableFrame()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        const QByteArray encrypted = frame23("TIT2", QByteArray("\x80", 1) + textData("secret"), 0x0040);
        QVERIFY(writeFile(path, id3v2Tag(3, encrypted + t23("TPE1", "Taro") + QByteArray(200, '\0')) + audio() + v1Block()));
        const TagRecord row{.Artist = "Taro", .GenreID = kNoGenre};
        Id3v2WriteBatch batch;
        QCOMPARE(failureName(batch.add(path, row, kAllId3v2Fields, snapshotOf(path))), "none");
        QCOMPARE(failureName(batch.finish().front().result), "none");
        QCOMPARE(readBack(path), "v3 TPE1(0)=Taro");
    }

    // A second writer waits for the first's lock and then finds the file
    // changed, instead of writing over it.
    void secondWriterFindsTheFirstsWrite_data()
    {
        QTest::addColumn<bool>("both");
        QTest::newRow("S") << false;
        QTest::newRow("W") << true;
    }
    void secondWriterFindsTheFirstsWrite()
    {
        QFETCH(bool, both);
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        QVERIFY(writeFile(path, songFile()));
        const std::optional<FileSnapshot> loaded = snapshotOf(path);
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t first = ::fork();
        if (first == 0) {
            // The first writer: holds the lock a while, then writes.
            const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDWR));
            (void)lockForWriting(file.get());
            (void)!::write(ready[1], "x", 1);
            ::usleep(200'000);
            (void)writeAt(file.get(), reinterpret_cast<const unsigned char *>("First"), 5,
                          readFile(path).size() - 125);
            ::_exit(0);
        }
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), 1);
        FileResult result;
        if (both) {
            Id3v2WriteBatch batch;
            result = batch.add(path, kRow, kAllId3v2Fields, loaded);
        } else {
            TagWriteBatch batch;
            result = batch.add(path, kRow, loaded).result;
        }
        int status = 0;
        ::waitpid(first, &status, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        QCOMPARE(failureName(result), "changed");
        QCOMPARE(readFile(path).last(125).first(5), QByteArray("First"));
    }

    // Once a stop is asked for, no further file is taken; the files taken
    // are finished.
    void stopTakesNoFurtherFile()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.mp3", "b.mp3"})
            QVERIFY(writeFile(dir.filePath(name), songFile()));
        const int code = exitCodeInChild([&] {
            catchStopSignals();
            Id3v2WriteBatch batch;
            TagWriteBatch blocks;
            if (!batch.add(dir.filePath("a.mp3"), kRow, kAllId3v2Fields).ok())
                return 1;
            ::raise(SIGTERM);
            if (batch.add(dir.filePath("b.mp3"), kRow, kAllId3v2Fields).problem != FileProblem::Interrupted
                || blocks.add(dir.filePath("b.mp3"), kRow).result.problem != FileProblem::Interrupted)
                return 2;
            return batch.finish().front().result.ok() ? 0 : 3;
        });
        QCOMPARE(code, 0);
        QCOMPARE(readBack(dir.filePath("a.mp3")).section(u' ', 1, 1), "TIT2(1)=夜明けの歌");
        QCOMPARE(readFile(dir.filePath("b.mp3")), songFile());
    }

    // The new files are synced, then their folder once, after they have
    // their names; a block written in place is synced as a save syncs it.
    // A folder that cannot be synced is reported, the file being new.
    void syncs_data()
    {
        QTest::addColumn<bool>("folderSyncs");
        QTest::newRow("folder synced") << true;
        QTest::newRow("folder sync fails") << false;
    }
    void syncs()
    {
        QFETCH(bool, folderSyncs);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QString sub = dir.filePath("sub");
        for (const char *name : {"a.mp3", "b.mp3"})
            QVERIFY(writeFile(sub + u'/' + QLatin1String(name), songFile()));
        const TagRecord inStep{.Title = "Dawn", .GenreID = kNoGenre};
        QVERIFY(writeFile(sub + "/c.mp3", id3v2Tag(3, t23("TIT2", "Dawn")) + audio()));
        CountedSyncs::take(dir.path());

        Id3v2WriteBatch::Options options;
        options.syncFolder = [&](int fd) { return syncAll(fd) && folderSyncs; };
        Id3v2WriteBatch batch(options);
        QCOMPARE(failureName(batch.add(sub + "/a.mp3", kRow, kAllId3v2Fields)), "none");
        QCOMPARE(failureName(batch.add(sub + "/c.mp3", inStep, kAllId3v2Fields)), "none");
        QCOMPARE(failureName(batch.add(sub + "/b.mp3", kRow, kAllId3v2Fields)), "none");
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        const QString expected = folderSyncs ? "none" : "folder sync failed";
        QCOMPARE(failureName(outcomes.at(0).result), expected);
        QCOMPARE(failureName(outcomes.at(1).result), "none");
        QCOMPARE(failureName(outcomes.at(2).result), expected);
        QCOMPARE(outcomes.at(0).snapshot, snapshotOf(sub + "/a.mp3"));
        QCOMPARE(readBack(sub + "/b.mp3").section(u' ', 1, 1), "TIT2(1)=夜明けの歌");

        QStringList calls = CountedSyncs::take(dir.path());
        calls.replaceInStrings(dir.path() + u'/', QString());
        calls.replaceInStrings(QRegularExpression(QStringLiteral("#\\d+ \\(deleted\\)$")), QStringLiteral("new"));
        QCOMPARE(calls, QStringList({"fsync sub/new", "fsync sub/new", "fsync sub", "fdatasync sub/c.mp3"}));
    }

    // A run that writes 20 files (half in place, half anew) is killed at
    // each system call that changes a file or a folder in turn: once the
    // folder is settled, each file holds its old bytes or its new ones,
    // whole, and nothing is left beside them.
    void killedAtEachWrite()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("cd");
        QStringList names;
        QList<QByteArray> olds;
        for (int i = 0; i < 20; ++i) {
            names << QStringLiteral("%1.mp3").arg(i, 2, 10, QChar(u'0'));
            // Every fourth file has a cover of 20 KB after its texts, which
            // stays where it is.
            const QByteArray texts = t23("TIT2", "Old") + t23("TPE1", "Taro") + t23("TALB", "Best");
            const QByteArray frames = i % 4 == 1 ? texts + frame23("APIC", QByteArray(20 * 1024, 'c')) + otherFrames(3)
                                                 : t23("TIT2", "Old") + otherFrames(3);
            olds << id3v2Tag(3, frames + QByteArray(i % 2 ? 600 : 0, '\0')) + audio() + v1Block();
        }
        const auto putOldFiles = [&] {
            bool made = QDir(folder).removeRecursively() && QDir(dir.path()).mkdir("cd");
            for (int i = 0; i < names.size(); ++i)
                made = made && writeFile(folder + u'/' + names.at(i), olds.at(i));
            return made;
        };
        const auto writeAll = [&] {
            // In lots of three, so that kills also hit lots written at once.
            Id3v2WriteBatch::Options options;
            options.inPlaceLot = 3;
            Id3v2WriteBatch batch(options);
            for (const QString &name : names)
                if (!batch.add(folder + u'/' + name, kRow, kAllId3v2Fields).ok())
                    return 1;
            for (const Id3v2WriteBatch::Outcome &outcome : batch.finish())
                if (!outcome.result.ok())
                    return 2;
            return 0;
        };
        QVERIFY(putOldFiles());
        QCOMPARE(exitCodeInChild(writeAll), 0);
        QList<QByteArray> news;
        for (int i = 0; i < names.size(); ++i) {
            news << readFile(folder + u'/' + names.at(i));
            QVERIFY(news.last() != olds.at(i));
        }

        static int killAt = 0;
        static std::atomic<int> calls = 0;
        int kills = 0;
        for (bool finished = false; !finished && kills < 2000;) {
            QVERIFY(putOldFiles());
            killAt = kills + 1;
            const int code = exitCodeInChild(
                [&] {
                    setWriteCallHook([] {
                        if (++calls == killAt)
                            ::raise(SIGKILL);
                    });
                    return writeAll();
                },
                30);
            finished = code == 0;
            if (!finished) {
                QCOMPARE(code, -1);
                ++kills;
            }
            (void)recoverFolder(folder);
            for (int i = 0; i < names.size(); ++i) {
                const QByteArray now = readFile(folder + u'/' + names.at(i));
                QVERIFY2(now == olds.at(i) || now == news.at(i),
                         qPrintable(QStringLiteral("killed at call %1: %2").arg(killAt).arg(names.at(i))));
            }
            QCOMPARE(namesIn(folder), names);
        }
        // Every file was written through more than one call of its own.
        QVERIFY2(kills > 2 * names.size(), qPrintable(QString::number(kills)));
    }
};

QTEST_GUILESS_MAIN(TestId3v2WriteBatch)
#include "tst_Id3v2WriteBatch.moc"
