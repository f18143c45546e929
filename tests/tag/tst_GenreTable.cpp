// Genre names by number, as the list and the editor show them.

#include "classID3_V11.h"

#include <QSet>
#include <QTest>

class TestGenreTable : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void enumeration();
};

void TestGenreTable::names_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");

    QTest::newRow("0") << 0 << QStringLiteral("Blues");
    QTest::newRow("79, last of the ID3v1 list") << 79 << QStringLiteral("Hard Rock");
    QTest::newRow("80, first of the extension") << 80 << QStringLiteral("Folk");
    QTest::newRow("147, last") << 147 << QStringLiteral("Synthpop");
    QTest::newRow("67 spelled Psychadelic") << 67 << QStringLiteral("Psychadelic");
    QTest::newRow("85 spelled Bebob") << 85 << QStringLiteral("Bebob");
    QTest::newRow("118 spelled Phythmic Soul") << 118 << QStringLiteral("Phythmic Soul");
    QTest::newRow("133 spelled Negerpunk") << 133 << QStringLiteral("Negerpunk");
    QTest::newRow("146 spelled JPop") << 146 << QStringLiteral("JPop");
    QTest::newRow("148 has none") << 148 << QString();
    QTest::newRow("200 has none") << 200 << QString();
    QTest::newRow("255 has none") << 255 << QString();
    QTest::newRow("-1 has none") << -1 << QString();
    QTest::newRow("-32768 has none") << -32768 << QString();
    QTest::newRow("32767 has none") << 32767 << QString();
}

void TestGenreTable::names()
{
    QFETCH(int, id);
    QFETCH(QString, name);
    const QString got = classID3_V11::GetGenreString(static_cast<qint16>(id));
    QCOMPARE(got, name);
    QCOMPARE(got.isNull(), name.isNull());
}

// Callers fill the editor's genre list by asking for 0, 1, 2 ... until the
// first empty name.
void TestGenreTable::enumeration()
{
    QSet<QString> names;
    qint16 id = 0;
    while (id < 256 && !classID3_V11::GetGenreString(id).isEmpty())
        names.insert(classID3_V11::GetGenreString(id++));
    QCOMPARE(int(id), 148);
    QCOMPARE(names.size(), 148);  // no name twice
    QCOMPARE(classID3_V11::GetGenreString(147), QStringLiteral("Synthpop"));
}

QTEST_GUILESS_MAIN(TestGenreTable)
#include "tst_GenreTable.moc"
