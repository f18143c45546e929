// Writing both tags of real files as W does, read back with TagLib: the
// fields in their frames and encodings, every other frame byte for byte,
// the audio untouched, the ID3v1 block exactly as a save writes it; and the
// files refused, and the faults that must leave a file as it was with
// nothing beside it.

#include "CountedSyncs.h"
#include "ForkedCheck.h"
#include "Id3v2Bytes.h"
#include "Id3v2Frames.h"
#include "Id3v2WriteBatch.h"
#include "Mp3Files.h"
#include "TagWriteBatch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <sys/stat.h>
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
        QTemporaryDir dir;
        const QString path = dir.filePath("song.mp3");
        const QByteArray before = tag + audio() + (hasBlock ? v1Block() : QByteArray());
        QVERIFY(writeFile(path, before));
        QVERIFY(writeFile(dir.filePath("saved.mp3"), before));
        {
            TagWriteBatch save;
            QVERIFY(save.add(dir.filePath("saved.mp3"), kRow));
        }

        Id3v2WriteBatch batch;
        QCOMPARE(int(batch.add(path, kRow, fileIdentity(path))), int(WriteFailure::None));
        const QList<Id3v2WriteBatch::Outcome> outcomes = batch.finish();
        QCOMPARE(outcomes.size(), 1);
        QCOMPARE(int(outcomes.front().failure), int(WriteFailure::None));
        QCOMPARE(outcomes.front().identity, fileIdentity(path));

        QCOMPARE(readBack(path), reading);
        const QByteArray after = readFile(path);
        const QByteArray newTag = tagOf(after);
        QList<QByteArray> others = otherFramesOf(tag);
        for (QByteArray &frame : others)  // a 2.2 picture's format becomes a MIME type
            frame.replace(QByteArray("\0PNG", 4), QByteArray("\0image/png\0", 11));
        QCOMPARE(otherFramesOf(newTag), others);
        QCOMPARE(sha256(after.sliced(newTag.size()).chopped(128)), sha256(audio()));
        QCOMPARE(after.last(128), readFile(dir.filePath("saved.mp3")).last(128));
        if (sameTagSize)
            QCOMPARE(newTag.size(), tag.size());
        else
            QCOMPARE(newTag.size(), walkId3v2Tag(newTag).framesEnd + Id3v2WriteBatch::kNewTagPadding);
        QCOMPARE(namesIn(dir.path()), QStringList({"saved.mp3", "song.mp3"}));
    }
};

QTEST_GUILESS_MAIN(TestId3v2WriteBatch)
#include "tst_Id3v2WriteBatch.moc"
