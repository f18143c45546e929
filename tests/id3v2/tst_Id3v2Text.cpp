// Reading the fields of an ID3v2 tag from bytes made by hand: which frames
// are read, which track and genre values are taken, which frames are left
// out and reported, and which headers make a tag unreadable.

#include "common/Id3v2Bytes.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2Text.h"

#include <QTest>

namespace {

QByteArray t23(const char *id, const QByteArray &text, char encoding = '\0')
{
    return frame23(id, textData(text, encoding));
}

const QByteArray kTexts = t23("TIT2", "Dawn") + t23("TPE1", "Taro");

// A v2.3 tag of Latin-1 text frames, "id=text" each, and 256 bytes of audio.
QByteArray v23Tag(const QStringList &frames)
{
    QByteArray body;
    for (const QString &frame : frames)
        body += t23(qPrintable(frame.section(u'=', 0, 0)), frame.section(u'=', 1).toLatin1());
    return id3v2Tag(3, body) + QByteArray(256, '\xFF');
}

}  // namespace

class TestId3v2Text : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reading");
        QTest::newRow("no tag") << QByteArray("\xFF\xFB\x90\x64", 4) << "no tag";
        QTest::newRow("all fields, 2.3")
            << id3v2Tag(3, kTexts + t23("TALB", "Best") + t23("TYER", "1998") + frame23("COMM", commentData("", "Good"))
                               + t23("TRCK", "7/12") + t23("TCON", "(17)"))
            << "read title=Dawn artist=Taro album=Best year=1998 comment=Good track=7 genre=17";
        QTest::newRow("2.2 ids") << id3v2Tag(2, frame22("TT2", textData("Dawn")) + frame22("COM", commentData("", "c")))
                                 << "read title=Dawn comment=c";
        QTest::newRow("empty TENC first") << id3v2Tag(3, frame23("TENC", {}) + kTexts)
                                          << "read title=Dawn artist=Taro";
        QTest::newRow("empty frame with flags is passed over")
            << id3v2Tag(3, frame23("TIT2", {}, 0x00E0) + t23("TPE1", "Taro")) << "read artist=Taro";
        QTest::newRow("empty TIT2 is no title") << id3v2Tag(3, frame23("TIT2", {}) + t23("TIT2", "Second"))
                                                << "read title=Second";
        QTest::newRow("extended header") << id3v2Tag(3, bigEndian32(6) + QByteArray(6, '\0') + kTexts, 0x40)
                                         << "read title=Dawn artist=Taro";
        QTest::newRow("malformed extended header")
            << id3v2Tag(3, bigEndian32(99) + QByteArray(6, '\0') + kTexts, 0x40) << "unreadable";
        QTest::newRow("unsynchronised 2.3")
            << id3v2Tag(3, QByteArray("TIT2\0\0\0\x05\0\0\0D\xFF\0\xE9w", 16) + t23("TPE1", "Taro"), 0x80)
            << "read title=Dÿéw artist=Taro";
        QTest::newRow("chapters are not read")
            << id3v2Tag(3, frame23("CTOC", QByteArray("t\0\x03\0", 4) + t23("TIT2", "Chapter")) + kTexts)
            << "read title=Dawn artist=Taro";
        QTest::newRow("encoding byte 0x07") << id3v2Tag(3, t23("TIT2", "garbage", '\x07') + t23("TPE1", "Taro"))
                                            << "read artist=Taro !title";
        QTest::newRow("encoding byte 0xFF") << id3v2Tag(3, t23("TIT2", "garbage", '\xFF')) << "read !title";
        QTest::newRow("UTF-8 in 2.3 is read") << id3v2Tag(3, t23("TIT2", "\xE5\xA4\x9C", '\x03')) << "read title=夜";
        QTest::newRow("UTF-16BE") << id3v2Tag(4, frame24("TIT2", textData(QByteArray("\x59\x1C", 2), '\x02')))
                                  << "read title=夜";
        QTest::newRow("encoding 0x04 in a comment")
            << id3v2Tag(3, frame23("COMM", '\x04' + commentData("", "c").sliced(1)) + kTexts)
            << "read title=Dawn artist=Taro !comment";
        // A field one of whose frames cannot be read is left out, even where
        // another frame would give it: which one is meant is unknown.
        const char bad = '\x07';
        QTest::newRow("unreadable title left out") << id3v2Tag(3, t23("TIT2", "x", bad) + t23("TIT2", "y")) << "read !title";
        QTest::newRow("unreadable TPE1 leaves the artist out")
            << id3v2Tag(3, t23("TPE1", "x", bad) + t23("TPE2", "Band")) << "read !artist";
        // The album artist is read only in want of an artist.
        QTest::newRow("unreadable TPE2 beside TPE1") << id3v2Tag(3, t23("TPE2", "x", bad) + t23("TPE1", "Taro"))
                                                    << "read artist=Taro";
        QTest::newRow("unreadable TPE2 alone") << id3v2Tag(3, t23("TPE2", "x", bad)) << "read !artist";
        QTest::newRow("a described comment without text hides no comment")
            << id3v2Tag(3, frame23("COMM", QByteArray("\0engdesc\0", 9)) + frame23("COMM", commentData("", "Good")))
            << "read comment=Good";
        QTest::newRow("unreadable album left out") << id3v2Tag(3, t23("TALB", "x", bad) + t23("TALB", "y")) << "read !album";
        QTest::newRow("unreadable TDRC leaves the year out")
            << id3v2Tag(3, t23("TDRC", "x", bad) + t23("TYER", "1998")) << "read !year";
        QTest::newRow("unreadable comment left out")
            << id3v2Tag(3, frame23("COMM", bad + commentData("", "c").sliced(1)) + frame23("COMM", commentData("", "d")))
            << "read !comment";
        QTest::newRow("unreadable track left out") << id3v2Tag(3, t23("TRCK", "x", bad) + t23("TRCK", "7")) << "read !track";
        QTest::newRow("unreadable genre left out") << id3v2Tag(3, t23("TCON", "x", bad) + t23("TCON", "17")) << "read !genre";
        QTest::newRow("encrypted comment")
            << id3v2Tag(3, frame23("COMM", "\x80" + commentData("", "c"), 0x0040) + kTexts)
            << "read title=Dawn artist=Taro !comment";
        QTest::newRow("compressed title") << id3v2Tag(3, frame23("TIT2", bigEndian32(5) + zlibStream(textData("Dawn")), 0x0080))
                                          << "read title=Dawn";
        QTest::newRow("title inflating past the limit")
            << id3v2Tag(3, frame23("TIT2", bigEndian32(5) + zlibStreamOfZeros(kMaxId3v2FrameContent + 1), 0x0080)
                               + t23("TPE1", "Taro"))
            << "read artist=Taro !title";
        QTest::newRow("grouped frames, no data after the group byte")
            << id3v2Tag(3, frame23("TIT2", "\x01", 0x0020) + frame23("TCON", "\x01" + textData("Rock"), 0x0020))
            << "read genre=17";
        QTest::newRow("title at the limit")
            << id3v2Tag(3, t23("TIT2", QByteArray(kMaxId3v2FrameContent - 2, 'a') + 'z'))
            << "read title=" + QString(kMaxId3v2FrameContent - 2, u'a') + u'z';
        QTest::newRow("title one byte over the limit")
            << id3v2Tag(3, t23("TIT2", QByteArray(kMaxId3v2FrameContent, 'a')) + t23("TPE1", "Taro"))
            << "read artist=Taro !title";
        // The frames read may hold so much together; those past it are
        // reported, whatever their own size.
        const qint64 comments = kMaxId3v2ContentTotal / kMaxId3v2FrameContent;
        // A comment frame holds five bytes before its text.
        const QByteArray fullText(kMaxId3v2FrameContent - 5, 'c');
        const QByteArray fullComment = frame23("COMM", commentData("", fullText));
        const QByteArray twoShort = frame23("COMM", commentData("", fullText.chopped(2)));
        QTest::newRow("frames read at their total")
            << id3v2Tag(3, fullComment.repeated(comments - 1) + twoShort + t23("TIT2", "a"))
            << "read title=a comment=" + QString::fromLatin1(fullText);
        QTest::newRow("frames read past their total")
            << id3v2Tag(3, fullComment.repeated(comments) + t23("TIT2", "a") + t23("TPE1", "Taro"))
            << "read comment=" + QString::fromLatin1(fullText) + " !title !artist";
        QTest::newRow("fields reported in order, once")
            << id3v2Tag(3, t23("TCON", "x", '\x09') + t23("TIT2", "x", '\x09') + t23("TIT2", "x", '\x09'))
            << "read !title !genre";
        QTest::newRow("bytes that are no frame") << id3v2Tag(3, kTexts + "\xFF\xFB\x90\x64" + QByteArray(20, '\x55'))
                                                 << "read title=Dawn artist=Taro cut short";
        QTest::newRow("frame past the end") << id3v2Tag(3, kTexts + t23("TALB", "Best").chopped(2))
                                            << "read title=Dawn artist=Taro cut short";
        QTest::newRow("too many frames")
            << id3v2Tag(3, kTexts + frame23("PRIV", "x").repeated(kMaxId3v2Frames)) << "unreadable";
        QTest::newRow("2.4 plain frame size")
            << id3v2Tag(4, frame23("TIT2", textData(QByteArray(455, 'a'))) + frame24("TPE1", textData("Taro")))
            << "read title=" + QString(455, u'a') + " artist=Taro";
        QTest::newRow("tag longer than the bytes") << id3v2Tag(3, kTexts).chopped(1) << "unreadable";
        // Frames read before, by their bytes, are read alike only under
        // the same id and version: 2.3 reads TYER as TDRC, 2.4 does not.
        QTest::newRow("one text under three ids") << id3v2Tag(3, t23("TIT2", "Same") + t23("TPE1", "Same") + t23("TALB", "Same"))
                                                  << "read title=Same artist=Same album=Same";
        QTest::newRow("TYER before TDRC, 2.3") << id3v2Tag(3, t23("TYER", "1998") + t23("TDRC", "2001"))
                                               << "read year=1998";
        QTest::newRow("TYER before TDRC, 2.4")
            << id3v2Tag(4, frame24("TYER", textData("1998")) + frame24("TDRC", textData("2001"))) << "read year=2001";
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reading);
        // In a buffer of exactly their size, so a read past them is caught
        // by the address sanitizer.
        const std::vector<char> exact(bytes.begin(), bytes.end());
        QCOMPARE(id3v2Reading(parseId3v2Text(QByteArrayView(exact.data(), bytes.size()))), reading);
    }

    // A tag up to the largest region is read, a longer one not, however
    // many bytes are given.
    void largestRegion_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("reading");
        QTest::newRow("largest") << kMaxId3v2Size << "read title=Dawn artist=Taro";
        QTest::newRow("one byte more") << kMaxId3v2Size + 1 << "unreadable";
    }
    void largestRegion()
    {
        QFETCH(qint64, size);
        QFETCH(QString, reading);
        const QByteArray bytes = id3v2Tag(3, kTexts + QByteArray(size - kId3v2HeaderSize - kTexts.size(), '\0'));
        QCOMPARE(id3v2Reading(parseId3v2Text(bytes)), reading);
    }

    void trackAndGenre_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("track");  // -1: none
        QTest::addColumn<int>("genre");  // -1: none
        QTest::newRow("track") << "TRCK=7" << 7 << -1;
        QTest::newRow("track of a total") << "TRCK=07/12" << 7 << -1;
        QTest::newRow("track 0 is none") << "TRCK=0" << -1 << -1;
        QTest::newRow("track 255") << "TRCK=255" << 255 << -1;
        QTest::newRow("track 256 is none") << "TRCK=256" << -1 << -1;
        QTest::newRow("track without digits") << "TRCK=/12" << -1 << -1;
        QTest::newRow("genre 147") << "TCON=(147)" << -1 << 147;
        QTest::newRow("genre 148 has no name") << "TCON=(148)" << -1 << -1;
        QTest::newRow("genre number alone") << "TCON=147" << -1 << 147;
        QTest::newRow("genre 148 alone") << "TCON=148" << -1 << -1;
        QTest::newRow("genre name") << "TCON=synthpop" << -1 << 147;
        QTest::newRow("unnamed number, then a name") << "TCON=(148)Rock" << -1 << 17;
    }
    void trackAndGenre()
    {
        QFETCH(QString, frame);
        QFETCH(int, track);
        QFETCH(int, genre);
        const Id3v2Text tag = parseId3v2Text(v23Tag({"TIT2=Title", frame}));
        QCOMPARE(int(tag.state), int(Id3v2State::Read));
        QCOMPARE(tag.fields.Title, QStringLiteral("Title"));
        QCOMPARE(tag.fields.TrackNumber ? int(*tag.fields.TrackNumber) : -1, track);
        QCOMPARE(tag.fields.GenreID ? int(*tag.fields.GenreID) : -1, genre);
    }

    // One header byte of the tag {TIT2=Title} (16 bytes of frames) given a
    // value. Each size byte holds 7 bits: with its top bit the last one
    // would say 144, which the file still holds.
    void header_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("state");
        QTest::newRow("as made") << 9 << 16 << int(Id3v2State::Read);
        QTest::newRow("no ID3") << 0 << int('X') << int(Id3v2State::NoTag);
        QTest::newRow("version 2.5") << 3 << 5 << int(Id3v2State::Unreadable);
        QTest::newRow("revision 0xFF") << 4 << 0xFF << int(Id3v2State::Unreadable);
        QTest::newRow("size byte not syncsafe") << 9 << 0x80 + 16 << int(Id3v2State::Unreadable);
        QTest::newRow("size past the end") << 8 << 0x7F << int(Id3v2State::Unreadable);
    }
    void header()
    {
        QFETCH(int, at);
        QFETCH(int, value);
        QFETCH(int, state);
        QByteArray bytes = v23Tag({"TIT2=Title"});
        bytes[at] = char(value);
        QCOMPARE(int(parseId3v2Text(bytes).state), state);
    }
};

QTEST_GUILESS_MAIN(TestId3v2Text)
#include "tst_Id3v2Text.moc"
