// The walk over an ID3v2 tag's headers and frames, taking a frame's content
// out, bounded inflating, and building frames and tags.

#include "common/Id3v2Bytes.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/ZlibInflate.h"

#include <QTest>

namespace {

// A walk as text: the state, then each frame as "ID@offset+size", then how
// the frames end and where.
QString walkText(const Id3v2Tag &tag)
{
    static const char *const kStates[] = {"walked", "no tag", "malformed", "too many frames"};
    static const char *const kEnds[] = {"padding", "unrecognised", "truncated"};
    QStringList parts{kStates[static_cast<int>(tag.state)]};
    if (tag.state != Id3v2WalkState::Walked)
        return parts.join(u' ');
    parts << QStringLiteral("from %1").arg(tag.framesStart);
    for (const Id3v2Frame &frame : tag.frames) {
        parts << QStringLiteral("%1@%2+%3").arg(QString::fromLatin1(frame.id)).arg(frame.offset).arg(frame.size)
                     + (frame.flags ? QStringLiteral("/%1").arg(frame.flags, 4, 16, QLatin1Char('0')) : QString());
    }
    parts << QStringLiteral("%1 at %2").arg(kEnds[static_cast<int>(tag.end)]).arg(tag.framesEnd);
    return parts.join(u' ');
}

const QByteArray kTitle = frame23("TIT2", textData("Title"));  // 16 bytes

}  // namespace

class TestId3v2Frames : public QObject
{
    Q_OBJECT

private slots:
    void walk_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("walk");
        QTest::newRow("no ID3") << QByteArray("TAG") << "no tag";
        QTest::newRow("header cut short") << QByteArray("ID3\x03\0\0\0\0", 8) << "malformed";
        QTest::newRow("version 1") << id3v2Tag(1, kTitle) << "malformed";
        QTest::newRow("version 5") << id3v2Tag(5, kTitle) << "malformed";
        QTest::newRow("revision 0xFF") << QByteArray("ID3\x03\xFF\0\0\0\0\0", 10) << "malformed";
        QTest::newRow("size byte with top bit") << QByteArray("ID3\x03\0\0\0\0\0\x81", 10) + QByteArray(129, '\0')
                                                << "malformed";
        QTest::newRow("bytes end before the tag") << id3v2Tag(3, kTitle).chopped(1) << "malformed";
        QTest::newRow("2.4 footer missing") << id3v2Tag(4, kTitle, 0x10) << "malformed";
        QTest::newRow("2.2 compressed tag") << id3v2Tag(2, frame22("TT2", textData("a")), 0x40) << "malformed";
        QTest::newRow("2.3 frames, then padding")
            << id3v2Tag(3, kTitle + frame23("TPE1", textData("A"), 0x4000) + QByteArray(5, '\0'))
            << "walked from 10 TIT2@10+6 TPE1@26+2/4000 padding at 38";
        QTest::newRow("frames to the very end") << id3v2Tag(3, kTitle) << "walked from 10 TIT2@10+6 padding at 26";
        QTest::newRow("2.2: 6-byte headers, no flags")
            << id3v2Tag(2, frame22("TT2", textData("ab")) + frame22("TP1", textData("c")))
            << "walked from 10 TT2@10+3 TP1@19+2 padding at 27";
        // 456 is 0x03 0x48 in 7-bit bytes, 0x01 0xC8 as a plain number.
        const QByteArray data456 = textData(QByteArray(455, 'a'));
        QTest::newRow("2.4 syncsafe size") << id3v2Tag(4, frame24("TIT2", data456) + kTitle)
                                           << "walked from 10 TIT2@10+456 TIT2@476+6 padding at 492";
        QTest::newRow("2.4 size with a top bit: a plain number") << id3v2Tag(4, frame23("TIT2", data456) + kTitle)
                                                                 << "walked from 10 TIT2@10+456 TIT2@476+6 padding at 492";
        QTest::newRow("2.3 size is plain") << id3v2Tag(3, frame23("TIT2", data456) + kTitle)
                                           << "walked from 10 TIT2@10+456 TIT2@476+6 padding at 492";
        QTest::newRow("zero-size frame first") << id3v2Tag(3, frame23("TENC", {}) + kTitle)
                                               << "walked from 10 TENC@10+0 TIT2@20+6 padding at 36";
        QTest::newRow("2.3 extended header, 6 bytes")
            << id3v2Tag(3, bigEndian32(6) + QByteArray(6, '\0') + kTitle, 0x40)
            << "walked from 20 TIT2@20+6 padding at 36";
        QTest::newRow("2.3 extended header with CRC")
            << id3v2Tag(3, bigEndian32(10) + QByteArray("\x80\0\0\0\0\0\x12\x34\x56\x78", 10) + kTitle, 0x40)
            << "walked from 24 TIT2@24+6 padding at 40";
        QTest::newRow("2.3 extended header past the body")
            << id3v2Tag(3, bigEndian32(23) + QByteArray(6, '\0') + kTitle, 0x40) << "malformed";
        QTest::newRow("2.3 extended header flag, body too short")
            << id3v2Tag(3, QByteArray(3, '\0'), 0x40) << "malformed";
        QTest::newRow("2.4 extended header counts its size")
            << id3v2Tag(4, syncsafe(6) + QByteArray("\x01\0", 2) + kTitle, 0x40)
            << "walked from 16 TIT2@16+6 padding at 32";
        QTest::newRow("2.4 extended header below 6 bytes")
            << id3v2Tag(4, syncsafe(5) + QByteArray("\x01\0", 2) + kTitle, 0x40) << "malformed";
        QTest::newRow("2.4 extended header size not syncsafe")
            << id3v2Tag(4, QByteArray("\0\0\0\x86\x01\0", 6) + kTitle + QByteArray(150, '\0'), 0x40) << "malformed";
        QTest::newRow("2.4 extended header exactly the body")
            << id3v2Tag(4, syncsafe(22) + QByteArray("\x01\0", 2) + kTitle, 0x40) << "walked from 32 padding at 32";
        QTest::newRow("2.4 extended header past the body")
            << id3v2Tag(4, syncsafe(23) + QByteArray("\x01\0", 2) + kTitle, 0x40) << "malformed";
        // Resynchronised, "\xFF\0" is one byte: the frame holds 7.
        QTest::newRow("2.3 unsynchronised as a whole")
            << id3v2Tag(3, QByteArray("TIT2\0\0\0\x07\0\0\0ab\xFF\0\xE0" "cd", 18) + kTitle, 0x80)
            << "walked from 10 TIT2@10+7 TIT2@27+6 padding at 43";
        QTest::newRow("2.4 unsynchronised: frame headers as they stand")
            << id3v2Tag(4, frame24("TIT2", QByteArray("\0a\xFF\0", 4)) + kTitle, 0x80)
            << "walked from 10 TIT2@10+4 TIT2@24+6 padding at 40";
        QTest::newRow("2.4 footer is no frame")
            << id3v2Tag(4, kTitle, 0x10) + QByteArray("3DI\x04\0\x10\0\0\0\x10", 10)
            << "walked from 10 TIT2@10+6 padding at 26";
        QTest::newRow("bytes that are no frame id") << id3v2Tag(3, kTitle + "\xFF\xFB\x90\x64" + QByteArray(12, 'x'))
                                                    << "walked from 10 TIT2@10+6 unrecognised at 26";
        QTest::newRow("lower-case id") << id3v2Tag(3, frame23("Tit2", textData("a")) + kTitle)
                                       << "walked from 10 unrecognised at 10";
        QTest::newRow("frame past the end") << id3v2Tag(3, kTitle + frame23("TPE1", textData("abc")).chopped(1))
                                            << "walked from 10 TIT2@10+6 truncated at 26";
        QTest::newRow("header cut by the end") << id3v2Tag(3, kTitle + QByteArray("TPE1\0\0", 6))
                                               << "walked from 10 TIT2@10+6 truncated at 26";
    }
    void walk()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, walk);
        // In a buffer of exactly their size, so a read past them is caught
        // by the address sanitizer.
        const std::vector<char> exact(bytes.begin(), bytes.end());
        QCOMPARE(walkText(walkId3v2Tag(QByteArray::fromRawData(exact.data(), bytes.size()))), walk);
    }

    // The header is read from ten bytes, never beyond them.
    void headerCutShort()
    {
        const QByteArray header("ID3\x03\0\0\0\0\0\0", 10);
        Id3v2Header read;
        QCOMPARE(readId3v2Header(QByteArrayView(header).first(9), read), Id3v2HeaderState::Malformed);
        QCOMPARE(readId3v2Header(header, read), Id3v2HeaderState::Tag);
    }

    // The frames a tag may hold: as many as the limit, not one more.
    void frameCount_data()
    {
        QTest::addColumn<qsizetype>("frames");
        QTest::addColumn<bool>("walked");
        QTest::newRow("at the limit") << kMaxId3v2Frames << true;
        QTest::newRow("one more") << kMaxId3v2Frames + 1 << false;
    }
    void frameCount()
    {
        QFETCH(qsizetype, frames);
        QFETCH(bool, walked);
        const Id3v2Tag tag = walkId3v2Tag(id3v2Tag(3, frame23("TENC", {}).repeated(frames)));
        QCOMPARE(tag.state, walked ? Id3v2WalkState::Walked : Id3v2WalkState::TooManyFrames);
        QCOMPARE(tag.frames.size(), walked ? frames : 0);
    }

    // A frame's bytes are those of the tag from its header on.
    void frameBytes()
    {
        const QByteArray second = frame24("TPE1", textData("A"), 0x0040);
        const Id3v2Tag tag = walkId3v2Tag(id3v2Tag(4, kTitle + second));
        QCOMPARE(tag.frames.size(), 2);
        QCOMPARE(tag.frameBytes(tag.frames[1]).toByteArray(), second);
    }

    void content_data()
    {
        QTest::addColumn<quint8>("version");
        QTest::addColumn<quint8>("tagFlags");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("state");  // Id3v2ContentState
        QTest::addColumn<QByteArray>("data");
        const int read = int(Id3v2ContentState::Read);
        const int encrypted = int(Id3v2ContentState::Encrypted);
        const int tooLarge = int(Id3v2ContentState::TooLarge);
        const int broken = int(Id3v2ContentState::Broken);
        const QByteArray text = textData("abcdef");  // 7 bytes
        const QByteArray zlib = zlibStream(text);
        QTest::newRow("plain") << quint8(3) << quint8(0) << frame23("TIT2", text) << 7LL << read << text;
        QTest::newRow("one byte over the limit") << quint8(3) << quint8(0) << frame23("TIT2", text) << 6LL << tooLarge
                                                 << QByteArray();
        QTest::newRow("2.2") << quint8(2) << quint8(0) << frame22("TT2", text) << 7LL << read << text;
        QTest::newRow("2.3 encrypted") << quint8(3) << quint8(0) << frame23("TIT2", "\x80" + text, 0x0040) << 99LL
                                       << encrypted << QByteArray();
        QTest::newRow("2.4 encrypted") << quint8(4) << quint8(0) << frame24("TIT2", "\x80" + text, 0x0004) << 99LL
                                       << encrypted << QByteArray();
        QTest::newRow("2.3 group byte") << quint8(3) << quint8(0) << frame23("TIT2", "\x05" + text, 0x0020) << 7LL
                                        << read << text;
        QTest::newRow("2.4 group byte") << quint8(4) << quint8(0) << frame24("TIT2", "\x05" + text, 0x0040) << 7LL
                                        << read << text;
        QTest::newRow("group byte missing") << quint8(3) << quint8(0) << frame23("TIT2", {}, 0x0020) << 7LL << broken
                                            << QByteArray();
        QTest::newRow("2.3 compressed") << quint8(3) << quint8(0) << frame23("TIT2", bigEndian32(7) + zlib, 0x0080)
                                        << 7LL << read << text;
        QTest::newRow("2.3 compressed and grouped: size, then group")
            << quint8(3) << quint8(0) << frame23("TIT2", bigEndian32(7) + "\x05" + zlib, 0x00A0) << 7LL << read
            << text;
        QTest::newRow("2.3 compressed, size over the limit")
            << quint8(3) << quint8(0) << frame23("TIT2", bigEndian32(8) + zlibStream(text + 'g'), 0x0080) << 7LL
            << tooLarge << QByteArray();
        QTest::newRow("2.3 compressed, inflates past the size it gives")
            << quint8(3) << quint8(0) << frame23("TIT2", bigEndian32(7) + zlibStream(text + 'g'), 0x0080) << 7LL
            << tooLarge << QByteArray();
        QTest::newRow("2.3 compressed, bad zlib") << quint8(3) << quint8(0)
                                                  << frame23("TIT2", bigEndian32(7) + "nozlib", 0x0080) << 7LL << broken
                                                  << QByteArray();
        QTest::newRow("2.3 compressed, no size") << quint8(3) << quint8(0) << frame23("TIT2", "\0\0\x07", 0x0080)
                                                 << 7LL << broken << QByteArray();
        QTest::newRow("2.4 compressed with data length")
            << quint8(4) << quint8(0) << frame24("TIT2", syncsafe(7) + zlib, 0x0009) << 7LL << read << text;
        QTest::newRow("2.4 compressed, data length over the limit")
            << quint8(4) << quint8(0) << frame24("TIT2", syncsafe(8) + zlib, 0x0009) << 7LL << tooLarge
            << QByteArray();
        QTest::newRow("2.4 compressed without data length: size unknown")
            << quint8(4) << quint8(0) << frame24("TIT2", zlib, 0x0008) << 7LL << tooLarge << QByteArray();
        QTest::newRow("2.4 data length not syncsafe")
            << quint8(4) << quint8(0) << frame24("TIT2", QByteArray("\0\0\0\x87", 4) + text, 0x0001) << 7LL << broken
            << QByteArray();
        QTest::newRow("2.4 data length without compression") << quint8(4) << quint8(0)
                                                             << frame24("TIT2", syncsafe(7) + text, 0x0001) << 7LL
                                                             << read << text;
        QTest::newRow("2.4 group, then data length")
            << quint8(4) << quint8(0) << frame24("TIT2", "\x05" + syncsafe(7) + zlib, 0x0049) << 7LL << read << text;
        QTest::newRow("2.4 unsynchronised frame") << quint8(4) << quint8(0)
                                                  << frame24("TIT2", QByteArray("\0a\xFF\0\xE0", 5), 0x0002) << 4LL
                                                  << read << QByteArray("\0a\xFF\xE0", 4);
        QTest::newRow("2.4 unsynchronised, over the limit once resynchronised")
            << quint8(4) << quint8(0) << frame24("TIT2", QByteArray("\0ab\xFF\0\xE0", 6), 0x0002) << 4LL << tooLarge
            << QByteArray();
        QTest::newRow("2.4 unsynchronised tag") << quint8(4) << quint8(0x80)
                                                << frame24("TIT2", QByteArray("\0a\xFF\0\xE0", 5)) << 4LL << read
                                                << QByteArray("\0a\xFF\xE0", 4);
        // A stored zlib block holds the bytes as they are, 0xFF included.
        const QByteArray ff("\0\xFF\xE0z", 4);
        const QByteArray unsynchronisedZlib = qCompress(ff, 0).sliced(4).replace("\xFF", QByteArray("\xFF\0", 2));
        QTest::newRow("2.4 unsynchronised, then inflated")
            << quint8(4) << quint8(0) << frame24("TIT2", syncsafe(4) + unsynchronisedZlib, 0x000B) << 4LL << read
            << ff;
        // The tag was resynchronised as a whole: once, not once more.
        QTest::newRow("2.3 unsynchronised tag")
            << quint8(3) << quint8(0x80) << QByteArray("TIT2\0\0\0\x03\0\0a\xFF\0\0", 14) << 3LL << read
            << QByteArray("a\xFF\0", 3);
        QTest::newRow("2.3 frame flag for unsynchronised means nothing")
            << quint8(3) << quint8(0) << frame23("TIT2", QByteArray("\0a\xFF\0", 4), 0x0002) << 4LL << read
            << QByteArray("\0a\xFF\0", 4);
    }
    void content()
    {
        QFETCH(quint8, version);
        QFETCH(quint8, tagFlags);
        QFETCH(QByteArray, frame);
        QFETCH(qint64, limit);
        QFETCH(int, state);
        QFETCH(QByteArray, data);
        const QByteArray bytes = id3v2Tag(version, frame, tagFlags);
        const std::vector<char> exact(bytes.begin(), bytes.end());
        const Id3v2Tag tag = walkId3v2Tag(QByteArray::fromRawData(exact.data(), bytes.size()));
        QCOMPARE(tag.frames.size(), 1);
        const Id3v2FrameContent content = id3v2FrameContent(tag, tag.frames.first(), limit);
        QCOMPARE(int(content.state), state);
        QCOMPARE(content.data, data);
    }

    void inflate_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("state");  // InflateState
        QTest::addColumn<qsizetype>("size");
        const QByteArray stream = zlibStreamOfZeros(100000);
        QTest::newRow("exactly the limit") << stream << 100000LL << int(InflateState::Inflated) << qsizetype(100000);
        QTest::newRow("one byte over") << stream << 99999LL << int(InflateState::TooLarge) << qsizetype(0);
        QTest::newRow("bytes after the stream") << stream + "rest" << 100000LL << int(InflateState::Inflated)
                                                << qsizetype(100000);
        QTest::newRow("stream cut short") << stream.chopped(4) << 100000LL << int(InflateState::Broken) << qsizetype(0);
        QTest::newRow("no stream") << QByteArray("plain text") << 100LL << int(InflateState::Broken) << qsizetype(0);
        QTest::newRow("empty stream, limit 0") << zlibStreamOfZeros(0) << 0LL << int(InflateState::Inflated) << qsizetype(0);
    }
    void inflate()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, limit);
        QFETCH(int, state);
        QFETCH(qsizetype, size);
        const Inflated inflated = inflateAtMost(bytes, limit);
        QCOMPARE(int(inflated.state), state);
        QCOMPARE(inflated.data, QByteArray(size, '\0'));
    }

    void resynchronising_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("read");
        QTest::newRow("FF 00") << QByteArray("\xFF\0\xE0", 3) << QByteArray("\xFF\xE0", 2);
        QTest::newRow("only the zero after FF") << QByteArray("\xFF\0\0", 3) << QByteArray("\xFF\0", 2);
        QTest::newRow("FF FF 00") << QByteArray("\xFF\xFF\0", 3) << QByteArray("\xFF\xFF", 2);
        QTest::newRow("FF at the end") << QByteArray("a\xFF", 2) << QByteArray("a\xFF", 2);
        QTest::newRow("zero alone") << QByteArray("\0a", 2) << QByteArray("\0a", 2);
    }
    void resynchronising()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, read);
        QCOMPARE(resynchronised(bytes), read);
    }

    // Built frames and tags are what the hand-built ones are, in each
    // version, sizes over 127 included.
    void building_data()
    {
        QTest::addColumn<quint8>("version");
        QTest::addColumn<QByteArray>("frame");
        const QByteArray data = textData(QByteArray(199, 'a'));
        QTest::newRow("2.2") << quint8(2) << frame22("TT2", data);
        QTest::newRow("2.3") << quint8(3) << frame23("TIT2", data);
        QTest::newRow("2.4") << quint8(4) << frame24("TIT2", data);
    }
    void building()
    {
        QFETCH(quint8, version);
        QFETCH(QByteArray, frame);
        const qsizetype idSize = version == 2 ? 3 : 4;
        const QByteArray built = id3v2FrameBytes(version, frame.first(idSize), textData(QByteArray(199, 'a')));
        QCOMPARE(built, frame);
        QCOMPARE(id3v2TagBytes(version, built + built), id3v2Tag(version, frame + frame));
    }
};

QTEST_GUILESS_MAIN(TestId3v2Frames)
#include "tst_Id3v2Frames.moc"
