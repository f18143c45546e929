// Loading and saving the ID3v1.1 block through classID3_V11 on real files.

#include "TagTestFiles.h"
#include "classID3_V11.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TagTestFiles;

namespace {

struct Expected {
    Expected() = default;
    Expected(QString t, QString ar, QString al, QString y, QString c, int tr, int g)
        : title(t), artist(ar), album(al), year(y), comment(c), track(tr), genre(g)
    {
    }

    QString title, artist, album, year, comment;
    int track = 0;
    int genre = 0;
};

void compareFields(const classID3_V11 &tag, const Expected &e)
{
    QCOMPARE(tag.GetTrackName(), e.title);
    QCOMPARE(tag.GetAirtistName(), e.artist);
    QCOMPARE(tag.GetAlbumName(), e.album);
    QCOMPARE(tag.GetReleaseYear(), e.year);
    QCOMPARE(tag.GetComment(), e.comment);
    QCOMPARE(int(tag.GetTrackNumber()), e.track);
    QCOMPARE(int(tag.GetGenreID()), e.genre);
}

// Number of open descriptors of this process.
int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

}  // namespace

Q_DECLARE_METATYPE(Expected)

class TestClassID3V11 : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void load_data();
    void load();
    void save_data();
    void save();
    void textSlots_data();
    void textSlots();
    void savedText_data();
    void savedText();
    void setterCuts_data();
    void setterCuts();
    void failures_data();
    void failures();
    void fifoNeverBlocks_data();
    void fifoNeverBlocks();
    void errorCodeAfterEachOperation();
    void reuseAcrossFiles();
    void symlinkToMp3();
    void noDescriptorLeft();

private:
    QString path(const QString &name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestClassID3V11::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY2(dir_->isValid(), qPrintable(dir_->errorString()));
}

// What a load gives for the bytes of a file. Fields are compared only when
// the load succeeds.
void TestClassID3V11::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<Expected>("fields");

    const QByteArray audio = mpegFrameFile(400);
    RawBlock full{"Title", "Artist", "Album", "1999", "Comment"};
    full.track = 7;
    full.genre = 17;
    const Expected fullFields{"Title", "Artist", "Album", "1999", "Comment", 7, 17};

    QTest::newRow("tag present") << audio + full.bytes() << true << fullFields;
    QTest::newRow("MPEG-1 Layer III 0xFA start") << mpegFrameFile(10, '\xFA') + full.bytes() << true << fullFields;
    QTest::newRow("ID3v2 start") << QByteArray("ID3\x04\x00\x00\x00\x00\x00\x20", 10) + audio + full.bytes() << true
                                 << fullFields;
    QTest::newRow("no tag") << audio << true << Expected{};
    QTest::newRow("short file") << QByteArray("\xFF\xFB\x90", 3) << true << Expected{};
    QTest::newRow("exactly 128 bytes starting FF FB") << mpegFrameFile(128) << true << Expected{};
    QTest::newRow("lower-case tag magic") << audio + "tag" + full.bytes().mid(3) << true << Expected{};
    QTest::newRow("tag magic only at the front") << "TAG" + audio << false << Expected{};

    QTest::newRow("MPEG-2 Layer III start") << mpegFrameFile(400, '\xF3') + full.bytes() << false << Expected{};
    QTest::newRow("MPEG-1 Layer II start") << mpegFrameFile(400, '\xFD') + full.bytes() << false << Expected{};
    QTest::newRow("RIFF wrapper") << "RIFF" + audio + full.bytes() << false << Expected{};
    QTest::newRow("empty file") << QByteArray() << false << Expected{};
    QTest::newRow("two bytes ID") << QByteArray("ID") << false << Expected{};

    RawBlock v10{"Old"};
    v10.comment30 = "a v1.0 comment";
    QTest::newRow("v1.0 comment padded with spaces") << audio + v10.bytes() << true
                                                     << Expected{"Old", "", "", "", "a v1.0 comment", 0, 0};
    v10.comment30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5";  // 28 bytes, then "!" and "5" below
    v10.comment30 += "!5";
    QTest::newRow("v1.0 comment of 30 bytes, byte 126 <= 100")
        << audio + v10.bytes() << true << Expected{"Old", "", "", "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ!5", 0x35, 0};
    v10.comment30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01xz";
    QTest::newRow("v1.0 comment of 30 bytes, byte 126 > 100")
        << audio + v10.bytes() << true << Expected{"Old", "", "", "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01", 0, 0};

    auto withTrack = [&](unsigned char zero, unsigned char track) {
        RawBlock b{"T"};
        b.zero = zero;
        b.track = track;
        return audio + b.bytes();
    };
    QTest::newRow("track 1") << withTrack(0, 1) << true << Expected{"T", "", "", "", "", 1, 0};
    QTest::newRow("track 100 stays") << withTrack(0, 100) << true << Expected{"T", "", "", "", "", 100, 0};
    QTest::newRow("track 101 is none") << withTrack(0, 101) << true << Expected{"T", "", "", "", "", 0, 0};
    QTest::newRow("track 255 is none") << withTrack(0, 255) << true << Expected{"T", "", "", "", "", 0, 0};
    QTest::newRow("space at 125 alone keeps track") << withTrack(' ', 9) << true << Expected{"T", "", "", "", "", 9, 0};
    QTest::newRow("space at 126 alone is track 32") << withTrack(0, ' ') << true << Expected{"T", "", "", "", "", 32, 0};

    RawBlock genre{"G"};
    genre.genre = 200;
    QTest::newRow("genre 200 kept") << audio + genre.bytes() << true << Expected{"G", "", "", "", "", 0, 200};
    genre.genre = 255;
    QTest::newRow("genre 255 kept") << audio + genre.bytes() << true << Expected{"G", "", "", "", "", 0, 255};
}

void TestClassID3V11::load()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loads);
    QFETCH(Expected, fields);

    const QString file = path(QStringLiteral("a.mp3"));
    QVERIFY(writeFile(file, content));
    classID3_V11 tag;
    tag.SetMP3File(file);
    QCOMPARE(tag.LoadMp3File(QString()), loads);
    QCOMPARE(tag.ErrorString(), loads ? kNoError : kNotMp3);
    if (loads)
        compareFields(tag, fields);
    QCOMPARE(readFile(file), content);  // a load never writes
}

// A save overwrites an existing block in place or appends one, and leaves the
// bytes before it alone; a second save overwrites what the first appended.
void TestClassID3V11::save_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("blockAt");

    const QByteArray audio = mpegFrameFile(1000);
    RawBlock old{"Old title", "Old artist", "Old album", "1970", "Old comment"};
    old.track = 3;
    old.genre = 12;
    RawBlock junk;
    junk.pad = '\0';
    junk.zero = 'x';
    junk.track = 0xFF;
    junk.genre = 0xFF;

    QTest::newRow("tag present: overwritten in place") << audio + old.bytes() << 1000;
    QTest::newRow("0x00-filled tag: overwritten in place") << audio + junk.bytes() << 1000;
    QTest::newRow("no tag: appended") << audio << 1000;
    QTest::newRow("short file: appended") << QByteArray("\xFF\xFB\x90\x64\x00", 5) << 5;
    QTest::newRow("exactly 128 bytes starting FF FB: appended") << mpegFrameFile(128) << 128;
    const QByteArray id3 = QByteArray("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + QByteArray(300, '\xAA');
    QTest::newRow("ID3 start, no tag: appended") << id3 << 310;
    QTest::newRow("ID3 start, tag present: overwritten") << id3 + old.bytes() << 310;
}

void TestClassID3V11::save()
{
    QFETCH(QByteArray, content);
    QFETCH(int, blockAt);

    const QString file = path(QStringLiteral("s.mp3"));
    QVERIFY(writeFile(file, content));

    classID3_V11 tag;
    tag.SetMP3File(file);
    tag.SetTrackName(QStringLiteral("New title"));
    tag.SetAirtistName(QStringLiteral("New artist"));
    tag.SetAlbumName(QStringLiteral("New album"));
    tag.SetReleaseYear(QStringLiteral("2024"));
    tag.SetComment(QStringLiteral("New comment"));
    tag.SetTrackNumber(42);
    tag.SetGenreID(200);

    RawBlock expected{"New title", "New artist", "New album", "2024", "New comment"};
    expected.track = 42;
    expected.genre = 200;
    const QByteArray wanted = content.left(blockAt) + expected.bytes();

    for (int round = 1; round <= 2; ++round) {
        QVERIFY2(tag.SaveMp3File(QString()), qPrintable(QStringLiteral("round %1").arg(round)));
        QCOMPARE(tag.ErrorString(), kNoError);
        const QByteArray after = readFile(file);
        QCOMPARE(after.size(), blockAt + 128);
        QCOMPARE(after.left(blockAt), content.left(blockAt));
        QCOMPARE(after.mid(blockAt), expected.bytes());
        QCOMPARE(after, wanted);
    }

    classID3_V11 reader;
    QVERIFY(reader.LoadMp3File(file));
    compareFields(reader, {"New title", "New artist", "New album", "2024", "New comment", 42, 200});
}

// Text slots: what a loaded slot holds, and what a saved text becomes.
void TestClassID3V11::textSlots_data()
{
    QTest::addColumn<QByteArray>("slotBytes");  // title slot as found in a file
    QTest::addColumn<char>("pad");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("space padded") << QByteArray("Title") << ' ' << QStringLiteral("Title");
    QTest::newRow("two words then spaces") << QByteArray("Two Words") << ' ' << QStringLiteral("Two Words");
    QTest::newRow("0x00 padded") << QByteArray("Two Words") << '\0' << QStringLiteral("Two Words");
    QTest::newRow("spaces then 0x00") << QByteArray("Word   ") << '\0' << QStringLiteral("Word");
    QTest::newRow("text after 0x00 ignored") << QByteArray("abc\0def", 7) << ' ' << QStringLiteral("abc");
    QTest::newRow("leading spaces kept") << QByteArray("  lead") << ' ' << QStringLiteral("  lead");
    QTest::newRow("only spaces") << QByteArray() << ' ' << QString();
    QTest::newRow("only 0x00") << QByteArray() << '\0' << QString();
    QTest::newRow("30 bytes fill the slot") << QByteArray("123456789012345678901234567890") << ' '
                                           << QStringLiteral("123456789012345678901234567890");
    QTest::newRow("Shift-JIS text") << QByteArray("\x83\x65\x83\x58\x83\x67\x20\xB1\xB2") << ' '
                                    << QStringLiteral(u"テスト ｱｲ");
}

void TestClassID3V11::textSlots()
{
    QFETCH(QByteArray, slotBytes);
    QFETCH(char, pad);
    QFETCH(QString, loaded);

    RawBlock block;
    block.title = slotBytes;
    block.pad = pad;
    const QString file = path(QStringLiteral("t.mp3"));
    QVERIFY(writeFile(file, mpegFrameFile(200) + block.bytes()));

    classID3_V11 tag;
    QVERIFY(tag.LoadMp3File(file));
    QCOMPARE(tag.GetTrackName(), loaded);

    // Written back space-padded, so it reads the same again.
    QVERIFY(tag.SaveMp3File(QString()));
    const QByteArray slotAfter = readFile(file).mid(200 + 3, 30);
    QByteArray text = slotBytes.left(slotBytes.indexOf('\0') < 0 ? slotBytes.size() : slotBytes.indexOf('\0'));
    while (text.endsWith(' '))
        text.chop(1);
    QCOMPARE(slotAfter, slot(text, 30));
    QVERIFY(tag.LoadMp3File(QString()));
    QCOMPARE(tag.GetTrackName(), loaded);
}

// Texts saved through a file: the CP932 bytes in the slot, and what a load of
// them gives back.
void TestClassID3V11::savedText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("slotBytes");  // before the space padding
    QTest::addColumn<QString>("loaded");

    const QString fifteen = QStringLiteral(u"あいうえおかきくけこさしすせそ");
    // Hiragana a..so in CP932: 0x82A0 (a) to 0x82BB (so).
    const QByteArray fifteenBytes = QByteArray::fromHex("82a082a282a482a682a882a982ab82ad82af82b182b382b582b782b982bb");
    QTest::newRow("15 full-width chars fill 30 bytes") << fifteen << fifteenBytes << fifteen;
    QTest::newRow("a 16th full-width char is cut")
        << fifteen + QStringLiteral(u"た") << fifteenBytes << fifteen;
    QTest::newRow("cut does not split a double-byte char")
        << QStringLiteral("a") + fifteen << QByteArray("a") + fifteenBytes.left(28) << QStringLiteral("a") + fifteen.left(14);
    QTest::newRow("30 half-width katakana are 30 bytes")
        << QString(30, QChar(0xFF71)) << QByteArray(30, '\xB1') << QString(30, QChar(0xFF71));
    QTest::newRow("JIS-form characters")
        << QStringLiteral(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC")
        << QByteArray::fromHex("8160816181" "7c8191819281ca")
        << QStringLiteral(u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2");
    QTest::newRow("emoji is one ?") << QStringLiteral(u"a\U0001F600b") << QByteArray("a?b") << QStringLiteral("a?b");
    QTest::newRow("U+FFFD is one ?") << QStringLiteral(u"a\uFFFDb") << QByteArray("a?b") << QStringLiteral("a?b");
    QTest::newRow("backslash and tilde") << QStringLiteral("C:\\~x") << QByteArray("C:\\~x") << QStringLiteral("C:\\~x");
    QTest::newRow("text ends at U+0000") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd") << QByteArray("ab")
                                         << QStringLiteral("ab");
}

void TestClassID3V11::savedText()
{
    QFETCH(QString, title);
    QFETCH(QByteArray, slotBytes);
    QFETCH(QString, loaded);

    const QString file = path(QStringLiteral("j.mp3"));
    QVERIFY(writeFile(file, mpegFrameFile(200)));
    classID3_V11 tag;
    tag.SetTrackName(title);
    QVERIFY(tag.SaveMp3File(file));
    const QByteArray after = readFile(file);
    QCOMPARE(after.size(), 200 + 128);
    QCOMPARE(after.mid(200 + 3, 30).toHex(' '), slot(slotBytes, 30).toHex(' '));
    QCOMPARE(after.mid(200 + 33, 30), QByteArray(30, ' '));  // the next slot is untouched by the cut
    QVERIFY(tag.LoadMp3File(QString()));
    QCOMPARE(tag.GetTrackName(), loaded);
}

// Setters cut at the width in characters and keep everything else.
void TestClassID3V11::setterCuts_data()
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
    QTest::newRow("year not digits") << 3 << QStringLiteral("abcd") << QStringLiteral("abcd");
    QTest::newRow("30 full-width chars kept") << 0 << QString(30, QChar(0x3042)) << QString(30, QChar(0x3042));
    QTest::newRow("surrogate pair not split at 30")
        << 0 << QString(29, QLatin1Char('a')) + QStringLiteral(u"\U0001F600") << QString(29, QLatin1Char('a'));
}

void TestClassID3V11::setterCuts()
{
    QFETCH(int, field);
    QFETCH(QString, input);
    QFETCH(QString, held);

    classID3_V11 tag;
    switch (field) {
    case 0: tag.SetTrackName(input); QCOMPARE(tag.GetTrackName(), held); break;
    case 1: tag.SetAirtistName(input); QCOMPARE(tag.GetAirtistName(), held); break;
    case 2: tag.SetAlbumName(input); QCOMPARE(tag.GetAlbumName(), held); break;
    case 3: tag.SetReleaseYear(input); QCOMPARE(tag.GetReleaseYear(), held); break;
    case 4: tag.SetComment(input); QCOMPARE(tag.GetComment(), held); break;
    default: QFAIL("unknown field");
    }
}

// Files that cannot be loaded or saved: false, code 2, nothing created or
// changed.
void TestClassID3V11::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("save");

    for (const bool save : {false, true}) {
        const char *op = save ? "save" : "load";
        for (const char *kind : {"missing", "empty", "folder", "MPEG-2", "dangling symlink"})
            QTest::addRow("%s %s", op, kind) << QString::fromLatin1(kind) << save;
    }
}

void TestClassID3V11::failures()
{
    QFETCH(QString, kind);
    QFETCH(bool, save);

    const QString file = path(QStringLiteral("f.mp3"));
    const QByteArray mpeg2 = mpegFrameFile(300, '\xF3') + RawBlock{"X"}.bytes();
    if (kind == QLatin1String("empty"))
        QVERIFY(writeFile(file, QByteArray()));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(file));
    else if (kind == QLatin1String("MPEG-2"))
        QVERIFY(writeFile(file, mpeg2));
    else if (kind == QLatin1String("dangling symlink"))
        QVERIFY(QFile::link(path(QStringLiteral("gone.mp3")), file));

    classID3_V11 tag;
    tag.SetTrackName(QStringLiteral("held"));
    tag.SetMP3File(file);
    QCOMPARE(save ? tag.SaveMp3File(QString()) : tag.LoadMp3File(QString()), false);
    QCOMPARE(tag.ErrorString(), kNotMp3);
    QCOMPARE(tag.GetTrackName(), QStringLiteral("held"));

    const QFileInfo info(file);
    if (kind == QLatin1String("missing"))
        QVERIFY(!info.exists() && !info.isSymLink());
    else if (kind == QLatin1String("dangling symlink"))
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("gone.mp3"))));
    else if (kind == QLatin1String("empty"))
        QCOMPARE(info.size(), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(info.isDir() && QDir(file).isEmpty());
    else
        QCOMPARE(readFile(file), mpeg2);
}

// Opening a FIFO for reading waits for a writer, so the codec must refuse it
// without opening it. The operation runs in a child so a hang shows up as a
// failure instead of stalling the suite.
void TestClassID3V11::fifoNeverBlocks_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("load") << false;
    QTest::newRow("save") << true;
}

void TestClassID3V11::fifoNeverBlocks()
{
    QFETCH(bool, save);
    const QString fifo = path(QStringLiteral("pipe.mp3"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        classID3_V11 tag;
        const bool ok = save ? tag.SaveMp3File(fifo) : tag.LoadMp3File(fifo);
        ::_exit(!ok && tag.ErrorString() == kNotMp3 ? 0 : 1);
    }
    int status = 0;
    pid_t done = 0;
    for (int waited = 0; waited < 100 && done == 0; ++waited) {
        done = ::waitpid(child, &status, WNOHANG);
        if (done == 0)
            QTest::qSleep(50);
    }
    if (done == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        QFAIL("the operation on a FIFO blocked");
    }
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestClassID3V11::errorCodeAfterEachOperation()
{
    const QString good = path(QStringLiteral("good.mp3"));
    const QString mpeg2 = path(QStringLiteral("mpeg2.mp3"));
    const QString missing = path(QStringLiteral("missing.mp3"));
    QVERIFY(writeFile(good, mpegFrameFile(300)));
    QVERIFY(writeFile(mpeg2, mpegFrameFile(300, '\xF3')));

    classID3_V11 tag;
    QCOMPARE(tag.ErrorString(), kNoError);
    QVERIFY(!tag.LoadMp3File(QString()));
    QCOMPARE(tag.ErrorString(), kNotSet);
    QVERIFY(!tag.SaveMp3File(QString()));
    QCOMPARE(tag.ErrorString(), kNotSet);
    QVERIFY(tag.LoadMp3File(good));
    QCOMPARE(tag.ErrorString(), kNoError);
    tag.SetMP3File(missing);  // binding touches neither the file nor the code
    QCOMPARE(tag.ErrorString(), kNoError);
    QVERIFY(!tag.LoadMp3File(QString()));
    QCOMPARE(tag.ErrorString(), kNotMp3);
    QVERIFY(!tag.SaveMp3File(QString()));
    QCOMPARE(tag.ErrorString(), kNotMp3);
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(tag.SaveMp3File(good));
    QCOMPARE(tag.ErrorString(), kNoError);
    QVERIFY(!tag.SaveMp3File(mpeg2));
    QCOMPARE(tag.ErrorString(), kNotMp3);
    QVERIFY(tag.LoadMp3File(QString()) == false);  // still bound to mpeg2
    QCOMPARE(tag.ErrorString(), kNotMp3);
    QVERIFY(tag.LoadMp3File(good));
    QCOMPARE(tag.ErrorString(), kNoError);
}

// One object bound to file after file, as the main window uses it.
void TestClassID3V11::reuseAcrossFiles()
{
    const QString tagged = path(QStringLiteral("tagged.mp3"));
    const QString plain = path(QStringLiteral("plain.mp3"));
    RawBlock block{"Song", "Band", "Record", "1984", "Note"};
    block.track = 5;
    block.genre = 147;
    QVERIFY(writeFile(tagged, mpegFrameFile(300) + block.bytes()));
    QVERIFY(writeFile(plain, mpegFrameFile(300)));

    classID3_V11 tag;
    QVERIFY(tag.LoadMp3File(tagged));
    QVERIFY(!tag.LoadMp3File(path(QStringLiteral("missing.mp3"))));
    compareFields(tag, {"Song", "Band", "Record", "1984", "Note", 5, 147});  // failed load keeps the fields
    QVERIFY(tag.LoadMp3File(plain));
    compareFields(tag, {});
    QCOMPARE(classID3_V11::GetGenreString(tag.GetGenreID()), QStringLiteral("Blues"));
}

void TestClassID3V11::symlinkToMp3()
{
    const QString target = path(QStringLiteral("target.mp3"));
    const QString link = path(QStringLiteral("link.mp3"));
    const QByteArray audio = mpegFrameFile(500);
    QVERIFY(writeFile(target, audio));
    QVERIFY(QFile::link(target, link));

    classID3_V11 tag;
    QVERIFY(tag.LoadMp3File(link));
    tag.SetTrackName(QStringLiteral("Via link"));
    QVERIFY(tag.SaveMp3File(QString()));
    QVERIFY(QFileInfo(link).isSymLink());
    const QByteArray after = readFile(target);
    QCOMPARE(after.size(), audio.size() + 128);
    QCOMPARE(after.left(audio.size()), audio);
    QVERIFY(tag.LoadMp3File(target));
    QCOMPARE(tag.GetTrackName(), QStringLiteral("Via link"));
}

// Every operation closes what it opened, whether it succeeds or fails.
void TestClassID3V11::noDescriptorLeft()
{
    const QString good = path(QStringLiteral("good.mp3"));
    const QString mpeg2 = path(QStringLiteral("mpeg2.mp3"));
    QVERIFY(writeFile(good, mpegFrameFile(300)));
    QVERIFY(writeFile(mpeg2, mpegFrameFile(300, '\xF3')));

    const int before = openDescriptors();
    classID3_V11 tag;
    for (int i = 0; i < 20; ++i) {
        QVERIFY(tag.LoadMp3File(good));
        QVERIFY(tag.SaveMp3File(good));
        QVERIFY(!tag.LoadMp3File(mpeg2));
        QVERIFY(!tag.SaveMp3File(mpeg2));
        QVERIFY(!tag.SaveMp3File(dir_->path()));
    }
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(TestClassID3V11)
#include "tst_classid3v11.moc"
