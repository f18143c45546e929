// Bringing an ID3v2 tag in step with a row, on bytes made by hand: which
// frames are written, in which version and encoding, which stay byte for
// byte, and which tags are refused; and when the list marks a row.

#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2InStep.h"

#include <QTest>

namespace {

QByteArray t23(const char *id, const QByteArray &text, char encoding = '\0')
{
    return frame23(id, textData(text, encoding));
}

QByteArray t24(const char *id, const QByteArray &text, char encoding = '\0')
{
    return frame24(id, textData(text, encoding));
}

QByteArray comment(const char *language, const QByteArray &description, const QByteArray &text)
{
    return QByteArray(1, '\0') + language + description + '\0' + text;
}

// No genre: genre 0 is Blues.
constexpr quint8 kNoGenre = 255;

// Frames that are no field's and must come through untouched.
const QByteArray kPicture = frame23("APIC", QByteArray("\0image/png\0\x03\0", 13) + QByteArray("\x89PNG\xFF\x00\xFF", 7));
const QByteArray kPrivate = frame23("PRIV", QByteArray("owner\0\xFF\xFE\x00\x01", 10));
const QByteArray kDescribed = frame23("COMM", comment("eng", "iTunNORM", " 0000"));

const TagRecord kRow{.Title = "Dawn", .Artist = "Taro", .Album = "Best", .Year = "1998", .Comment = "Good",
                     .TrackNumber = 7, .GenreID = 17};

TagRecord withTitle(TagRecord row, const QString &title)
{
    row.Title = title;
    return row;
}

// Text of a frame's data from its encoding byte on: "(utf16)" only with a
// little-endian byte order mark.
QString encodedText(QByteArrayView data)
{
    if (data.isEmpty())
        return QStringLiteral("(empty)");
    const QByteArrayView text = data.sliced(1);
    switch (data[0]) {
    case 0: return QStringLiteral("(latin1)=") + QString::fromLatin1(text);
    case 1:
        if (text.startsWith("\xFF\xFE"))
            return QStringLiteral("(utf16)=")
                   + QString::fromUtf16(reinterpret_cast<const char16_t *>(text.data() + 2), (text.size() - 2) / 2);
        return QStringLiteral("(utf16 without BOM)");
    case 3: return QStringLiteral("(utf8)=") + QString::fromUtf8(text);
    default: return QStringLiteral("(encoding %1)").arg(int(data[0]));
    }
}

// A comment's data: "(encoding,language,description)=text", the
// description read to its terminator.
QString commentText(QByteArrayView data)
{
    const bool wide = data[0] == 1;
    qsizetype end = 4;
    while (end + (wide ? 1 : 0) < data.size() && (data[end] != 0 || (wide && data[end + 1] != 0)))
        end += wide ? 2 : 1;
    const auto text = [&data](QByteArrayView bytes) { return encodedText(QByteArray(1, data[0]) + bytes.toByteArray()); };
    const QString description = text(data.sliced(4, end - 4));
    return QStringLiteral("(%1,%2,%3)%4")
        .arg(description.section(u')', 0, 0).mid(1), QString::fromLatin1(data.sliced(1, 3)),
             description.section(QStringLiteral(")="), 1), text(data.sliced(end + (wide ? 2 : 1))).section(u')', 1));
}

// The edit as text: the state, or the version, the header flags in hex and
// each frame; a frame that is one of kept byte for byte shows as its id
// and "*", any other as its id and text.
QString described(const Id3v2Edit &edit, const QList<QByteArray> &kept)
{
    static const char *const kStates[] = {"unchanged", "edited", "unreadable", "cut short", "frame not carried"};
    if (edit.state != Id3v2EditState::Edited)
        return QString::fromLatin1(kStates[static_cast<int>(edit.state)])
               + (edit.frameId.isEmpty() ? QString() : u' ' + QString::fromLatin1(edit.frameId));
    const QByteArray bytes = editedTagBytes(edit, 0);
    if (bytes.isEmpty())
        return QStringLiteral("no tag");
    const Id3v2Tag tag = walkId3v2Tag(bytes);
    QStringList parts{QStringLiteral("v%1 %2").arg(tag.header.version).arg(tag.header.flags, 2, 16, QChar(u'0'))};
    for (const Id3v2Frame &frame : tag.frames) {
        const QByteArrayView whole = tag.frameBytes(frame);
        const QByteArrayView data = whole.sliced(10);
        QString part = QString::fromLatin1(frame.id);
        if (kept.contains(whole.toByteArray()))
            part += u'*';
        else if (frame.id == "COMM")
            part += commentText(data);
        else
            part += encodedText(data);
        parts << part;
    }
    return parts.join(u' ');
}

}  // namespace

class TestId3v2Edit : public QObject
{
    Q_OBJECT

private slots:
    void edit_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<TagRecord>("row");
        QTest::addColumn<QString>("edit");

        const QByteArray inStep23 = t23("TIT2", "Dawn") + kPicture + t23("TPE1", "Taro") + t23("TALB", "Best")
                                    + t23("TYER", "1998") + frame23("COMM", comment("eng", "", "Good"))
                                    + t23("TRCK", "7") + t23("TCON", "(17)") + kPrivate;
        QTest::newRow("no tag, no fields") << QByteArray() << TagRecord{.GenreID = kNoGenre} << "unchanged";
        QTest::newRow("no tag: 2.3 in UTF-16")
            << QByteArray() << kRow
            << "v3 00 TIT2(utf16)=Dawn TPE1(utf16)=Taro TALB(utf16)=Best TYER(utf16)=1998 "
               "COMM(utf16,jpn,)=Good TRCK(utf16)=7 TCON(utf16)=Rock";
        QTest::newRow("in step") << id3v2Tag(3, inStep23) << kRow << "unchanged";
        QTest::newRow("2.3: only the title, in its place")
            << id3v2Tag(3, inStep23) << withTitle(kRow, "夜明け")
            << "v3 00 TIT2(utf16)=夜明け APIC* TPE1* TALB* TYER* COMM* TRCK* TCON* PRIV*";
        QTest::newRow("2.4: UTF-8, TDRC, TYER goes")
            << id3v2Tag(4, t24("TIT2", "Dawn") + t24("TYER", "1990") + frame24("APIC", kPicture.sliced(10)))
            << TagRecord{.Title = "Dawn", .Year = "2001", .GenreID = kNoGenre} << "v4 00 TIT2* TDRC(utf8)=2001 APIC*";
        QTest::newRow("2.3: the year in the first year frame's place, TDRC goes")
            << id3v2Tag(3, kPrivate + t23("TDRC", "1990") + t23("TIT2", "Dawn") + t23("TYER", "1990"))
            << TagRecord{.Title = "Dawn", .Year = "2001", .GenreID = kNoGenre} << "v3 00 PRIV* TYER(utf16)=2001 TIT2*";
        QTest::newRow("empty field: its frames go")
            << id3v2Tag(3, t23("TIT2", "Dawn") + kPrivate + t23("TIT2", "Second") + t23("TPE1", "Taro"))
            << TagRecord{.Artist = "Taro", .GenreID = kNoGenre} << "v3 00 PRIV* TPE1*";
        QTest::newRow("blank field: its frames go")
            << id3v2Tag(3, t23("TIT2", "Dawn") + kPrivate) << TagRecord{.Title = "  ", .GenreID = kNoGenre} << "v3 00 PRIV*";
        QTest::newRow("no frame left: no tag") << id3v2Tag(3, t23("TIT2", "Dawn")) << TagRecord{.GenreID = kNoGenre} << "no tag";
        QTest::newRow("comments: described ones stay, the others make one")
            << id3v2Tag(3, kDescribed + frame23("COMM", comment("eng", "", "Old")) + t23("TIT2", "Dawn")
                               + frame23("COMM", comment("deu", "", "Alt")))
            << TagRecord{.Title = "Dawn", .Comment = "いい曲", .GenreID = kNoGenre} << "v3 00 COMM* COMM(utf16,jpn,)=いい曲 TIT2*";
        QTest::newRow("comment without description in UTF-16")
            << id3v2Tag(3, frame23("COMM", QByteArray("\x01" "eng\xFF\xFE\0\0\xFF\xFEO\0", 12)) + kDescribed)
            << TagRecord{.Comment = "New", .GenreID = kNoGenre} << "v3 00 COMM(utf16,jpn,)=New COMM*";
        QTest::newRow("comment that cannot be read is replaced")
            << id3v2Tag(3, frame23("COMM", "\x07" + comment("eng", "d", "x").sliced(1)) + kDescribed)
            << TagRecord{.Comment = "New", .GenreID = kNoGenre} << "v3 00 COMM(utf16,jpn,)=New COMM*";
        QTest::newRow("track of a total stays") << id3v2Tag(3, t23("TRCK", "07/12")) << TagRecord{.TrackNumber = 7, .GenreID = kNoGenre}
                                                << "unchanged";
        QTest::newRow("track 0 removes TRCK") << id3v2Tag(3, t23("TRCK", "5") + kPrivate) << TagRecord{.GenreID = kNoGenre}
                                              << "v3 00 PRIV*";
        QTest::newRow("full date stays") << id3v2Tag(4, t24("TDRC", "2003-04-05")) << TagRecord{.Year = "2003", .GenreID = kNoGenre}
                                         << "unchanged";
        QTest::newRow("genre the table lacks stays") << id3v2Tag(3, t23("TCON", "J-Pop"))
                                                     << TagRecord{.GenreID = 255} << "unchanged";
        QTest::newRow("genre by name") << id3v2Tag(3, t23("TCON", "(17)")) << TagRecord{.GenreID = 8}
                                       << "v3 00 TCON(utf16)=Jazz";
        QTest::newRow("title longer than its slot stays")
            << id3v2Tag(3, t23("TIT2", QByteArray(40, 'a'))) << TagRecord{.Title = QString(30, u'a'), .GenreID = kNoGenre} << "unchanged";
        QTest::newRow("letter CP932 lacks, saved as ? in the slot, stays")
            << id3v2Tag(3, t23("TIT2", "Caf\xE9")) << TagRecord{.Title = "Caf?", .GenreID = kNoGenre} << "unchanged";
        QTest::newRow("letter CP932 lacks in the row is written")
            << id3v2Tag(3, t23("TIT2", "Caf?")) << TagRecord{.Title = "Café", .GenreID = kNoGenre} << "v3 00 TIT2(utf16)=Café";
        const QByteArray body24 = t24("TIT2", "Dawn");
        QTest::newRow("2.4 keeps its unsynchronisation flag, nothing else; no footer")
            << id3v2Tag(4, body24, 0xB0) + QByteArray("3DI\x04\0\xB0", 6) + syncsafe(body24.size())
            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "v4 80 TIT2(utf8)=Night";
        QTest::newRow("2.3: extended header and flags go")
            << id3v2Tag(3, bigEndian32(6) + QByteArray(6, '\0') + kPrivate + t23("TIT2", "Dawn"), 0x60)
            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "v3 00 PRIV* TIT2(utf16)=Night";
        QTest::newRow("2.3 unsynchronised: frames as they read")
            << id3v2Tag(3, QByteArray("PRIV\0\0\0\x03\0\0a\xFF\0\x00", 14) + t23("TIT2", "Dawn"), 0x80)
            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "v3 00 PRIV* TIT2(utf16)=Night";
        QTest::newRow("2.2: frames carried to 2.3")
            << id3v2Tag(2, frame22("TT2", textData("Dawn")) + frame22("UFI", "owner\0id")
                               + frame22("PIC", QByteArray("\0JPG\x03\0\xFF\xD8", 8))
                               + frame22("COM", comment("eng", "", "Old")) + frame22("TP1", textData("Taro")))
            << TagRecord{.Title = "Dawn", .Artist = "Taro", .Comment = "New", .GenreID = kNoGenre}
            << "v3 00 TIT2* UFID* APIC* COMM(utf16,jpn,)=New TPE1*";
        QTest::newRow("2.2: a frame without counterpart")
            << id3v2Tag(2, frame22("TT2", textData("Dawn")) + frame22("CRM", "owner\0x"))
            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "frame not carried CRM";
        QTest::newRow("2.2 in step stays 2.2") << id3v2Tag(2, frame22("TT2", textData("Dawn")))
                                               << TagRecord{.Title = "Dawn", .GenreID = kNoGenre} << "unchanged";
        QTest::newRow("cut short") << id3v2Tag(3, t23("TIT2", "Dawn") + "\xFF\xFB\x90\x64" + QByteArray(20, 'x'))
                                   << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "cut short";
        // What reads of it matches the row, yet what follows would be lost.
        QTest::newRow("cut short, readable part in step")
            << id3v2Tag(3, t23("TIT2", "Dawn") + "\xFF\xFB\x90\x64" + QByteArray(20, 'x'))
            << TagRecord{.Title = "Dawn", .GenreID = kNoGenre} << "cut short";
        QTest::newRow("frame past the end") << id3v2Tag(3, t23("TIT2", "Dawn") + t23("TALB", "Best").chopped(2))
                                            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "cut short";
        QTest::newRow("malformed extended header")
            << id3v2Tag(3, bigEndian32(99) + QByteArray(6, '\0') + t23("TIT2", "Dawn"), 0x40)
            << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "unreadable";
        QTest::newRow("too many frames") << id3v2Tag(3, frame23("PRIV", "x").repeated(kMaxId3v2Frames + 1))
                                         << TagRecord{.Title = "Night", .GenreID = kNoGenre} << "unreadable";
    }
    void edit()
    {
        QFETCH(QByteArray, tag);
        QFETCH(TagRecord, row);
        QFETCH(QString, edit);
        // The frames a 2.2 tag's frames become, byte for byte but for their
        // headers and the picture's format.
        const QList<QByteArray> kept = {
            kPicture,
            kPrivate,
            kDescribed,
            frame24("APIC", kPicture.sliced(10)),
            frame23("TIT2", textData("Dawn")),
            frame23("TPE1", textData("Taro")),
            frame23("TALB", textData("Best")),
            frame23("TYER", textData("1998")),
            frame23("COMM", comment("eng", "", "Good")),
            frame23("TRCK", textData("7")),
            frame23("TCON", textData("(17)")),
            frame23("UFID", "owner\0id"),
            frame23("APIC", QByteArray("\0image/jpeg\0\x03\0\xFF\xD8", 16)),
            frame23("PRIV", QByteArray("a\xFF\0", 3)),
        };
        QCOMPARE(described(editId3v2Tag(tag, row, kAllId3v2Fields), kept), edit);
        // The list marks what W would write or report, but for a file
        // without a tag, whose players show the ID3v1 fields.
        QCOMPARE(id3v2OutOfStep(row, parseId3v2Text(tag), kAllId3v2Fields), edit != "unchanged" && !tag.isEmpty());
    }

    // Only the fields that stand for a value are written or marked: a row
    // of a file without an ID3v1 block holds blanks (genre 0 among them)
    // that stand for nothing until they are changed; a file with a block
    // gives every field, an empty one removing its frames.
    void givenFields_data()
    {
        QTest::addColumn<TagRecord>("row");
        QTest::addColumn<bool>("hadBlock");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("marked");
        QTest::newRow("no block, only the title given")
            << TagRecord{.Title = "New"} << false << "v3 00 TIT2(utf16)=New TPE1* TALB* TYER* COMM* TRCK* TCON*" << true;
        QTest::newRow("no block, nothing given") << TagRecord{} << false << "unchanged" << false;
        QTest::newRow("no block, track and genre given")
            << TagRecord{.TrackNumber = 3, .GenreID = 8} << false
            << "v3 00 TIT2* TPE1* TALB* TYER* COMM* TRCK(utf16)=3 TCON(utf16)=Jazz" << true;
        QTest::newRow("block: blanks remove, genre 0 is Blues")
            << TagRecord{.Title = "New"} << true << "v3 00 TIT2(utf16)=New TCON(utf16)=Blues" << true;
    }
    void givenFields()
    {
        QFETCH(TagRecord, row);
        QFETCH(bool, hadBlock);
        QFETCH(QString, edit);
        QFETCH(bool, marked);
        const QList<QByteArray> frames = {t23("TIT2", "Dawn"), t23("TPE1", "Taro"), t23("TALB", "Best"),
                                          t23("TYER", "1998"), frame23("COMM", comment("eng", "", "Good")),
                                          t23("TRCK", "7"),    t23("TCON", "Rock")};
        const QByteArray tag = id3v2Tag(3, frames.join());
        const QList<Id3v2Field> given = id3v2GivenFields(row, hadBlock);
        QCOMPARE(described(editId3v2Tag(tag, row, given), frames), edit);
        QCOMPARE(id3v2OutOfStep(row, parseId3v2Text(tag), given), marked);
    }
};

QTEST_GUILESS_MAIN(TestId3v2Edit)
#include "tst_Id3v2Edit.moc"
