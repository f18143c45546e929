// The local files a drag's URI list names, with their exact bytes.

#include "DroppedFiles.h"
#include "NativePath.h"

#include <QMimeData>
#include <QTest>

class TestDroppedFiles : public QObject
{
    Q_OBJECT

private slots:
    void paths_data()
    {
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<QList<QByteArray>>("paths");  // as bytes
        using Paths = QList<QByteArray>;
        QTest::newRow("empty host") << QByteArray("file:///music/a.mp3") << Paths{"/music/a.mp3"};
        QTest::newRow("localhost") << QByteArray("file://localhost/x") << Paths{"/x"};
        QTest::newRow("localhost in capitals") << QByteArray("FILE://LocalHost/x") << Paths{"/x"};
        QTest::newRow("another host") << QByteArray("file://otherhost/x") << Paths{};
        QTest::newRow("host without a path") << QByteArray("file://localhost") << Paths{};
        QTest::newRow("no host part") << QByteArray("file:/x") << Paths{"/x"};
        QTest::newRow("relative") << QByteArray("file:x") << Paths{};
        QTest::newRow("a query ends the path") << QByteArray("file:///x.mp3?query") << Paths{"/x.mp3"};
        QTest::newRow("a fragment ends the path") << QByteArray("file:///x.mp3#part") << Paths{"/x.mp3"};
        QTest::newRow("percent-encoded ? and space") << QByteArray("file:///a%20b%3F.mp3") << Paths{"/a b?.mp3"};
        QTest::newRow("CP932 bytes kept") << QByteArray("file:///%82%A0.mp3") << Paths{"/\x82\xA0.mp3"};
        QTest::newRow("zero byte") << QByteArray("file:///a%00b.mp3") << Paths{};
        QTest::newRow("web link") << QByteArray("https://example.org/x.mp3") << Paths{};
        QTest::newRow("lines in order, comments skipped")
            << QByteArray("# from a file manager\r\nfile:///b\r\nfile:///a\r\n") << Paths{"/b", "/a"};
    }
    void paths()
    {
        QFETCH(QByteArray, uriList);
        QFETCH(QList<QByteArray>, paths);
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uriList);
        QStringList expected;
        for (const QByteArray &path : paths)
            expected << pathText(path);
        QCOMPARE(droppedLocalFiles(&data), expected);
    }
};

QTEST_GUILESS_MAIN(TestDroppedFiles)
#include "tst_DroppedFiles.moc"
