// CP932 conversion of tag text, independent of the machine's locale.

#include "text/Cp932.h"

#include <QTest>

namespace {

// The escapes the bytes decode to, one character U+DC00 + byte each.
QString escapes(const char *bytes)
{
    QString text;
    for (; *bytes; ++bytes)
        text += QChar(0xDC00 + static_cast<unsigned char>(*bytes));
    return text;
}

}  // namespace

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void encode_data();
    void encode();
    void cut_data();
    void cut();
};

void TestCp932::initTestCase()
{
    QVERIFY2(Cp932::isAvailable(), "this Qt has no windows-31j converter");
}

// Bytes as a file holds them, the text they read as, and the same bytes
// written back from that text.
void TestCp932::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII, 0x5C backslash, 0x7E tilde") << QByteArray("a 1\\~") << QStringLiteral("a 1\\~");
    QTest::newRow("half-width katakana 0xA1..0xDF") << QByteArray("\xA1\xB1\xDF") << QStringLiteral(u"｡ｱﾟ");
    QTest::newRow("kanji, lead bytes 0x88 and 0x9F") << QByteArray("\x88\x9F\x9F\x40") << QStringLiteral(u"亜\u6A97");
    QTest::newRow("kanji, lead bytes 0xE0 and 0xEA") << QByteArray("\xE0\x40\xEA\xA4") << QStringLiteral(u"\u6F3E熙");
    QTest::newRow("NEC and IBM extensions, lead bytes 0x87 to 0xFC")
        << QByteArray("\x87\x40\xFA\x40\xFB\x40\xFC\x4B") << QStringLiteral(u"①ⅰ\u6D96\u9ED1");
    QTest::newRow("trail byte in the ASCII range") << QByteArray("\x82\x61") << QStringLiteral(u"Ｂ");
    QTest::newRow("JIS-form slots read in their CP932 form") << QByteArray::fromHex("81608161817c8191819281ca")
                                                            << QStringLiteral(u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2");
    // Bytes that are no part of a valid character: one escape each.
    QTest::newRow("Latin-1 text") << QByteArray("Beyonc\xE9 \xC9t\xE9")
                                  << QStringLiteral(u"Beyonc") + escapes("\xE9") + QStringLiteral(u" ﾉt")
                                         + escapes("\xE9");
    QTest::newRow("lead byte at the end") << QByteArray("a\x82") << QStringLiteral(u"a") + escapes("\x82");
    QTest::newRow("lead byte before no trail byte")
        << QByteArray("\x82\x20\x82\xA0\x9F\x7F\xFC" "0")
        << escapes("\x82") + QStringLiteral(u" あ") + escapes("\x9F") + QStringLiteral(u"\x7F") + escapes("\xFC")
               + QStringLiteral(u"0");
    QTest::newRow("undefined single bytes") << QByteArray("\x80\xA0\xFD\xFE\xFF")
                                            << escapes("\x80\xA0\xFD\xFE\xFF");
    // Written in the code Windows uses, 0xFBFC, the character would pair with
    // the escaped 0xEE before it.
    QTest::newRow("escaped lead byte before a doubly coded character") << QByteArray("\xEE\xEE\xE0")
                                                                       << escapes("\xEE") + QStringLiteral(u"髙");
    QTest::newRow("pairs ICU cannot map") << QByteArray("\x81\xAD\x85\x40\xEB\x9F")
                                          << escapes("\x81") + QStringLiteral(u"ｭ") + escapes("\x85")
                                                 + QStringLiteral(u"@") + escapes("\xEB\x9F");
}

void TestCp932::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::encode(text).toHex(' '), bytes.toHex(' '));
    QCOMPARE(Cp932::byteLength(text), bytes.size());
}

// Text the user types.
void TestCp932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("WAVE DASH") << QStringLiteral(u"\u301C") << QByteArray("\x81\x60");
    QTest::newRow("DOUBLE VERTICAL LINE") << QStringLiteral(u"\u2016") << QByteArray("\x81\x61");
    QTest::newRow("MINUS SIGN") << QStringLiteral(u"\u2212") << QByteArray("\x81\x7C");
    QTest::newRow("CENT SIGN") << QStringLiteral(u"\u00A2") << QByteArray("\x81\x91");
    QTest::newRow("POUND SIGN") << QStringLiteral(u"\u00A3") << QByteArray("\x81\x92");
    QTest::newRow("NOT SIGN") << QStringLiteral(u"\u00AC") << QByteArray("\x81\xCA");
    QTest::newRow("emoji is one ?") << QStringLiteral(u"\U0001F3B5") << QByteArray("?");
    QTest::newRow("U+FFFD is one ?") << QStringLiteral(u"\uFFFD") << QByteArray("?");
    QTest::newRow("Hangul is one ?") << QStringLiteral(u"한") << QByteArray("?");
    QTest::newRow("Latin-1 letter is one ?") << QStringLiteral(u"é") << QByteArray("?");
    QTest::newRow("lone high surrogate is one ?") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("lone low surrogates that are no escape")
        << QString(QChar(0xDC41)) + QChar(0xDC7F) + QChar(0xDD80) + QChar(0xDFFF) << QByteArray("????");
    QTest::newRow("no forms between others") << QStringLiteral(u"a\U0001F600\uFFFDb") << QByteArray("a??b");
}

void TestCp932::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text).toHex(' '), bytes.toHex(' '));
    QCOMPARE(Cp932::byteLength(text), bytes.size());
}

// Cutting to a number of bytes, on the bytes and on the text they read as:
// never inside a character, and escapes are one byte each.
void TestCp932::cut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("cut");

    QTest::newRow("fits") << QByteArray("a\x82\xA0") << 3 << QByteArray("a\x82\xA0");
    QTest::newRow("double-byte char not split") << QByteArray("a\x82\xA0" "b") << 2 << QByteArray("a");
    QTest::newRow("single bytes cut anywhere") << QByteArray("\xB1\xB2\xB3") << 2 << QByteArray("\xB1\xB2");
    QTest::newRow("zero bytes") << QByteArray("abc") << 0 << QByteArray();
    QTest::newRow("escapes are one byte each") << QByteArray("\x80\x82") << 2 << QByteArray("\x80\x82");
    QTest::newRow("unmapped pair is two characters") << QByteArray("\x85\x82\xA0") << 2 << QByteArray("\x85");
}

void TestCp932::cut()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, cut);
    QCOMPARE(Cp932::cutLength(bytes, maxBytes), cut.size());
    QCOMPARE(Cp932::encodeCut(Cp932::decode(bytes), maxBytes).toHex(' '), cut.toHex(' '));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_Cp932.moc"
