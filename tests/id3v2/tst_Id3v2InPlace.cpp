// An edited tag laid over the old one: the cover stays where it is, the
// small frames around it fill their space exactly, and what comes out reads
// as the edited tag would.

#include "common/Id3v2Bytes.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2InPlace.h"
#include "id3v2/Id3v2InStep.h"

#include <QTest>

namespace {

// A 2.3 text frame in UTF-16 with byte order mark, as rippers write it.
QByteArray t23(const char *id, const QString &text)
{
    return frame23(id, textData(QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()),
                                                                      text.size() * 2),
                                 '\1'));
}

// A cover picture large enough to stay where it is.
const QByteArray kCover = frame23("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(kStillFrame, 'j'));
const QByteArray kCover24 = frame24("APIC", kCover.sliced(10));
const QByteArray kTexts = t23("TIT2", "Dawn") + t23("TPE1", "Taro") + t23("TALB", "Best") + t23("TCON", "(17)");

const TagRecord kRow{.Title = "Dawn", .Artist = "Taro", .Album = "Best", .TrackNumber = 0, .GenreID = 17};

TagRecord withTitle(const QString &title)
{
    TagRecord row = kRow;
    row.Title = title;
    return row;
}

QByteArray padded(QByteArray tag, qint64 padding)
{
    const qint64 size = tag.size() - 10 + padding;
    tag.replace(6, 4, syncsafe(size));
    return tag + QByteArray(padding, '\0');
}

}  // namespace

class TestId3v2InPlace : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<TagRecord>("row");
        // The frames after the edit in their order, "~" after one that
        // took spare bytes, "=" after the cover where it was; or "none".
        QTest::addColumn<QString>("frames");

        const QByteArray coverAfter = padded(id3v2Tag(3, kTexts + kCover), 64);
        QTest::newRow("title as long: in its place") << coverAfter << withTitle("Dusk") << "TIT2 TPE1 TALB TCON APIC=";
        QTest::newRow("title shorter: it takes the spare bytes")
            << coverAfter << withTitle("Da") << "TIT2~ TPE1 TALB TCON APIC=";
        QTest::newRow("title longer: a small frame moves after the cover")
            << coverAfter << withTitle("Dawn Song") << "TIT2~ TALB TCON APIC= TPE1";
        QTest::newRow("title longer: two frames move")
            << coverAfter << withTitle(QString(14, u'x')) << "TIT2~ TPE1 APIC= TALB TCON";
        QTest::newRow("title longer than all the frames before the cover")
            << padded(id3v2Tag(3, kTexts + kCover), 512) << withTitle(QString(40, u'x')) << "none";
        QTest::newRow("two covers: frames of both spaces move after the last")
            << padded(id3v2Tag(3, t23("TIT2", "Dawn") + t23("TALB", "Best") + kCover + t23("TPE1", "Taro")
                                      + t23("TCON", "(17)") + kCover),
                      64)
            << TagRecord{"Dawn Song", "Taro Yamada", "Best", {}, {}, 0, 17} << "TIT2~ APIC= TPE1~ APIC= TALB TCON";
        QTest::newRow("new field: into the padding") << coverAfter << TagRecord{kRow.Title, kRow.Artist, kRow.Album, "1998",
                                                                                 {}, 0, 17}
                                                    << "TIT2 TPE1 TALB TCON APIC= TYER";
        QTest::newRow("cover first: the texts after it") << padded(id3v2Tag(3, kCover + kTexts), 16)
                                                         << withTitle("Dawn Song") << "APIC= TIT2 TPE1 TALB TCON";
        QTest::newRow("no cover: the frames laid out again")
            << padded(id3v2Tag(3, kTexts), 16) << withTitle("Dawn Song") << "TIT2 TPE1 TALB TCON";
        QTest::newRow("no padding for a frame that moves")
            << id3v2Tag(3, kTexts + kCover) << withTitle(QString(40, u'x')) << "none";
        QTest::newRow("a frame whose id another has too never moves")
            << padded(id3v2Tag(3, t23("TIT2", "Old") + t23("TALB", "Best") + t23("TALB", "Other album name") + kCover),
                      64)
            << TagRecord{"Dawn Song", {}, "Best", {}, {}, 0, 255} << "none";
        QTest::newRow("too many frames before the cover to lay out")
            << padded(id3v2Tag(3, t23("TIT2", "Dawn") + frame23("PRIV", "x").repeated(64) + kCover), 64)
            << TagRecord{"Dawn Song", {}, {}, {}, {}, 0, 255} << "none";
        QTest::newRow("field emptied: nothing takes its bytes")
            << coverAfter << TagRecord{{}, kRow.Artist, kRow.Album, {}, {}, 0, 17} << "none";
        QTest::newRow("2.4: no frame takes spare bytes")
            << padded(id3v2Tag(4, frame24("TIT2", textData("Dawn")) + kCover24), 64) << TagRecord{"Da", {}, {}, {}, {}, 0, 255}
            << "none";
        QTest::newRow("2.4: as long, in its place")
            << padded(id3v2Tag(4, frame24("TIT2", textData("Dawn")) + kCover24), 64)
            << TagRecord{"Dusk", {}, {}, {}, {}, 0, 255} << "TIT2 APIC=";
        QTest::newRow("2.3 unsynchronised as a whole") << padded(id3v2Tag(3, kTexts + kCover, 0x80), 64)
                                                       << withTitle("Dusk") << "none";
        QTest::newRow("2.2: becomes 2.3") << padded(id3v2Tag(2, frame22("TT2", textData("Dawn"))), 64)
                                          << TagRecord{"Dusk", {}, {}, {}, {}, 0, 255} << "none";
    }

    void layout()
    {
        QFETCH(QByteArray, tag);
        QFETCH(TagRecord, row);
        QFETCH(QString, frames);
        const Id3v2Edit edit = editId3v2Tag(tag, row, kAllId3v2Fields);
        QCOMPARE(edit.state, Id3v2EditState::Edited);
        const std::optional<QList<Id3v2Span>> spans = id3v2EditInPlace(edit);
        if (!spans) {
            QCOMPARE(QStringLiteral("none"), frames);
            return;
        }
        QByteArray laid = tag;
        for (const Id3v2Span &span : *spans)
            laid.replace(span.offset, span.bytes.size(), span.bytes);
        QCOMPARE(laid.size(), tag.size());

        const Id3v2Tag old = walkId3v2Tag(tag);
        const Id3v2Tag walked = walkId3v2Tag(laid);
        QCOMPARE(walked.end, Id3v2FramesEnd::Padding);
        QStringList ids;
        for (const Id3v2Frame &frame : walked.frames) {
            QString id = QString::fromLatin1(frame.id);
            const QByteArrayView bytes = walked.frameBytes(frame);
            const bool keptAsIs = std::any_of(old.frames.begin(), old.frames.end(), [&](const Id3v2Frame &o) {
                return old.frameBytes(o) == bytes;
            });
            if (bytes.size() >= kStillFrame)
                id += std::any_of(old.frames.begin(), old.frames.end(), [&](const Id3v2Frame &o) {
                          return o.offset == frame.offset && old.frameBytes(o) == bytes;
                      })
                          ? u"="
                          : u"moved";
            else if (!keptAsIs && frame.size > 1 && bytes.endsWith(QByteArray(2, '\0')))
                id += u'~';
            ids << id;
        }
        QCOMPARE(ids.join(u' '), frames);
        // Every frame the edit keeps is there byte for byte, and it all
        // reads as the edited tag does.
        for (const Id3v2EditFrame &frame : edit.frames) {
            if (frame.kept >= 0)
                QVERIFY(laid.contains(editedFrameBytes(edit, frame)));
        }
        QCOMPARE(id3v2Reading(parseId3v2Text(laid)), id3v2Reading(parseId3v2Text(editedTagBytes(edit, tag.size()))));
        QVERIFY(!id3v2OutOfStep(row, parseId3v2Text(laid), kAllId3v2Fields));
    }
};

QTEST_APPLESS_MAIN(TestId3v2InPlace)
#include "tst_Id3v2InPlace.moc"
