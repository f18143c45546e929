// What a fill gives one row: texts fitted to their slots in CP932 bytes with
// what was cut or cannot be saved noted, and the row's own text read again in
// the code page it was written in.

#include "common/Mp3Files.h"
#include "launcher/text/RowFill.h"
#include "text/Cp932.h"

#include <QTest>

namespace {

// What every row holds before a fill.
const TagRecord kRow{.Title = "旧曲", .Artist = "旧歌手", .Album = "旧盤", .Year = "1900", .Comment = "旧",
                     .TrackNumber = 1, .GenreID = 12};

}  // namespace

class TestRowFill : public QObject
{
    Q_OBJECT

private slots:
    void fitting_data()
    {
        QTest::addColumn<int>("field");  // of kTextFields: title, artist, album, year, comment
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("problems");
        const QString a = QStringLiteral("a");
        QTest::newRow("title of 30 bytes") << 0 << a.repeated(30) << a.repeated(30) << "";
        QTest::newRow("title cut at 30 bytes") << 0 << a.repeated(31) << a.repeated(30) << "曲名を切り詰めた";
        QTest::newRow("comment of 28 bytes") << 4 << a.repeated(28) << a.repeated(28) << "";
        QTest::newRow("comment cut at 28 bytes") << 4 << a.repeated(29) << a.repeated(28)
                                                 << "コメントを切り詰めた";
        QTest::newRow("year cut at 4 bytes") << 3 << "19999" << "1999" << "製作年を切り詰めた";
        QTest::newRow("never inside a character") << 0 << a + QStringLiteral("春").repeated(15)
                                                  << a + QStringLiteral("春").repeated(14) << "曲名を切り詰めた";
        QTest::newRow("no CP932 form") << 1 << "Café" << "Café" << "アーティストのCP932にない文字は「?」として保存される";
        QTest::newRow("empty text") << 0 << "" << "" << "";
    }
    void fitting()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QString, problems);
        TagUpdate update;
        update.*kTextFields.at(std::size_t(field)).update = text;
        TagRecord expected = kRow;
        expected.*kTextFields.at(std::size_t(field)).record = kept;

        const RowFill fill = fillRow(3, kRow, update);

        QCOMPARE(fill.row, 3);
        QCOMPARE(fill.fields, expected);
        QCOMPARE(fill.problems.join(u'、'), problems);
    }

    // Fields cut are named together; numbers are taken as given; fields
    // the source lacks keep the row's.
    void severalFields()
    {
        const RowFill fill = fillRow(1, kRow, {.Title = QString(31, u'x'), .Album = QString(31, u'y'),
                                               .TrackNumber = 7, .GenreID = 200});
        QCOMPARE(fill.fields, (TagRecord{.Title = QString(30, u'x'), .Artist = kRow.Artist, .Album = QString(30, u'y'),
                                         .Year = kRow.Year, .Comment = kRow.Comment, .TrackNumber = 7, .GenreID = 200}));
        QCOMPARE(fill.problems, QStringList{"曲名・アルバムを切り詰めた"});
    }

    // The title's and the artist's bytes as another tool wrote them, read
    // again; the other fields are ASCII and stay. A row changes only when
    // every field reads whole in the code page.
    void readAgain_data()
    {
        QTest::addColumn<bool>("utf8");  // else EUC-JP
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("artist");
        QTest::addColumn<QString>("readTitle");   // empty: the row stays
        QTest::addColumn<QString>("readArtist");  // empty: the artist stays
        QTest::addColumn<QString>("problems");    // empty: none
        const QByteArray yoake = "\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91";  // 夜明け in UTF-8
        const QByteArray yoakeEuc = "\xCC\xEB\xCC\xC0\xA4\xB1";              // 夜明け in EUC-JP
        const QByteArray besuto = "\x83\x78\x83\x58\x83\x67";               // ベスト in CP932
        const QByteArray band = "Band";
        QTest::newRow("UTF-8") << true << yoake << band << "夜明け" << QString() << QString();
        QTest::newRow("UTF-8 cut at the slot's end") << true << "a" + yoake.repeated(3) + "\xE5\xA4" << band
                                                      << "a夜明け夜明け夜明け" << QString() << QString();
        QTest::newRow("UTF-8 cut a byte short of the slot's end") << true << yoake.repeated(3) + "a\xE5" << band
                                                                   << QString() << QString() << "曲名がUTF-8でない";
        QTest::newRow("CP932 is not UTF-8") << true << QByteArray("\x96\xE9\x96\xBE") << band << QString()
                                            << QString() << "曲名がUTF-8でない";
        QTest::newRow("no UTF-8 starts so") << true << QByteArray("a\xE0\x80") << band << QString() << QString()
                                            << "曲名がUTF-8でない";
        QTest::newRow("UTF-8 of a control character") << true << QByteArray("a\xC2\x85") << band << QString()
                                                      << QString() << "曲名がUTF-8でない";
        // The C1 range ends at U+009F, in both code pages.
        QTest::newRow("UTF-8 of the last control character") << true << QByteArray("a\xC2\x9F") << band << QString()
                                                             << QString() << "曲名がUTF-8でない";
        QTest::newRow("EUC-JP of the last control character") << false << QByteArray("a\x9F") << band << QString()
                                                              << QString() << "曲名がEUC-JPでない";
        QTest::newRow("ASCII") << true << QByteArray("Hello") << band << QString() << QString() << QString();
        QTest::newRow("EUC-JP") << false << yoakeEuc + "\x8E\xB1" << band << "夜明けｱ" << QString() << QString();
        QTest::newRow("EUC-JP cut after a 3-byte prefix at the slot's end")
            << false << QByteArray("\xCC\xEB").repeated(14) + "\x8F\xB0" << band << QString("夜").repeated(14)
            << QString() << QString();
        QTest::newRow("EUC-JP cut short of the slot's end") << false << QByteArray("\xCC\xEB\x8F\xB0") << band
                                                             << QString() << QString() << "曲名がEUC-JPでない";
        QTest::newRow("not EUC-JP") << false << QByteArray("\xCC\x41") << band << QString() << QString()
                                    << "曲名がEUC-JPでない";
        QTest::newRow("CP932 katakana ending in a lead byte") << false << besuto + "\x94\xD5" << band << QString()
                                                              << QString() << "曲名がEUC-JPでない";
        QTest::newRow("CP932 katakana read as control characters") << false << besuto << band << QString()
                                                                   << QString() << "曲名がEUC-JPでない";
        QTest::newRow("one field not EUC-JP leaves the row") << false << yoakeEuc << besuto << QString() << QString()
                                                             << "アーティストがEUC-JPでない";
        QTest::newRow("two fields read") << false << yoakeEuc << yoakeEuc.left(2) << "夜明け" << "夜" << QString();
    }
    void readAgain()
    {
        QFETCH(bool, utf8);
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, artist);
        QFETCH(QString, readTitle);
        QFETCH(QString, readArtist);
        QFETCH(QString, problems);
        const TagRecord fields{.Title = Cp932::decode(title), .Artist = Cp932::decode(artist), .Album = "Live",
                               .Year = "1998"};
        TagRecord expected = fields;
        if (!readTitle.isEmpty())
            expected.Title = readTitle;
        if (!readArtist.isEmpty())
            expected.Artist = readArtist;

        const RowFill fill = readAgainAs(1, fields, utf8 ? ForeignCodePage::Utf8 : ForeignCodePage::EucJp);

        QCOMPARE(fill.fields, expected);
        QCOMPARE(fill.problems.join(u'、'), problems);
    }
};

QTEST_GUILESS_MAIN(TestRowFill)
#include "tst_RowFill.moc"
