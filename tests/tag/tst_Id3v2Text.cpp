// The fields an ID3v2 tag gives, read from bytes made by hand: which track and
// genre values are taken, and which headers make a tag unreadable.

#include "Id3v2Text.h"

#include <QTest>

namespace {

// Four bytes of n, big-endian, each holding bits bits of it.
QByteArray bigEndian(qsizetype n, int bits = 8)
{
    QByteArray bytes;
    for (int shift = 3 * bits; shift >= 0; shift -= bits)
        bytes += char(n >> shift & ((1 << bits) - 1));
    return bytes;
}

// A v2.3 tag of Latin-1 text frames, "id=text" each, and 256 bytes of audio.
QByteArray v23Tag(const QStringList &frames)
{
    QByteArray body;
    for (const QString &frame : frames) {
        const QByteArray text = '\0' + frame.section(u'=', 1).toLatin1();
        body += frame.section(u'=', 0, 0).toLatin1() + bigEndian(text.size()) + QByteArray(2, '\0') + text;
    }
    return QByteArray("ID3\x03\0\0", 6) + bigEndian(body.size(), 7) + body + QByteArray(256, '\xFF');
}

}  // namespace

class TestId3v2Text : public QObject
{
    Q_OBJECT

private slots:
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
