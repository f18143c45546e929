// Loading and saving the ID3v1.1 block through classID3_V11 on real files.

#include "common/ForkedCheck.h"
#include "common/Mp3Files.h"
#include "common/TagTestFiles.h"
#include "tagfiles/classID3_V11.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TagTestFiles;

namespace {

TagRecord titleOnly(const char *title, int track = 0, int genre = 0)
{
    return {.Title = QString::fromUtf8(title), .TrackNumber = quint8(track), .GenreID = quint8(genre)};
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

}  // namespace

class TestclassID3_V11 : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }

private slots:
    void cleanup()
    {
        QDir(dir_.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir_.path()));
    }

    // What a load gives for the bytes of a file. The object first holds another
    // file's tag: a load that succeeds replaces every field, one that fails
    // keeps them.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<TagRecord>("fields");

        const QByteArray audio = mpegFrameFile(400);
        RawBlock full{"Title", "Artist", "Album", "1999", "Comment"};
        full.track = 7;
        full.genre = 17;
        const TagRecord fullFields{.Title = "Title", .Artist = "Artist", .Album = "Album", .Year = "1999", .Comment = "Comment", .TrackNumber = 7, .GenreID = 17};

        QTest::newRow("tag present") << audio + full.bytes() << true << fullFields;
        QTest::newRow("MPEG-1 Layer III 0xFA start") << mpegFrameFile(10, '\xFA') + full.bytes() << true << fullFields;
        QTest::newRow("ID3v2 start") << QByteArray("ID3\x04\x00\x00\x00\x00\x00\x20", 10) + audio + full.bytes()
                                     << true << fullFields;
        QTest::newRow("no tag") << audio << true << TagRecord{};
        QTest::newRow("short file") << QByteArray("\xFF\xFB\x90", 3) << true << TagRecord{};
        QTest::newRow("exactly 128 bytes starting FF FB") << mpegFrameFile(128) << true << TagRecord{};
        QTest::newRow("lower-case tag magic") << audio + "tag" + full.bytes().mid(3) << true << TagRecord{};
        QTest::newRow("tag magic only at the front") << "TAG" + audio << false << TagRecord{};
        QTest::newRow("MPEG-2 Layer III start") << mpegFrameFile(400, '\xF3') + full.bytes() << false << TagRecord{};
        QTest::newRow("MPEG-1 Layer II start") << mpegFrameFile(400, '\xFD') + full.bytes() << false << TagRecord{};
        QTest::newRow("RIFF wrapper") << "RIFF" + audio + full.bytes() << false << TagRecord{};
        QTest::newRow("empty file") << QByteArray() << false << TagRecord{};
        QTest::newRow("two bytes ID") << QByteArray("ID") << false << TagRecord{};

        RawBlock v10{"Old"};
        v10.comment30 = "a v1.0 comment";
        QTest::newRow("v1.0 comment padded with spaces")
            << audio + v10.bytes() << true << TagRecord{.Title = "Old", .Comment = "a v1.0 comment"};
        v10.comment30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5!5";
        QTest::newRow("v1.0 comment of 30 bytes, byte 126 <= 100")
            << audio + v10.bytes() << true << TagRecord{.Title = "Old", .Comment = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5", .TrackNumber = 0x35};
        v10.comment30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01xz";
        QTest::newRow("v1.0 comment of 30 bytes, byte 126 > 100")
            << audio + v10.bytes() << true << TagRecord{.Title = "Old", .Comment = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01"};

        const auto withTrack = [&](unsigned char zero, unsigned char track) {
            RawBlock b{"T"};
            b.zero = zero;
            b.track = track;
            return audio + b.bytes();
        };
        QTest::newRow("track 100 stays") << withTrack(0, 100) << true << titleOnly("T", 100);
        QTest::newRow("track 101 is none") << withTrack(0, 101) << true << titleOnly("T");
        QTest::newRow("track 255 is none") << withTrack(0, 255) << true << titleOnly("T");
        QTest::newRow("space at 125 alone keeps track") << withTrack(' ', 9) << true << titleOnly("T", 9);
        QTest::newRow("space at 126 alone is track 32") << withTrack(0, ' ') << true << titleOnly("T", 32);

        RawBlock genre{"G"};
        genre.genre = 200;
        QTest::newRow("genre 200 kept") << audio + genre.bytes() << true << titleOnly("G", 0, 200);
        genre.genre = 255;
        QTest::newRow("genre 255 kept") << audio + genre.bytes() << true << titleOnly("G", 0, 255);
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(TagRecord, fields);
        const TagRecord previous{.Title = "Song", .Artist = "Band", .Album = "Record", .Year = "1984", .Comment = "Note", .TrackNumber = 5, .GenreID = 147};
        QVERIFY(writeTaggedMp3(path("previous.mp3"), previous));
        const QString file = path("a.mp3");
        QVERIFY(writeFile(file, content));

        classID3_V11 tag;
        QVERIFY(tag.LoadMp3File(path("previous.mp3")));
        QCOMPARE(tag.LoadMp3File(file), loads);
        QCOMPARE(tag.ErrorString(), loads ? kNoError : kNotMp3);
        QCOMPARE(tagFields(tag), loads ? fields : previous);
        QCOMPARE(readFile(file), content);  // a load never writes
    }

    // A save overwrites an existing block in place or appends one, and leaves
    // the bytes before it alone; a second save overwrites what the first
    // appended.
    void save_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("blockAt");

        const QByteArray audio = mpegFrameFile(1000);
        RawBlock old{"Old title", "Old artist", "Old album", "1970", "Old comment"};
        old.track = 3;
        RawBlock junk;
        junk.pad = '\0';
        junk.zero = 'x';
        junk.track = junk.genre = 0xFF;
        const QByteArray id3 = QByteArray("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + QByteArray(300, '\xAA');

        QTest::newRow("tag present: overwritten in place") << audio + old.bytes() << 1000;
        QTest::newRow("0x00-filled tag: overwritten in place") << audio + junk.bytes() << 1000;
        QTest::newRow("no tag: appended") << audio << 1000;
        QTest::newRow("short file: appended") << QByteArray("\xFF\xFB\x90\x64\x00", 5) << 5;
        QTest::newRow("exactly 128 bytes starting FF FB: appended") << mpegFrameFile(128) << 128;
        QTest::newRow("ID3 start, no tag: appended") << id3 << 310;
        QTest::newRow("ID3 start, tag present: overwritten") << id3 + old.bytes() << 310;
    }
    void save()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, blockAt);
        const QString file = path("s.mp3");
        QVERIFY(writeFile(file, content));
        const TagRecord fields{.Title = "New title", .Artist = "New artist", .Album = "New album", .Year = "2024", .Comment = "New comment", .TrackNumber = 42, .GenreID = 200};
        RawBlock expected{"New title", "New artist", "New album", "2024", "New comment"};
        expected.track = 42;
        expected.genre = 200;

        classID3_V11 tag;
        tag.SetMP3File(file);
        putTagFields(tag, fields);
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(tag.SaveMp3File(QString()));
            QCOMPARE(tag.ErrorString(), kNoError);
            QCOMPARE(readFile(file), content.left(blockAt) + expected.bytes());
        }
        QCOMPARE(readMp3Tag(file), fields);
    }

    // A loaded slot's text; saved back untouched, the slot keeps its bytes.
    void textSlots_data()
    {
        QTest::addColumn<QByteArray>("slotBytes");
        QTest::addColumn<char>("pad");
        QTest::addColumn<QString>("loaded");

        QTest::newRow("two words then spaces") << QByteArray("Two Words") << ' ' << QStringLiteral("Two Words");
        QTest::newRow("0x00 padded") << QByteArray("Two Words") << '\0' << QStringLiteral("Two Words");
        QTest::newRow("spaces then 0x00") << QByteArray("Word   ") << '\0' << QStringLiteral("Word");
        QTest::newRow("text after 0x00 ignored") << QByteArray("abc\0def", 7) << ' ' << QStringLiteral("abc");
        QTest::newRow("leading spaces kept") << QByteArray("  lead") << ' ' << QStringLiteral("  lead");
        QTest::newRow("only 0x00") << QByteArray() << '\0' << QString();
        QTest::newRow("30 bytes fill the slot") << QByteArray("123456789012345678901234567890") << ' '
                                               << QStringLiteral("123456789012345678901234567890");
        QTest::newRow("Shift-JIS text") << QByteArray("\x83\x65\x83\x58\x83\x67\x20\xB1\xB2") << ' '
                                        << QStringLiteral(u"テスト ｱｲ");
        // Bytes that are no CP932 text go back as they came.
        QTest::newRow("Latin-1 text") << QByteArray("Beyonc\xE9") << ' ' << QStringLiteral("Beyonc") + QChar(0xDCE9);
        QTest::newRow("lead byte cut off at the slot's end")
            << QByteArray(29, 'a') + '\x82' << ' ' << QString(29, u'a') + QChar(0xDC82);
        QTest::newRow("undefined byte and unmapped pair") << QByteArray("x\x80\x85\x40") << '\0'
                                                          << QStringLiteral("x") + QChar(0xDC80) + QChar(0xDC85) + '@';
    }
    void textSlots()
    {
        QFETCH(QByteArray, slotBytes);
        QFETCH(char, pad);
        QFETCH(QString, loaded);
        RawBlock block;
        block.title = slotBytes;
        block.pad = pad;
        const QString file = path("t.mp3");
        QVERIFY(writeFile(file, mpegFrameFile(200) + block.bytes()));

        classID3_V11 tag;
        QVERIFY(tag.LoadMp3File(file));
        QCOMPARE(tag.GetTrackName(), loaded);
        QVERIFY(tag.SaveMp3File(QString()));
        QCOMPARE(readFile(file).mid(200 + 3, 30), slot(slotBytes, 30, pad));
    }

    // Characters CP932 codes twice read as themselves from either code. A
    // save rewrites only the fields whose values changed; every other field
    // keeps its bytes: a doubly coded character keeps its code, an ID3v1.0
    // comment its last two bytes, a track byte over 100 its value.
    void untouchedFieldsKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("before");  // the block in the file
        QTest::addColumn<TagRecord>("loaded");
        QTest::addColumn<TagRecord>("saved");  // the fields given to the save
        QTest::addColumn<QByteArray>("after");

        // ①②③ 髙﨑 | ≒A | Ⅰ 纊 ⅰ ￢ ￢ ㈱: NEC row 13, NEC-selected IBM and
        // IBM extension codes, none of them the code Windows writes but ①②③.
        RawBlock twoCodes{QByteArray::fromHex("874087418742eee0ed95"), QByteArray::fromHex("879041"),
                          QByteArray::fromHex("fa4aed40eeefeef9fa54fa58")};
        twoCodes.track = 3;
        const TagRecord twoCodesRead{.Title = u"①②③髙﨑"_qs, .Artist = u"≒A"_qs,
                                     .Album = u"Ⅰ纊ⅰ\uFFE2\uFFE2㈱"_qs, .TrackNumber = 3};
        RawBlock trackChanged = twoCodes;
        trackChanged.track = 4;
        TagRecord withTrack = twoCodesRead;
        withTrack.TrackNumber = 4;
        QTest::newRow("doubly coded, track changed")
            << twoCodes.bytes() << twoCodesRead << withTrack << trackChanged.bytes();
        RawBlock titleTyped = twoCodes;
        titleTyped.title = QByteArray::fromHex("fbfc");
        TagRecord typed = twoCodesRead;
        typed.Title = u"髙"_qs;
        QTest::newRow("doubly coded, title typed")
            << twoCodes.bytes() << twoCodesRead << typed << titleTyped.bytes();

        RawBlock v10{"Old"};
        v10.comment30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5!5";
        const TagRecord v10Read{.Title = "Old", .Comment = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5", .TrackNumber = 0x35};
        QTest::newRow("v1.0 comment, untouched") << v10.bytes() << v10Read << v10Read << v10.bytes();
        RawBlock v10Comment{"Old", {}, {}, {}, "new"};
        v10Comment.track = 0x35;
        TagRecord newComment = v10Read;
        newComment.Comment = "new";
        QTest::newRow("v1.0 comment, comment changed")
            << v10.bytes() << v10Read << newComment << v10Comment.bytes();
        RawBlock v10Track{"Old", {}, {}, {}, "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5"};
        v10Track.track = 9;
        TagRecord newTrack = v10Read;
        newTrack.TrackNumber = 9;
        QTest::newRow("v1.0 comment, track changed") << v10.bytes() << v10Read << newTrack << v10Track.bytes();

        RawBlock track150{"T"};
        track150.track = 150;
        const TagRecord track150Read{.Title = "T"};
        QTest::newRow("track byte 150, untouched") << track150.bytes() << track150Read << track150Read
                                                   << track150.bytes();
        RawBlock track150Comment = track150;
        track150Comment.comment = "c";
        QTest::newRow("track byte 150, comment changed")
            << track150.bytes() << track150Read << TagRecord{.Title = "T", .Comment = "c"} << track150Comment.bytes();
        RawBlock track150Track{"T"};
        track150Track.track = 7;
        QTest::newRow("track byte 150, track changed")
            << track150.bytes() << track150Read << TagRecord{.Title = "T", .TrackNumber = 7} << track150Track.bytes();
    }
    void untouchedFieldsKeepTheirBytes()
    {
        QFETCH(QByteArray, before);
        QFETCH(TagRecord, loaded);
        QFETCH(TagRecord, saved);
        QFETCH(QByteArray, after);
        const QString file = path("u.mp3");
        QVERIFY(writeFile(file, mpegFrameFile(200) + before));
        classID3_V11 tag;
        QVERIFY(tag.LoadMp3File(file));
        QCOMPARE(tagFields(tag), loaded);
        putTagFields(tag, saved);
        QVERIFY(tag.SaveMp3File(QString()));
        QCOMPARE(readFile(file).mid(200).toHex(' '), after.toHex(' '));
    }

    // Texts saved through a file: the CP932 bytes in the slot, and what a load
    // of them gives back.
    void savedText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("slotBytes");  // before the space padding
        QTest::addColumn<QString>("loaded");

        const QString fifteen = QStringLiteral(u"あいうえおかきくけこさしすせそ");
        const QByteArray fifteenBytes =
            QByteArray::fromHex("82a082a282a482a682a882a982ab82ad82af82b182b382b582b782b982bb");
        QTest::newRow("15 full-width chars fill 30 bytes") << fifteen << fifteenBytes << fifteen;
        QTest::newRow("a 16th full-width char is cut") << fifteen + QStringLiteral(u"た") << fifteenBytes << fifteen;
        QTest::newRow("cut does not split a double-byte char")
            << QStringLiteral("a") + fifteen << QByteArray("a") + fifteenBytes.left(28)
            << QStringLiteral("a") + fifteen.left(14);
        QTest::newRow("JIS-form characters")
            << QStringLiteral(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC") << QByteArray::fromHex("81608161817c8191819281ca")
            << QStringLiteral(u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2");
        QTest::newRow("emoji is one ?") << QStringLiteral(u"a\U0001F600b") << QByteArray("a?b") << QStringLiteral("a?b");
        QTest::newRow("text ends at U+0000") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")
                                             << QByteArray("ab") << QStringLiteral("ab");
    }
    void savedText()
    {
        QFETCH(QString, title);
        QFETCH(QByteArray, slotBytes);
        QFETCH(QString, loaded);
        const QString file = path("j.mp3");
        QVERIFY(writeFile(file, mpegFrameFile(200)));
        classID3_V11 tag;
        tag.SetTrackName(title);
        QVERIFY(tag.SaveMp3File(file));
        const QByteArray after = readFile(file);
        QCOMPARE(after.size(), 200 + 128);
        QCOMPARE(after.mid(200 + 3, 60).toHex(' '), (slot(slotBytes, 30) + QByteArray(30, ' ')).toHex(' '));
        QVERIFY(tag.LoadMp3File(QString()));
        QCOMPARE(tag.GetTrackName(), loaded);
    }

    // Setters cut at the width in characters and keep everything else.
    void setterCuts_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("held");
        const QString forty = QStringLiteral("1234567890abcdefghijABCDEFGHIJ!!!!!!!!!!");
        QTest::newRow("title 40 -> 30") << 0 << forty << forty.left(30);
        QTest::newRow("artist 40 -> 30") << 1 << forty << forty.left(30);
        QTest::newRow("album 40 -> 30") << 2 << forty << forty.left(30);
        QTest::newRow("year 5 -> 4") << 3 << QStringLiteral("20245") << QStringLiteral("2024");
        QTest::newRow("comment 40 -> 28") << 4 << forty << forty.left(28);
        QTest::newRow("trailing spaces kept") << 0 << QStringLiteral("abc  ") << QStringLiteral("abc  ");
        QTest::newRow("30 full-width chars kept") << 0 << QString(30, QChar(0x3042)) << QString(30, QChar(0x3042));
        QTest::newRow("surrogate pair not split at 30")
            << 0 << QString(29, u'a') + QStringLiteral(u"\U0001F600") << QString(29, u'a');
    }
    void setterCuts()
    {
        QFETCH(int, field);
        QFETCH(QString, input);
        QFETCH(QString, held);
        TagRecord record;
        QString *const texts[] = {&record.Title, &record.Artist, &record.Album, &record.Year, &record.Comment};
        *texts[field] = input;
        classID3_V11 tag;
        putTagFields(tag, record);
        *texts[field] = held;
        QCOMPARE(tagFields(tag), record);
    }

    // Files that cannot be loaded or saved: false, code 2, nothing created or
    // changed. Each operation runs in a child, so one that blocks (opening a
    // FIFO for reading waits for a writer) fails instead of stalling the suite.
    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("save");
        for (const bool save : {false, true}) {
            for (const char *kind : {"missing", "empty", "folder", "MPEG-2", "dangling symlink", "FIFO", "zero in path"})
                QTest::addRow("%s %s", save ? "save" : "load", kind) << QString::fromLatin1(kind) << save;
        }
    }
    void failures()
    {
        QFETCH(QString, kind);
        QFETCH(bool, save);
        const QString file = path("f.mp3");
        const QByteArray mpeg2 = mpegFrameFile(300, '\xF3') + RawBlock{"X"}.bytes();
        if (kind == "empty")
            QVERIFY(writeFile(file, QByteArray()));
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(file));
        else if (kind == "MPEG-2")
            QVERIFY(writeFile(file, mpeg2));
        else if (kind == "dangling symlink")
            QVERIFY(QFile::link(path("gone.mp3"), file));
        else if (kind == "FIFO")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        else if (kind == "zero in path")  // the system would cut the path at the zero
            QVERIFY(writeFile(file, mpegFrameFile(300)));
        const QString bound = kind == "zero in path" ? file + QChar(0) + "x.mp3" : file;

        // In a child, so a FIFO that blocked would fail the row, not hang it.
        const int result = exitCodeInChild([&] {
            classID3_V11 tag;
            tag.SetTrackName(QStringLiteral("held"));
            tag.SetMP3File(bound);
            const bool ok = save ? tag.SaveMp3File(QString()) : tag.LoadMp3File(QString());
            return ok ? 1 : tag.ErrorString() != kNotMp3 ? 2 : tag.GetTrackName() != "held" ? 3 : 0;
        });
        QVERIFY2(result >= 0, "the operation blocked or crashed");
        QCOMPARE(result, 0);

        const QFileInfo info(file);
        if (kind == "missing")
            QVERIFY(!info.exists() && !info.isSymLink());
        else if (kind == "dangling symlink")
            QVERIFY(!QFileInfo::exists(path("gone.mp3")));
        else if (kind == "empty")
            QCOMPARE(info.size(), 0);
        else if (kind == "folder")
            QVERIFY(info.isDir() && QDir(file).isEmpty());
        else if (kind == "MPEG-2")
            QCOMPARE(readFile(file), mpeg2);
        else if (kind == "zero in path")
            QCOMPARE(readFile(file), mpegFrameFile(300));
    }

    void errorCodes()
    {
        const QString good = path("good.mp3");
        QVERIFY(writeFile(good, mpegFrameFile(300)));
        classID3_V11 tag;
        QCOMPARE(tag.ErrorString(), kNoError);
        QVERIFY(!tag.LoadMp3File(QString()));
        QCOMPARE(tag.ErrorString(), kNotSet);
        QVERIFY(!tag.SaveMp3File(QString()));
        QCOMPARE(tag.ErrorString(), kNotSet);
        QVERIFY(!tag.LoadMp3File(path("missing.mp3")));
        tag.SetMP3File(good);  // binding touches neither the file nor the code
        QCOMPARE(tag.ErrorString(), kNotMp3);
        QVERIFY(tag.SaveMp3File(QString()));
        QCOMPARE(tag.ErrorString(), kNoError);
    }

    void symlinkToMp3IsFollowed()
    {
        const QString target = path("target.mp3");
        const QByteArray audio = mpegFrameFile(500);
        QVERIFY(writeFile(target, audio));
        QVERIFY(QFile::link(target, path("link.mp3")));
        classID3_V11 tag;
        tag.SetTrackName(QStringLiteral("Via link"));
        QVERIFY(tag.SaveMp3File(path("link.mp3")));
        QVERIFY(QFileInfo(path("link.mp3")).isSymLink());
        QCOMPARE(readFile(target).left(audio.size() + 3 + 8), audio + "TAGVia link");
    }

    // Every operation closes what it opened, whether it succeeds or fails.
    void noDescriptorLeft()
    {
        const QString good = path("good.mp3");
        const QString mpeg2 = path("mpeg2.mp3");
        QVERIFY(writeFile(good, mpegFrameFile(300)));
        QVERIFY(writeFile(mpeg2, mpegFrameFile(300, '\xF3')));
        const int before = openDescriptors();
        classID3_V11 tag;
        for (int i = 0; i < 20; ++i) {
            QVERIFY(tag.LoadMp3File(good) && tag.SaveMp3File(good));
            QVERIFY(!tag.LoadMp3File(mpeg2) && !tag.SaveMp3File(mpeg2) && !tag.SaveMp3File(dir_.path()));
        }
        QCOMPARE(openDescriptors(), before);
    }
};

QTEST_GUILESS_MAIN(TestclassID3_V11)
#include "tst_classID3_V11.moc"
