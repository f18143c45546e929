// Filling rows through the list: from the files' ID3v2 tags, their names and
// a pasted track list, with the one report of what could not be taken.

#include "common/Fakes.h"
#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "files/NativePath.h"
#include "id3v2/Id3v2Text.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/FileList.h"
#include "text/Cp932.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What every row holds before a command.
const TagRecord kOld{.Title = "旧曲", .Artist = "旧歌手", .Album = "旧盤", .Year = "1900", .Comment = "旧",
                     .TrackNumber = 1, .GenreID = 12};

void addRow(FakeListView &list, const QString &folder, const QString &name, const TagRecord &fields, bool selected)
{
    list.addRow(name);
    const int row = list.count();
    list.setCell(row, livFileNamewithPath, folder);
    FileList(list).putFields(row, fields);
    list.rows.last().selected = selected;
}

// The report's text for these "file: reasons" lines; empty for none.
QString report(const QStringList &lines)
{
    return lines.isEmpty() ? QString() : QStringLiteral("次のファイルは取り込めなかった項目があります。\r") + lines.join(u'\r');
}

QString shownText(const FakeMessageBox &messages)
{
    return messages.shown.isEmpty() ? QString() : messages.shown.last().text;
}

// Files of hand-built v2.3 tags, by name: every frame Kalvo reads with an
// unknown encoding; a tag that stops in bytes that are no frame, whose
// artist is too long.
QByteArray madeId3v2File(const QString &name)
{
    const auto text = [](const char *id, const QByteArray &bytes, char encoding = '\0') {
        return frame23(id, textData(bytes, encoding));
    };
    QByteArray frames;
    if (name == "unknown_encodings.mp3") {
        for (const char *id : {"TIT2", "TPE1", "TALB", "TYER", "COMM", "TRCK", "TCON"})
            frames += text(id, "x", '\x07');
    } else if (name == "cut_short.mp3") {
        frames = text("TIT2", "Dawn") + text("TPE1", QByteArray(31, 'a')) + "\xFF\xFB\x90\x64" + QByteArray(20, 'x');
    } else {
        return {};
    }
    return id3v2Tag(3, frames) + mpegFrameFile();
}

}  // namespace

class TestFillCommands : public QObject
{
    Q_OBJECT

private slots:
    // One row per file, filled from its ID3v2 tag.
    void fromId3v2_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<TagRecord>("expected");
        QTest::addColumn<QString>("problems");  // empty: none
        QTest::addColumn<QString>("marks");     // of the filled row
        QTest::newRow("v2.3 UTF-16, COMM without description, 7/12, (17)")
            << "v23_utf16.mp3"
            << TagRecord{.Title = "夜明けの歌", .Artist = "山田太郎", .Album = "ベスト盤", .Year = "1998",
                         .Comment = "いい曲です", .TrackNumber = 7, .GenreID = 17}
            << QString() << "*";
        // The title's 31st byte would split a character; é has no CP932 form.
        QTest::newRow("v2.4 UTF-8, TPE2, cut, date, described COMM, 07, ROCK")
            << "v24_utf8.mp3"
            << TagRecord{.Title = "1とても長い曲名は三十バイトに", .Artist = "Café Orchestra", .Album = "冬の旅",
                         .Year = "2003", .Comment = "説明つきのコメント", .TrackNumber = 7, .GenreID = 17}
            << "曲名を切り詰めた、アーティストのCP932にない文字は「?」として保存される" << "*";
        QTest::newRow("v2.3 Latin-1: year 19x9, track 300 and missing fields keep theirs")
            << "v23_latin1.mp3"
            << TagRecord{.Title = "Plain Title", .Artist = "旧歌手", .Album = "旧盤", .Year = "1900", .Comment = "旧",
                         .TrackNumber = 1, .GenreID = 17}
            << QString() << "*2";
        QTest::newRow("v2.2, (17)Rock")
            << "v22.mp3"
            << TagRecord{.Title = "二・二の曲", .Artist = "Old Artist", .Album = "Old Album", .Year = "1985",
                         .Comment = "v2.2 comment", .TrackNumber = 3, .GenreID = 17}
            << QString() << "*";
        QTest::newRow("frames not read: their fields keep theirs")
            << "unknown_encodings.mp3" << kOld
            << "ID3v2タグの曲名・アーティスト・アルバム・製作年・コメント・No・ジャンルを読めない" << "2";
        QTest::newRow("tag cut short, then the fields' own reasons")
            << "cut_short.mp3"
            << TagRecord{.Title = "Dawn", .Artist = QString(30, u'a'), .Album = "旧盤", .Year = "1900", .Comment = "旧",
                         .TrackNumber = 1, .GenreID = 12}
            << "ID3v2タグの途中から先を読めない、アーティストを切り詰めた" << "*2";
        QTest::newRow("no v2 tag") << "none.mp3" << kOld << "ID3v2タグがない" << "";
        QTest::newRow("tag longer than the file") << "truncated.mp3" << kOld << "ID3v2タグを読めない" << "2";
        QTest::newRow("tag over 32 MB") << "huge.mp3" << kOld << "ID3v2タグを読めない" << "2";
        QTest::newRow("missing file") << "missing.mp3" << kOld << "ID3v2タグを読めない" << "2";
    }
    void fromId3v2()
    {
        QFETCH(QString, file);
        QFETCH(TagRecord, expected);
        QFETCH(QString, problems);
        QFETCH(QString, marks);
        QTemporaryDir made;
        const QString data = QStringLiteral(KALVO_ID3V2_DATA "/");
        QVERIFY(writeFile(made.filePath("none.mp3"), mpegFrameFile()));
        for (const QString &name : {QStringLiteral("unknown_encodings.mp3"), QStringLiteral("cut_short.mp3")})
            QVERIFY(writeFile(made.filePath(name), madeId3v2File(name)));
        QVERIFY(writeFile(made.filePath("truncated.mp3"), readFile(data + "v23_utf16.mp3").left(100)));
        // Announces 32 MB and one byte, and is that long.
        QFile huge(made.filePath("huge.mp3"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write(QByteArray("ID3\x03\0\0", 6) + syncsafe(kMaxId3v2Size - 9));
        QVERIFY(huge.resize(kMaxId3v2Size + 1));
        huge.close();
        const QString folder = QFile::exists(data + file) ? data : made.path() + u'/';

        FakeWindowServices fakes;
        addRow(fakes.list, folder, file, kOld, true);
        addRow(fakes.list, data, "v23_utf16.mp3", kOld, false);  // not selected: stays
        frmID3Launcher launcher(fakes.services());
        launcher.lvMP3List_KeyDown(ListInput::KeyI, 0);

        QCOMPARE(FileList(fakes.list).fields(1), expected);
        QCOMPARE(fakes.list.cell(1, livChanged), marks);
        QCOMPARE(FileList(fakes.list).fields(2), kOld);
        QCOMPARE(fakes.list.cell(2, livChanged), QString());
        QCOMPARE(shownText(fakes.messages), report(problems.isEmpty() ? QStringList() : QStringList{file + ": " + problems}));
    }

    // The report: once, after the command, for the files that left something
    // out, in row order.
    void reportNamesEachFileOnceInRowOrder()
    {
        FakeWindowServices fakes;
        const QString data = QStringLiteral(KALVO_ID3V2_DATA "/");
        addRow(fakes.list, data, "missing.mp3", kOld, true);
        addRow(fakes.list, data, "v23_utf16.mp3", kOld, true);
        addRow(fakes.list, data, "v24_utf8.mp3", kOld, true);
        frmID3Launcher launcher(fakes.services());
        launcher.FillFromId3v2();
        QCOMPARE(fakes.messages.shown.size(), 1);
        const ShownMessage &shown = fakes.messages.shown.first();
        QCOMPARE(shown.title, QStringLiteral("Kalvo [取り込み]"));
        QCOMPARE(shown.icon, MessageBoxService::Icon::Exclamation);
        QCOMPARE(shown.buttons, MessageBoxService::Buttons::Ok);
        QCOMPARE(shown.text, report({"missing.mp3: ID3v2タグを読めない",
                                     "v24_utf8.mp3: 曲名を切り詰めた、アーティストのCP932にない文字は「?」として保存される"}));
    }

    // A row named so, selected, read by the format.
    void fromFileNames_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<TagRecord>("expected");
        QTest::addColumn<QString>("message");  // the whole text shown; empty: none
        const auto with = [](auto change) {
            TagRecord fields = kOld;
            change(fields);
            return fields;
        };
        const QString notFit = report({"x_y.mp3: ファイル名がフォーマットに合わない"});
        QTest::newRow("long title cut") << "%D" << "0123456789012345678901234567890123.mp3"
                                        << with([](TagRecord &f) { f.Title = "012345678901234567890123456789"; })
                                        << report({"0123456789012345678901234567890123.mp3: 曲名を切り詰めた"});
        QTest::newRow("does not fit") << "%T_%D" << "x_y.mp3" << kOld << notFit;
        // A name of CP932 bytes, as a ZIP made on Windows leaves it, reads as
        // the user sees it.
        const QString haru = QStringLiteral("春").repeated(16);
        QTest::newRow("Shift-JIS name") << "%D" << pathText(Cp932::encode(haru + ".mp3"))
                                        << with([&](TagRecord &f) { f.Title = haru.left(15); })
                                        << report({haru + ".mp3: 曲名を切り詰めた"});
        QTest::newRow("refused format") << "%D:%T" << "03:x.mp3" << kOld
                                        << "ファイルフォーマットに使用できない文字が含まれています：「:」";
    }
    void fromFileNames()
    {
        QFETCH(QString, format);
        QFETCH(QString, name);
        QFETCH(TagRecord, expected);
        QFETCH(QString, message);
        FakeWindowServices fakes;
        fakes.window.format = format;
        addRow(fakes.list, "/music/", name, kOld, true);
        frmID3Launcher launcher(fakes.services());
        launcher.lvMP3List_KeyDown(ListInput::KeyN, 0);
        QCOMPARE(FileList(fakes.list).fields(1), expected);
        QCOMPARE(shownText(fakes.messages), message);
    }

    // Four rows; the lines fill titles from the first selected row down.
    void pasteTitles_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("problems");  // of the last row; empty: none
        const QString o = kOld.Title;
        QTest::newRow("numbers and separators") << "1. A\n02 B\r\n\n3 - C" << QList<int>{2}
                                                << QStringList{o, "A", "B", "C"} << QString();
        QTest::newRow("durations and quotes") << "1) \"Song\" (3:45)\r4\tD\t12:03:45" << QList<int>{1, 3}
                                              << QStringList{"Song", "D", o, o} << QString();
        QTest::newRow("a title that is a number") << "1984 Remix\n99 Luftballons 3:59" << QList<int>{3}
                                                  << QStringList{o, o, "1984 Remix", "Luftballons"} << QString();
        QTest::newRow("more lines than rows") << "A\nB\nC" << QList<int>{3} << QStringList{o, o, "A", "B"}
                                              << "1行が余った";
        QTest::newRow("no row selected") << "A" << QList<int>{} << QStringList{o, o, o, o} << QString();
    }
    void pasteTitles()
    {
        QFETCH(QString, clipboard);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, titles);
        QFETCH(QString, problems);
        FakeWindowServices fakes;
        for (int row = 1; row <= 4; ++row)
            addRow(fakes.list, "/music/", QStringLiteral("%1.mp3").arg(row), kOld, selected.contains(row));
        fakes.clipboard.contents = clipboard;
        frmID3Launcher launcher(fakes.services());
        launcher.lvMP3List_KeyDown(ListInput::KeyV, ListInput::CtrlDown);
        QCOMPARE(fakes.list.column(livTitle), titles);
        for (int row = 1; row <= 4; ++row)
            QCOMPARE(fakes.list.cell(row, livChanged).isEmpty(), titles.at(row - 1) == kOld.Title);
        QCOMPARE(shownText(fakes.messages), report(problems.isEmpty() ? QStringList() : QStringList{"4.mp3: " + problems}));
    }
};

QTEST_GUILESS_MAIN(TestFillCommands)
#include "tst_FillCommands.moc"
