// The number a track or genre cell, or the editor's track field, holds.

#include "text/CellNumber.h"

#include <QTest>

class TestCellNumber : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("leading blanks") << "  7" << 7;
        QTest::newRow("stops at a letter") << "3a" << 3;
        QTest::newRow("not a number") << "ab" << 0;
        QTest::newRow("plus sign") << "+5" << 5;
        QTest::newRow("minus and digit") << "-1" << 0;
        QTest::newRow("half goes to even, down") << "2.5" << 2;
        QTest::newRow("fraction only") << ".6" << 1;
        QTest::newRow("exponent") << "1e2" << 100;
        QTest::newRow("exponent without digits") << "1e" << 1;
        QTest::newRow("exponent sign without digits") << "2E+" << 2;
        QTest::newRow("largest") << "255" << 255;
        QTest::newRow("too large") << "256" << 0;
        QTest::newRow("rounds past 255") << "255.5" << 0;
    }
    void reading()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(cellNumber(text), number);
    }
};

QTEST_GUILESS_MAIN(TestCellNumber)
#include "tst_CellNumber.moc"
