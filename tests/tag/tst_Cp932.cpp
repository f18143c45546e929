// CP932 conversion of tag text, independent of the machine's locale.

#include "Cp932.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void encodeCut_data();
    void encodeCut();
};

void TestCp932::initTestCase()
{
    QVERIFY2(Cp932::isAvailable(), "this Qt has no windows-31j converter");
}

void TestCp932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII") << QStringLiteral("Abc 123") << QByteArray("Abc 123");
    QTest::newRow("backslash and tilde stay single bytes") << QStringLiteral("\\~") << QByteArray("\x5C\x7E");
    QTest::newRow("15 full-width chars are 30 bytes")
        << QStringLiteral(u"日本語の曲名をここに書きますよ")
        << QByteArray::fromHex("93fa967b8cea82cc8bc896bc82f082b182b182c98f9182ab82dc82b782e6");
    QTest::newRow("half-width katakana is one byte") << QStringLiteral(u"ｱｶﾞ") << QByteArray("\xB1\xB6\xDE");
    QTest::newRow("WAVE DASH") << QStringLiteral(u"\u301C") << QByteArray("\x81\x60");
    QTest::newRow("DOUBLE VERTICAL LINE") << QStringLiteral(u"\u2016") << QByteArray("\x81\x61");
    QTest::newRow("MINUS SIGN") << QStringLiteral(u"\u2212") << QByteArray("\x81\x7C");
    QTest::newRow("CENT SIGN") << QStringLiteral(u"\u00A2") << QByteArray("\x81\x91");
    QTest::newRow("POUND SIGN") << QStringLiteral(u"\u00A3") << QByteArray("\x81\x92");
    QTest::newRow("NOT SIGN") << QStringLiteral(u"\u00AC") << QByteArray("\x81\xCA");
    QTest::newRow("FULLWIDTH TILDE (CP932 form)") << QStringLiteral(u"\uFF5E") << QByteArray("\x81\x60");
    QTest::newRow("emoji is one ?") << QStringLiteral(u"\U0001F3B5") << QByteArray("?");
    QTest::newRow("U+FFFD is one ?") << QStringLiteral(u"\uFFFD") << QByteArray("?");
    QTest::newRow("Hangul is one ?") << QStringLiteral(u"한") << QByteArray("?");
    QTest::newRow("lone surrogate is one ?") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("no forms between others") << QStringLiteral(u"a\U0001F600\uFFFDb") << QByteArray("a??b");
}

void TestCp932::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text).toHex(' '), bytes.toHex(' '));
    QCOMPARE(Cp932::byteLength(text), bytes.size());
}

void TestCp932::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("0x5C is the backslash") << QByteArray("\x5C") << QStringLiteral("\\");
    QTest::newRow("0x7E is the tilde") << QByteArray("\x7E") << QStringLiteral("~");
    QTest::newRow("half-width katakana") << QByteArray("\xB1\xDF") << QStringLiteral(u"ｱﾟ");
    QTest::newRow("double-byte") << QByteArray::fromHex("93fa967b") << QStringLiteral(u"日本");
    QTest::newRow("0x8160 decodes to its CP932 form") << QByteArray("\x81\x60") << QStringLiteral(u"\uFF5E");
    QTest::newRow("lead byte at the end") << QByteArray("a\x82") << QStringLiteral(u"a\uFFFD");
    QTest::newRow("lead byte then a digit") << QByteArray("\x82" "0") << QStringLiteral(u"\uFFFD0");
    QTest::newRow("lead byte then ASCII trail byte") << QByteArray("\x82" "a") << QStringLiteral(u"\uFF22");
    QTest::newRow("lead byte does not swallow the next call's byte") << QByteArray("\x82\x20\x82\xA0")
                                                                    << QStringLiteral(u"\uFFFD あ");
}

void TestCp932::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::encodeCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("fits") << QStringLiteral(u"aあ") << 3 << QByteArray("a\x82\xA0");
    QTest::newRow("double-byte char not split") << QStringLiteral(u"aあ") << 2 << QByteArray("a");
    QTest::newRow("single bytes cut anywhere") << QStringLiteral(u"ｱｲｳ") << 2 << QByteArray("\xB1\xB2");
    QTest::newRow("zero bytes") << QStringLiteral("abc") << 0 << QByteArray();
    QTest::newRow("cut stops at the first char that does not fit") << QStringLiteral(u"aあb") << 2 << QByteArray("a");
}

void TestCp932::encodeCut()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encodeCut(text, maxBytes).toHex(' '), bytes.toHex(' '));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_Cp932.moc"
