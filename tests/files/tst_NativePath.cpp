// Paths keep their exact bytes as text and back, whatever their encoding, and
// are shown readably.

#include "files/NativePath.h"

#include <QTest>

class TestNativePath : public QObject
{
    Q_OBJECT

private slots:
    void bytesSurviveAndShow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("/music/\xE6\x9B\xB2 01.mp3") << QStringLiteral(u"/music/曲 01.mp3");
        QTest::newRow("CP932 name") << QByteArray("/music/\x8B\xC8 01.mp3") << QStringLiteral(u"/music/曲 01.mp3");
        QTest::newRow("CP932 name, UTF-8 folder") << QByteArray("/\xE9\x9F\xB3/\x82\xA0.mp3") << QStringLiteral(u"/音/あ.mp3");
        // The second bytes of "ソ" and "表" are the byte of "\".
        QTest::newRow("CP932 with 0x5C") << QByteArray("/x/\x83\x5C\x95\x5C.mp3") << QStringLiteral(u"/x/ソ表.mp3");
        QTest::newRow("neither") << QByteArray("/x/a\xFF\x80" "b.mp3") << QStringLiteral(u"/x/a\uFFFD\uFFFDb.mp3");
        // Forms UTF-8 does not allow are bytes, never the character they
        // would spell: an overlong "/" splits no path (and reads as CP932).
        QTest::newRow("overlong slash") << QByteArray("/x/a\xC0\xAF" "b") << QStringLiteral(u"/x/aﾀｯb");
        QTest::newRow("surrogate in UTF-8") << QByteArray("/x/\xED\xA0\x80") << QStringLiteral(u"/x/\uFFFD\uFFFD\uFFFD");
    }
    void bytesSurviveAndShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString text = pathText(bytes);
        QCOMPARE(nativePath(text), bytes);
        QCOMPARE(shownPath(text), shown);
    }

    void textWithoutBytesIsRefused()
    {
        QVERIFY(nativePath(QStringLiteral("/x/") + QChar(0xD800)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNativePath)
#include "tst_NativePath.moc"
