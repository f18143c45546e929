// The HTTP client against a server in the test (no test reaches
// MusicBrainz): answers in the service's shape, a 503 then a 200, none, a
// broken answer, one too large, one that never comes, a refused connection;
// its User-Agent, its pace of a request a second (made shorter here), a
// cancel, and the server it asks.

#include "musicbrainz/DiscLookup.h"
#include "system/QtWebService.h"

#include "common/LocalHttpServer.h"
#include "common/MusicBrainzAnswers.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

constexpr WebTimings kFast{.minimumIntervalMs = 50, .retryPauseMs = 50, .timeoutMs = 2000};
constexpr qint64 kSmallBudget = 64 * 1024;

const Disc kDisc{.toc = {.offsets = {150, 15363, 32314}, .leadOut = 46592}, .id = QString::fromLatin1(kDiscId), .exact = true};

}  // namespace


class TestQtWebService : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data()
    {
        QTest::addColumn<QList<Canned>>("answers");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("requests");
        const Canned notFound{404, kNotFoundAnswer};
        QTest::newRow("a Japanese release and its transliteration") << QList<Canned>{{200, kDiscAnswer}} << 2000
                                                                    << "b1a9 0f3a" << 1;
        QTest::newRow("two releases for one id, by the table")
            << QList<Canned>{notFound, {200, kDiscAnswer}} << 2000 << "b1a9 0f3a" << 2;
        QTest::newRow("none") << QList<Canned>{notFound, notFound} << 2000 << "" << 2;
        QTest::newRow("a 503, then a 200") << QList<Canned>{{503, "busy"}, {200, kDiscAnswer}} << 2000 << "b1a9 0f3a" << 2;
        QTest::newRow("a 503 twice") << QList<Canned>{{503, "busy"}, {503, "busy"}} << 2000
                                     << "サーバーがエラー503を返しました。" << 2;
        QTest::newRow("a broken answer") << QList<Canned>{{200, kDiscAnswer.left(300)}} << 2000
                                         << "答えがJSONではありません。" << 1;
        QTest::newRow("an answer too large") << QList<Canned>{{200, kDiscAnswer + QByteArray(256 * kSmallBudget, ' ')}} << 2000
                                             << "答えが大きすぎます。" << 1;
        QTest::newRow("no answer in time") << QList<Canned>{{.hang = true}} << 300
                                           << "15秒待っても答えがありませんでした。" << 1;
    }
    void lookUp()
    {
        QFETCH(QList<Canned>, answers);
        QFETCH(int, timeoutMs);
        QFETCH(QString, result);
        QFETCH(int, requests);
        LocalServer server(answers);
        WebTimings timings = kFast;
        timings.timeoutMs = timeoutMs;
        QtWebService web(QUrl(server.url()), timings, kSmallBudget);
        QElapsedTimer clock;
        clock.start();
        const LookupResult looked = lookUpDisc(web, {.disc = kDisc, .album = {}, .artist = {}, .rows = 3});
        QStringList found;
        for (const FoundRelease &release : looked.releases)
            found << release.release.id.left(4);
        QCOMPARE(looked.error.ok() ? found.join(u' ') : lookupMessage(looked.error).section(u'\n', 1), result);
        QCOMPARE(server.paths.size(), requests);
        QVERIFY(clock.elapsed() < timeoutMs + 1000);
        // An answer too large is not read to its end.
        if (looked.error.web == WebFailure::TooLarge)
            QTRY_VERIFY(server.cutOff);
    }

    void refused()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const quint16 port = closed.serverPort();
        closed.close();
        QtWebService web(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)), kFast);
        QCOMPARE(web.get(QStringLiteral("/ws/2/discid/x")).failure, WebFailure::Refused);
    }

    // Every request names Kalvo; the next starts no sooner than the pace
    // allows, a 503's retry no sooner than its pause.
    void userAgentAndPace()
    {
        LocalServer server(QList<Canned>{{503, "busy"}, {200, "{}"}, {200, "{}"}});
        QtWebService web(QUrl(server.url()), {.minimumIntervalMs = 300, .retryPauseMs = 400, .timeoutMs = 2000});
        QCOMPARE(web.get(QStringLiteral("/ws/2/a")).status, 200);
        QCOMPARE(web.get(QStringLiteral("/ws/2/b")).status, 200);
        QCOMPARE(server.paths, QStringList({"/ws/2/a", "/ws/2/a", "/ws/2/b"}));
        QVERIFY2(server.arrivals[1] - server.arrivals[0] >= 390, qPrintable(QString::number(server.arrivals[1] - server.arrivals[0])));
        QVERIFY2(server.arrivals[2] - server.arrivals[1] >= 290, qPrintable(QString::number(server.arrivals[2] - server.arrivals[1])));
        for (const QByteArray &agent : server.userAgents)
            QVERIFY2(QRegularExpression(R"(^Kalvo/\d+\.\d+\.\d+ \( \S+ \)$)").match(QString::fromLatin1(agent)).hasMatch(), agent);
        QCOMPARE(server.userAgents.size(), 3);
    }

    // A cancel ends the request under way, and every later one asks nothing.
    void cancel()
    {
        LocalServer server(QList<Canned>{{.hang = true}});
        QtWebService web(QUrl(server.url()), {.minimumIntervalMs = 50, .retryPauseMs = 50, .timeoutMs = 10000});
        QTimer::singleShot(200, &web, &QtWebService::cancel);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(web.get(QStringLiteral("/ws/2/a")).failure, WebFailure::Cancelled);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(web.get(QStringLiteral("/ws/2/b")).failure, WebFailure::Cancelled);
        QCOMPARE(server.paths.size(), 1);
    }

    void server_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QString>("server");
        QTest::newRow("unset") << QByteArray() << "https://musicbrainz.org";
        QTest::newRow("a test's server") << QByteArray("http://127.0.0.1:8080") << "http://127.0.0.1:8080";
        QTest::newRow("a mirror") << QByteArray("https://mb.example.org/") << "https://mb.example.org/";
        QTest::newRow("no web address") << QByteArray("ftp://mb.example.org") << "";
        QTest::newRow("no host") << QByteArray("http:///ws/2") << "";
        QTest::newRow("no address at all") << QByteArray("musicbrainz") << "";
    }
    void server()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QString, server);
        if (variable.isEmpty())
            qunsetenv("KALVO_MUSICBRAINZ_SERVER");
        else
            qputenv("KALVO_MUSICBRAINZ_SERVER", variable);
        QCOMPARE(musicBrainzServer().toString(), server);
        qunsetenv("KALVO_MUSICBRAINZ_SERVER");
    }
};

QTEST_GUILESS_MAIN(TestQtWebService)
#include "tst_QtWebService.moc"
