// The local files a drag's URI list names, with their exact bytes, and how
// many of them a drag or a drop gives.

#include "files/NativePath.h"
#include "platform/DroppedFiles.h"

#include <QDropEvent>
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
        QCOMPARE(droppedLocalFiles(&data, kMaxDroppedFiles), expected);
    }

    // Files, a comment and a web link between them: so many files are
    // given, the lines that are none not counted.
    void mostFiles_data()
    {
        QTest::addColumn<qsizetype>("maxFiles");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("fewer") << qsizetype(2) << QStringList{"/a", "/b"};
        QTest::newRow("as many") << qsizetype(3) << QStringList{"/a", "/b", "/c"};
    }
    void mostFiles()
    {
        QFETCH(qsizetype, maxFiles);
        QFETCH(QStringList, paths);
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), "file:///a\r\n# c\r\nhttps://x/y\r\nfile:///b\r\nfile:///c\r\n");
        QCOMPARE(droppedLocalFiles(&data, maxFiles), paths);
    }

    // A drop gives its first kMaxDroppedFiles files; a drag entering or
    // moving over the window, looked at on every move, only its first.
    void dragAndDrop_data()
    {
        QTest::addColumn<int>("type");  // QEvent::Type
        QTest::addColumn<qsizetype>("paths");
        QTest::newRow("drop") << int(QEvent::Drop) << kMaxDroppedFiles;
        QTest::newRow("drag moving") << int(QEvent::DragMove) << qsizetype(1);
        QTest::newRow("drag entering") << int(QEvent::DragEnter) << qsizetype(1);
    }
    void dragAndDrop()
    {
        QFETCH(int, type);
        QFETCH(qsizetype, paths);
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), QByteArray("file:///x.mp3\r\n").repeated(kMaxDroppedFiles + 1));
        QDropEvent event(QPointF(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, QEvent::Type(type));
        event.ignore();
        QCOMPARE(acceptLocalFileDrag(&event).size(), paths);
        QVERIFY(event.isAccepted());
    }
};

QTEST_MAIN(TestDroppedFiles)
#include "tst_DroppedFiles.moc"
