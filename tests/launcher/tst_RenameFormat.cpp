// New file names built from a row's cells by the rename format: tokens, their
// order, the track and position forms, the extension, and refused formats.

#include "launcher/text/RenameFormat.h"
#include "services/FileRow.h"

#include <QTest>

namespace {

// A row as it stands after loading Track07.mp3: artist Band, album Live,
// track 7, title Intro. "column=value" pairs change single cells.
FileRowCells rowCells(const QStringList &changes)
{
    FileRowCells cells;
    cells[livFilename] = QStringLiteral("Track07.mp3");
    cells[livChanged] = QStringLiteral("*");
    cells[livTitle] = QStringLiteral("Intro");
    cells[livGenre] = QStringLiteral("Rock");
    cells[livComment] = QStringLiteral("Cmt");
    cells[livTrackNo] = QStringLiteral("7");
    cells[livAirtist] = QStringLiteral("Band");
    cells[livAlbum] = QStringLiteral("Live");
    cells[livYear] = QStringLiteral("1999");
    cells[livFileNamewithPath] = QStringLiteral("/music/");
    cells[livGenreID] = QStringLiteral("17");
    const QStringList names = {"file", "mark", "title", "genre", "comment", "track", "artist", "album", "year"};
    for (const QString &change : changes) {
        const qsizetype equals = change.indexOf(u'=');
        const qsizetype column = names.indexOf(change.left(equals));
        if (equals < 0 || column < 0)
            qFatal("bad cell change %s", qPrintable(change));
        cells[static_cast<std::size_t>(column)] = change.mid(equals + 1);
    }
    return cells;
}

}  // namespace

class TestRenameFormat : public QObject
{
    Q_OBJECT

private slots:
    void name_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");

        // The examples the format box's users are shown.
        QTest::newRow("default format") << "(%K)[%A]%T_%D" << QStringList() << 3 << "(Band)[Live]07_Intro.mp3";
        QTest::newRow("position and title") << "%N-%D" << QStringList() << 3 << "03-Intro.mp3";

        // Every token on its own.
        QTest::newRow("%A album") << "%A" << QStringList() << 1 << "Live.mp3";
        QTest::newRow("%K artist") << "%K" << QStringList() << 1 << "Band.mp3";
        QTest::newRow("%D title") << "%D" << QStringList() << 1 << "Intro.mp3";
        QTest::newRow("%C comment") << "%C" << QStringList() << 1 << "Cmt.mp3";
        QTest::newRow("%J genre name, not number") << "%J" << QStringList() << 1 << "Rock.mp3";
        QTest::newRow("%Y year") << "%Y" << QStringList() << 1 << "1999.mp3";
        QTest::newRow("every token, each twice")
            << "%A%K%D%C%T%J%Y%N|%A%K%D%C%T%J%Y%N" << QStringList() << 12
            << "LiveBandIntroCmt07Rock199912|LiveBandIntroCmt07Rock199912.mp3";
        QTest::newRow("japanese values") << "%T %D" << QStringList{"title=夜明けの歌", "file=01 曲.mp3"} << 1
                                         << "07 夜明けの歌.mp3";
        QTest::newRow("empty values") << "[%K]" << QStringList{"artist="} << 1 << "[].mp3";

        // Replacement order: A, K, D, C, T, J, Y, N over the text built so far.
        QTest::newRow("title holding %Y gets the year") << "%D" << QStringList{"title=Live %Y"} << 1
                                                         << "Live 1999.mp3";
        QTest::newRow("artist holding %A keeps it") << "%K" << QStringList{"artist=x%Ay"} << 1 << "x%Ay.mp3";
        QTest::newRow("album holding %K gets the artist") << "%A" << QStringList{"album=%K best"} << 1
                                                           << "Band best.mp3";
        QTest::newRow("year holding %D keeps it") << "%Y" << QStringList{"year=%D"} << 1 << "%D.mp3";
        QTest::newRow("comment holding %N gets the position") << "%C" << QStringList{"comment=no%N"} << 4
                                                               << "no04.mp3";

        // Text that is no token.
        QTest::newRow("%%A keeps the first percent") << "%%A" << QStringList() << 1 << "%Live.mp3";
        QTest::newRow("lower-case tokens stay") << "%a%k%d%c%t%j%y%n" << QStringList() << 1
                                                << "%a%k%d%c%t%j%y%n.mp3";
        QTest::newRow("%Z stays") << "%Z-%D" << QStringList() << 1 << "%Z-Intro.mp3";
        QTest::newRow("lone percent at the end") << "%D%" << QStringList() << 1 << "Intro%.mp3";
        QTest::newRow("empty format is the extension") << "" << QStringList() << 1 << ".mp3";

        // %T: a leading zero below 10; no number counts as 0.
        QTest::newRow("%T 7") << "%T" << QStringList{"track=7"} << 1 << "07.mp3";
        QTest::newRow("%T 12") << "%T" << QStringList{"track=12"} << 1 << "12.mp3";
        QTest::newRow("%T empty") << "%T" << QStringList{"track="} << 1 << "0.mp3";
        QTest::newRow("%T 0") << "%T" << QStringList{"track=0"} << 1 << "00.mp3";
        QTest::newRow("%T 255") << "%T" << QStringList{"track=255"} << 1 << "255.mp3";
        QTest::newRow("%T 9") << "%T" << QStringList{"track=9"} << 1 << "09.mp3";

        // %N: the row's position, two digits below 10.
        QTest::newRow("%N 3") << "%N" << QStringList() << 3 << "03.mp3";
        QTest::newRow("%N 11") << "%N" << QStringList() << 11 << "11.mp3";
        QTest::newRow("%N 10") << "%N" << QStringList() << 10 << "10.mp3";

        // The extension: from the last dot of the current name.
        QTest::newRow("extension .mp3") << "%D" << QStringList{"file=Track07.mp3"} << 1 << "Intro.mp3";
        QTest::newRow("extension after the last dot") << "%D" << QStringList{"file=a.b.MP3"} << 1 << "Intro.MP3";
        QTest::newRow("no extension") << "%D" << QStringList{"file=Track07"} << 1 << "Intro";
        QTest::newRow("name ending in a dot") << "%D" << QStringList{"file=Track07."} << 1 << "Intro.";

        // Characters the format may hold.
        QTest::newRow("slash not refused") << "%K/%D" << QStringList() << 1 << "Band/Intro.mp3";
        QTest::newRow("bar not refused") << "%K|%D" << QStringList() << 1 << "Band|Intro.mp3";
        QTest::newRow("full-width colon not refused") << "%D：" << QStringList() << 1 << "Intro：.mp3";
        QTest::newRow("refused characters in values are kept") << "%D" << QStringList{"title=a:b?"} << 1
                                                                << "a:b?.mp3";
        QTest::newRow("bytes that are no text become _")
            << "%D" + QString(QChar(0xDC80)) << QStringList{"title=Beyonc" + QString(QChar(0xDCE9))} << 1
            << "Beyonc__.mp3";
        QTest::newRow("control characters become _")
            << "%D\t" << QStringList{QStringLiteral("title=a\nb\rc") + QChar(0) + QStringLiteral("d\x1f\x7f")} << 1
            << "a_b_c_d___.mp3";
        QTest::newRow("characters beyond the BMP stay") << "%D" << QStringList{"title=🎵"} << 1 << "🎵.mp3";
    }
    void name()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, changes);
        QFETCH(int, position);
        QFETCH(QString, expected);
        QVERIFY(!isRefusedRenameFormat(format));
        QCOMPARE(renameFileName(format, rowCells(changes), position), expected);
    }

    void refusedFormat_data()
    {
        QTest::addColumn<QString>("format");
        const QString refused = QStringLiteral("\\*?!\"+><:");
        for (const QChar character : refused) {
            QTest::addRow("alone %s", qPrintable(QString(character))) << QString(character);
            QTest::addRow("among tokens %s", qPrintable(QString(character)))
                << QStringLiteral("(%K)[%A]") + character + QStringLiteral("%T_%D");
        }
        QTest::newRow("at the end") << "%N-%D:";
    }
    void refusedFormat()
    {
        QFETCH(QString, format);
        QVERIFY(isRefusedRenameFormat(format));
        QCOMPARE(renameFileName(format, rowCells({}), 1), QString());
    }

    void nameWithinFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("within");
        const QString a = QStringLiteral("a");
        QTest::newRow("255 bytes") << a.repeated(251) + ".mp3" << true;
        QTest::newRow("256 bytes") << a.repeated(252) + ".mp3" << false;
        QTest::newRow("255 bytes of 3-byte characters") << QStringLiteral("曲").repeated(85) << true;
        QTest::newRow("256 bytes, an escaped byte counting one") << QStringLiteral("曲").repeated(85) + QChar(0xDC80)
                                                                   << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("hidden") << ".mp3" << false;
        QTest::newRow("dot inside") << "a.b.mp3" << true;
        QTest::newRow("separator") << "a/b.mp3" << false;
        QTest::newRow("zero character") << QStringLiteral("a") + QChar(0) + QStringLiteral(".mp3") << false;
        QTest::newRow("backslash is a name character") << "a\\b.mp3" << true;
    }
    void nameWithinFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, within);
        QCOMPARE(isNameWithinFolder(name), within);
    }
};

QTEST_GUILESS_MAIN(TestRenameFormat)
#include "tst_RenameFormat.moc"
