// Looking a CD up through the web service's interface, with answers given
// here: the steps taken, the order of the releases, the messages of
// failures, and what a chosen release gives the rows.

#include "musicbrainz/DiscLookup.h"
#include "musicbrainz/ReleaseFill.h"
#include "musicbrainz/ReleaseJson.h"

#include "common/MusicBrainzAnswers.h"

#include <QTest>

namespace {

// Answers by the start of the request's path, the first that fits; the
// requests asked, in order.
using Answers = QList<std::pair<QString, WebAnswer>>;

WebAnswer ok(const QByteArray &body)
{
    return {.failure = WebFailure::None, .status = 200, .body = body};
}

const QString kDiscPath = QStringLiteral("/ws/2/discid/%1?inc").arg(kDiscId);
const QString kTocPath = QStringLiteral("/ws/2/discid/%1?toc=1+3+").arg(kDiscId);
const QString kSearchPath = QStringLiteral("/ws/2/release/?query=");

Disc disc(bool exact)
{
    return {.toc = {.offsets = {150, 15363, 32314}, .leadOut = 46592}, .id = QString::fromLatin1(kDiscId), .exact = exact};
}

// Each release as its id's first four characters, "!" when its track count
// is not the rows'.
QString found(const LookupResult &result)
{
    QStringList releases;
    for (const FoundRelease &release : result.releases)
        releases << release.release.id.left(4) + (release.trackCountDiffers ? "!" : "");
    return QStringLiteral("step %1: %2").arg(int(result.step)).arg(releases.join(u' '));
}

}  // namespace

Q_DECLARE_METATYPE(Answers)
Q_DECLARE_METATYPE(WebAnswer)

class TestDiscLookup : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data()
    {
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("album");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("result");
        const int disc = int(LookupStep::DiscId), toc = int(LookupStep::Toc), search = int(LookupStep::Search);
        QTest::newRow("the disc id: Japanese first") << true << "" << Answers{{kDiscPath, ok(kDiscAnswer)}} << "discid"
                                                     << QStringLiteral("step %1: b1a9 0f3a").arg(disc);
        QTest::newRow("unknown id: the table") << true << "" << Answers{{kTocPath, ok(kTocAnswer)}} << "discid toc"
                                               << QStringLiteral("step %1: c2b3").arg(toc);
        QTest::newRow("lengths not exact: the table only") << false << "" << Answers{{kTocPath, ok(kTocAnswer)}} << "toc"
                                                           << QStringLiteral("step %1: c2b3").arg(toc);
        QTest::newRow("nothing by the table: the album")
            << true << "夜明けの歌" << Answers{{kTocPath, ok(R"({"releases": []})")}, {kSearchPath, ok(kSearchAnswer)}}
            << "discid toc search" << QStringLiteral("step %1: d3c4").arg(search);
        QTest::newRow("none, and no album") << true << "" << Answers{} << "discid toc" << QStringLiteral("step %1: ").arg(toc);
        QTest::newRow("another track count marked")
            << true << "" << Answers{{kDiscPath, ok(QByteArray(kDiscAnswer).replace(R"("track-count": 3)", R"("track-count": 4)"))}}
            << "discid" << QStringLiteral("step %1: b1a9! 0f3a!").arg(disc);
        QTest::newRow("a failure ends it") << true << "夜明け" << Answers{{kDiscPath, {.failure = WebFailure::Refused}}}
                                           << "discid" << QStringLiteral("step %1: ").arg(disc);
    }
    void lookUp()
    {
        QFETCH(bool, exact);
        QFETCH(QString, album);
        QFETCH(Answers, answers);
        QFETCH(QString, asked);
        QFETCH(QString, result);
        CannedService web;
        web.answers = answers;
        const LookupResult looked = lookUpDisc(web, {.disc = disc(exact), .album = album, .artist = "山田", .rows = 3});
        QStringList steps;
        for (const QString &request : web.asked)
            steps << (request.contains(u"toc=") ? "toc" : request.startsWith(kSearchPath) ? "search" : "discid");
        QCOMPARE(steps.join(u' '), asked);
        QCOMPARE(found(looked), result);
    }

    void requests()
    {
        CannedService web;
        lookUpDisc(web, {.disc = disc(true), .album = "A \"B\"", .artist = "C\\D", .rows = 3});
        QCOMPARE(web.asked, QStringList({
            "/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-?inc=recordings+artist-credits&cdstubs=no&fmt=json",
            "/ws/2/discid/49HHV7Eb8UKF3aQiNmu1GR8vKTY-?toc=1+3+46592+150+15363+32314&inc=recordings+artist-credits&cdstubs=no&fmt=json",
            "/ws/2/release/?query=release%3A%22A%20%5C%22B%5C%22%22%20AND%20artist%3A%22C%5C%5CD%22%20AND%20tracksmedium%3A3&fmt=json"}));
        QCOMPARE(lookUpRelease(web, "../discid/x").error.problem, LookupProblem::NotFound);
        QCOMPARE(web.asked.size(), 3);
    }

    void failure_data()
    {
        QTest::addColumn<WebAnswer>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("refused") << WebAnswer{.failure = WebFailure::Refused} << "サーバーが接続を断りました。";
        QTest::newRow("timeout") << WebAnswer{.failure = WebFailure::Timeout} << "15秒待っても答えがありませんでした。";
        QTest::newRow("other network failure") << WebAnswer{.failure = WebFailure::Network, .code = 99} << "通信できませんでした（エラー99）。";
        QTest::newRow("too large") << WebAnswer{.failure = WebFailure::TooLarge} << "答えが大きすぎます。";
        QTest::newRow("a 400") << WebAnswer{.failure = WebFailure::None, .status = 400} << "サーバーがエラー400を返しました。";
        QTest::newRow("a 500") << WebAnswer{.failure = WebFailure::None, .status = 500} << "サーバーがエラー500を返しました。";
        QTest::newRow("no JSON") << ok("<html>") << "答えがJSONではありません。";
        QTest::newRow("too deep") << ok(QByteArray(40, '[')) << "答えの入れ子が深すぎます。";
        QTest::newRow("cancelled") << WebAnswer{.failure = WebFailure::Cancelled} << QString();
    }
    void failure()
    {
        QFETCH(WebAnswer, answer);
        QFETCH(QString, message);
        CannedService web;
        web.answers = {{QString(), answer}};
        const LookupError error = lookUpDisc(web, {.disc = disc(true), .album = {}, .artist = {}, .rows = 3}).error;
        QCOMPARE(lookupMessage(error), message.isEmpty() ? message : "MusicBrainzに接続できませんでした。\n" + message);
        QCOMPARE(error.cancelled(), message.isEmpty());
        QCOMPARE(web.asked.size(), 1);
    }

    // A release looked up for its tracks: unknown, without tracks, or whole.
    void release()
    {
        CannedService web;
        QCOMPARE(lookupMessage(lookUpRelease(web, kJapaneseId).error), "MusicBrainzに接続できませんでした。\nそのリリースはありません。");
        web.answers = {{QString(), ok(kSearchAnswer)}};
        QCOMPARE(lookupMessage(lookUpRelease(web, kJapaneseId).error), "MusicBrainzに接続できませんでした。\nリリースに曲がありません。");
        web.answers = {{QString(), ok(R"({"id": "b1a9", "title": "夜明けの歌", "media": [{"tracks": [{"title": "春の風"}]}]})")}};
        const ReleaseLookup whole = lookUpRelease(web, kJapaneseId);
        QVERIFY(whole.error.ok());
        QCOMPARE(whole.release.media.first().tracks.first().title, "春の風");
        QCOMPARE(web.asked.last(), QStringLiteral("/ws/2/release/%1?inc=recordings+artist-credits&fmt=json").arg(kJapaneseId));
    }

    void rows_data()
    {
        QTest::addColumn<int>("medium");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("filled");
        QTest::newRow("as many rows as tracks") << 0 << 3 << "春の風/山田太郎 & 花子/夜明けの歌/2001/1 "
                                                            "夏の海/山田太郎 feat. KOJI/夜明けの歌/2001/2 "
                                                            "秋の空/山田太郎 & 花子/夜明けの歌/2001/3 left 0";
        QTest::newRow("fewer rows") << 0 << 1 << "春の風/山田太郎 & 花子/夜明けの歌/2001/1 left 2";
        QTest::newRow("more rows") << 0 << 4 << "春の風/山田太郎 & 花子/夜明けの歌/2001/1 "
                                                 "夏の海/山田太郎 feat. KOJI/夜明けの歌/2001/2 "
                                                 "秋の空/山田太郎 & 花子/夜明けの歌/2001/3 left 0";
        QTest::newRow("no such medium") << 1 << 3 << " left 0";
    }
    void rows()
    {
        QFETCH(int, medium);
        QFETCH(int, rows);
        QFETCH(QString, filled);
        const Release release = readReleases(kDiscAnswer).releases[1];
        const ReleaseRows fill = releaseRows(release, medium, rows);
        QStringList texts;
        for (const TagUpdate &row : fill.rows) {
            QVERIFY(!row.Comment && !row.GenreID);
            texts << QStringList{row.Title.value_or(""), row.Artist.value_or(""), row.Album.value_or(""),
                                 row.Year.value_or("-"), row.TrackNumber ? QString::number(*row.TrackNumber) : "-"}
                         .join(u'/');
        }
        QCOMPARE(texts.join(u' ') + " left " + QString::number(fill.tracksLeft), filled);
    }

    // The medium that is the disc: by its id, else by the rows' track count.
    void medium()
    {
        Release release = readReleases(kTocAnswer).releases.first();
        QCOMPARE(mediumOf(release, kDiscId, 3), 1);
        QCOMPARE(mediumOf(release, kDiscId, 5), 0);
        release.media[0].discIds << kDiscId;
        QCOMPARE(mediumOf(release, kDiscId, 3), 0);
        QCOMPARE(mediumOf(Release{}, kDiscId, 3), -1);
    }
};

QTEST_GUILESS_MAIN(TestDiscLookup)
#include "tst_DiscLookup.moc"
