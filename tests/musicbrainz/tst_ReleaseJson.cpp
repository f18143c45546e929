// MusicBrainz's answers read into releases, within the budgets of size and
// nesting, and whose text each release is in.

#include "musicbrainz/ReleaseJson.h"

#include "common/MusicBrainzAnswers.h"

#include <QTest>

namespace {

QString summary(const ReleasesAnswer &answer)
{
    switch (answer.problem) {
    case AnswerProblem::None:
        break;
    case AnswerProblem::TooLarge:
        return QStringLiteral("too large");
    case AnswerProblem::TooDeep:
        return QStringLiteral("too deep");
    case AnswerProblem::NotJson:
        return QStringLiteral("no JSON");
    case AnswerProblem::NotAnswer:
        return QStringLiteral("no releases");
    }
    QStringList releases;
    for (const Release &release : answer.releases) {
        QStringList media;
        for (const Medium &medium : release.media) {
            QStringList tracks;
            for (const ReleaseTrack &track : medium.tracks)
                tracks << QStringLiteral("%1 %2%3").arg(track.position).arg(track.title,
                                                                            track.artist.isEmpty() ? QString() : " (" + creditText(track.artist) + ")");
            media << QStringLiteral("%1:%2 %3 [%4] %5")
                         .arg(medium.position)
                         .arg(medium.format)
                         .arg(medium.trackCount)
                         .arg(medium.discIds.join(u','), tracks.join(u", "));
        }
        const char *text = release.text() == ReleaseText::Japanese ? "ja" : release.text() == ReleaseText::Transliteration ? "tr" : "other";
        releases << QStringList{release.id, release.title, creditText(release.artist), release.year(), release.country, QString::fromLatin1(text), media.join(u"; ")}.join(u'|');
    }
    return releases.join(u'\n');
}

// An answer of the given size or depth.
QByteArray padded(qsizetype size)
{
    const QByteArray answer = R"({"releases": []})";
    return answer + QByteArray(size - answer.size(), ' ');
}
QByteArray nested(int depth)
{
    return R"({"releases": [], "x": )" + QByteArray(depth - 1, '[') + QByteArray(depth - 1, ']') + "}";
}

}  // namespace

Q_DECLARE_METATYPE(Release)

class TestReleaseJson : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("releases");
        QTest::newRow("a disc's releases") << kDiscAnswer << QStringLiteral(
            "0f3a1d2e-5b6c-4d7e-8f90-a1b2c3d4e5f6|Yoake no Uta|Yamada Taro|2001|XW|tr|1:CD 3 [49HHV7Eb8UKF3aQiNmu1GR8vKTY-] "
            "1 Haru no Kaze, 2 Natsu no Umi, 3 Aki no Sora\n"
            "b1a9c0e9-d987-4042-ae91-78d6a3267d69|夜明けの歌|山田太郎 & 花子|2001|JP|ja|1:CD 3 [49HHV7Eb8UKF3aQiNmu1GR8vKTY-] "
            "1 春の風, 2 夏の海 (山田太郎 feat. KOJI), 3 秋の空");
        QTest::newRow("a table's releases") << kTocAnswer << QStringLiteral(
            "c2b3d4e5-f6a7-4b8c-9d0e-1f2a3b4c5d6e|Best of Both|The Band|1999|GB|other|1:CD 2 [] 1 One, 2 Two; "
            "2:CD 3 [] 1 Three, 2 Four, 3 Five");
        QTest::newRow("a search's releases") << kSearchAnswer
                                             << QStringLiteral("d3c4b5a6-0718-4293-a4b5-c6d7e8f90a1b|夜明けの歌|山田太郎|2001|JP|ja|0:CD 3 [] ");
        QTest::newRow("one release looked up")
            << QByteArray(R"({"id": "e1", "title": "朝", "artist-credit": [{"name": "", "artist": {"name": "山田"}}],
                           "media": [{"tracks": [{"position": 1, "recording": {"title": "朝の歌",
                                      "artist-credit": [{"name": "花子"}]}}]}]})")
            << QStringLiteral("e1|朝|山田|||ja|0: 1 [] 1 朝の歌 (花子)");
        QTest::newRow("values of other types read as empty")
            << QByteArray(R"({"releases": [{"id": 5, "title": ["x"], "date": "19xx", "media": {"a": 1}}, 7]})")
            << QStringLiteral("|||||other|");
        QTest::newRow("none") << QByteArray(R"({"releases": []})") << QString();
        QTest::newRow("releases not an array") << QByteArray(R"({"releases": "x"})") << "no releases";
        QTest::newRow("an error") << kNotFoundAnswer << "no releases";
        QTest::newRow("an array") << QByteArray("[1, 2]") << "no releases";
        QTest::newRow("cut off") << kDiscAnswer.left(500) << "no JSON";
        QTest::newRow("a page") << QByteArray("<html>503</html>") << "no JSON";
        QTest::newRow("as large as allowed") << padded(kMaxAnswerBytes) << QString();
        QTest::newRow("a byte larger") << padded(kMaxAnswerBytes + 1) << "too large";
        QTest::newRow("as deep as allowed") << nested(kMaxAnswerDepth) << QString();
        QTest::newRow("a level deeper") << nested(kMaxAnswerDepth + 1) << "too deep";
        QTest::newRow("brackets in strings")
            << "{\"releases\": [], \"x\": \"\\\"" + QByteArray(40, '[') + "\"}" << QString();
    }
    void reading()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, releases);
        QCOMPARE(summary(readReleases(json)), releases);
    }

    void text_data()
    {
        QTest::addColumn<Release>("release");
        QTest::addColumn<int>("text");
        const auto ja = int(ReleaseText::Japanese), tr = int(ReleaseText::Transliteration), other = int(ReleaseText::Other);
        QTest::newRow("Japanese in Latin letters") << Release{.language = "jpn", .script = "Latn"} << tr;
        QTest::newRow("a pseudo-release") << Release{.status = "Pseudo-Release", .language = "jpn", .script = "Jpan"} << tr;
        QTest::newRow("kana, no language") << Release{.script = "Kana"} << ja;
        QTest::newRow("Chinese") << Release{.title = "黎明", .language = "zho"} << other;
        QTest::newRow("kanji in the title") << Release{.title = "夜明け"} << ja;
        QTest::newRow("Latin letters in the title") << Release{.title = "Dawn"} << other;
        QTest::newRow("Latin script, kana title") << Release{.title = "ヨアケ", .script = "Latn"} << other;
    }
    void text()
    {
        QFETCH(Release, release);
        QFETCH(int, text);
        QCOMPARE(int(release.text()), text);
    }
};

QTEST_GUILESS_MAIN(TestReleaseJson)
#include "tst_ReleaseJson.moc"
