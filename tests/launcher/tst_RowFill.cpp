// What a fill gives one row: texts fitted to their slots in CP932 bytes with
// what was cut or cannot be saved noted, and the row's own text read again in
// the code page it was written in.

#include "Cp932.h"
#include "Mp3Files.h"
#include "RowFill.h"

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
        QTest::newRow("no CP932 form") << 1 << "Café" << "Café" << "アーティストにCP932にない文字(保存すると?)";
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

    // The title's bytes as another tool wrote them, read again; the other
    // fields are ASCII and stay.
    void readAgain_data()
    {
        QTest::addColumn<bool>("utf8");  // else EUC-JP
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");     // empty: the title stays
        QTest::addColumn<QString>("problems");  // empty: none
        const QByteArray yoake = "\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91";  // 夜明け in UTF-8
        QTest::newRow("UTF-8") << true << yoake << "夜明け" << QString();
        QTest::newRow("UTF-8 cut at the slot's end") << true << yoake.left(8) << "夜明" << QString();
        QTest::newRow("CP932 is not UTF-8") << true << QByteArray("\x96\xE9\x96\xBE") << QString() << "曲名がUTF-8でない";
        QTest::newRow("no UTF-8 starts so") << true << QByteArray("a\xE0\x80") << QString() << "曲名がUTF-8でない";
        QTest::newRow("ASCII") << true << QByteArray("Hello") << QString() << QString();
        QTest::newRow("EUC-JP") << false << QByteArray("\xCC\xEB\xCC\xC0\xA4\xB1\x8E\xB1") << "夜明けｱ" << QString();
        QTest::newRow("EUC-JP cut after a 3-byte prefix") << false << QByteArray("\xCC\xEB\x8F\xB0") << "夜" << QString();
        QTest::newRow("not EUC-JP") << false << QByteArray("\xCC\x41") << QString() << "曲名がEUC-JPでない";
    }
    void readAgain()
    {
        QFETCH(bool, utf8);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(QString, problems);
        const TagRecord fields{.Title = Cp932::decode(bytes), .Artist = "Band", .Album = "Live", .Year = "1998"};
        TagRecord expected = fields;
        if (!title.isEmpty())
            expected.Title = title;

        const RowFill fill = readAgainAs(1, fields, utf8 ? ForeignCodePage::Utf8 : ForeignCodePage::EucJp);

        QCOMPARE(fill.fields, expected);
        QCOMPARE(fill.problems.join(u'、'), problems);
    }
};

QTEST_GUILESS_MAIN(TestRowFill)
#include "tst_RowFill.moc"
