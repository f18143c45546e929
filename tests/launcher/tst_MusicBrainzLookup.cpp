// M on real LAME-encoded files of one CD: the rows filled from the release
// picked, in one step; and every bad answer, or no answer, leaves the list
// as it was. The web service gives canned answers in MusicBrainz's shape.

#include "common/Fakes.h"
#include "common/LameFiles.h"
#include "common/MusicBrainzAnswers.h"
#include "launcher/frmID3Launcher.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using Answers = QList<std::pair<QString, WebAnswer>>;

WebAnswer ok(const QByteArray &body)
{
    return {.failure = WebFailure::None, .status = 200, .body = body};
}

// Each row as "title/artist/album/year/track/mark".
QStringList rowTexts(FakeListView &list)
{
    QStringList texts;
    for (int row = 1; row <= list.count(); ++row) {
        texts << QStringList{list.cell(row, livTitle), list.cell(row, livAirtist), list.cell(row, livAlbum),
                             list.cell(row, livYear), list.cell(row, livTrackNo), list.cell(row, livChanged)}
                     .join(u'/');
    }
    return texts;
}

const QStringList kUntouched{"////0/", "////0/", "////0/"};

}  // namespace

Q_DECLARE_METATYPE(Answers)

class TestMusicBrainzLookup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        // Three tracks of whole sectors, as a CD's are.
        for (int track = 1; track <= 3; ++track)
            QVERIFY(writeLameMp3(dir_.filePath(QStringLiteral("%1.mp3").arg(track)), 588 * 75 * track));
    }

    void lookUp_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message");  // a part of it

        const Answers disc{{"/ws/2/discid/", ok(kDiscAnswer)}};
        QTest::newRow("the Japanese release, offered first")
            << disc << 0
            << QStringList{"春の風/山田太郎 & 花子/夜明けの歌/2001/1/*", "夏の海/山田太郎 feat. KOJI/夜明けの歌/2001/2/*",
                           "秋の空/山田太郎 & 花子/夜明けの歌/2001/3/*"}
            << "";
        QTest::newRow("its transliteration")
            << disc << 1
            << QStringList{"Haru no Kaze/Yamada Taro/Yoake no Uta/2001/1/*", "Natsu no Umi/Yamada Taro/Yoake no Uta/2001/2/*",
                           "Aki no Sora/Yamada Taro/Yoake no Uta/2001/3/*"}
            << "";
        QTest::newRow("none picked") << disc << -1 << kUntouched << "";
        QTest::newRow("connection refused")
            << Answers{{"/ws/2/", {.failure = WebFailure::Refused}}} << 0 << kUntouched
            << "MusicBrainzに接続できませんでした。";
        QTest::newRow("timeout") << Answers{{"/ws/2/", {.failure = WebFailure::Timeout}}} << 0 << kUntouched
                                 << "MusicBrainzに接続できませんでした。";
        QTest::newRow("cancelled") << Answers{{"/ws/2/", {.failure = WebFailure::Cancelled}}} << 0 << kUntouched << "";
        QTest::newRow("server error") << Answers{{"/ws/2/", {.failure = WebFailure::None, .status = 500}}} << 0
                                      << kUntouched << "MusicBrainzに接続できませんでした。";
        QTest::newRow("no JSON") << Answers{{"/ws/2/", ok("<html>")}} << 0 << kUntouched
                                 << "MusicBrainzに接続できませんでした。";
        QTest::newRow("unknown disc") << Answers{} << 0 << kUntouched << "見つかりませんでした";
    }
    void lookUp()
    {
        QFETCH(Answers, answers);
        QFETCH(int, pick);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        fakes.lookup.web.answers = answers;
        fakes.lookup.pick = pick;
        launcher.lvMP3List_OLEDragDrop({dir_.filePath("1.mp3"), dir_.filePath("2.mp3"), dir_.filePath("3.mp3")});
        // One row selected stands for all of them.
        fakes.list.select({2});

        launcher.LookUpMusicBrainz();

        QCOMPARE(rowTexts(fakes.list), rows);
        const QString shown = fakes.messages.shown.isEmpty() ? QString() : fakes.messages.shown.last().text;
        QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.contains(message), qPrintable(shown));
        // The lengths were exact, so the disc id was asked first.
        QVERIFY(fakes.lookup.web.asked.value(0).startsWith("/ws/2/discid/"));
        // The fill is one step; a lookup that filled nothing is none, so an
        // undo takes back the adding of the files.
        launcher.Menu_LV_RightMenu_Undo_Click();
        QCOMPARE(rowTexts(fakes.list), rows == kUntouched ? QStringList{} : kUntouched);
    }

    // Each release one line, Japanese text first and marked; the track
    // count of a release not the rows' is marked too.
    void releaseLines()
    {
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        fakes.lookup.web.answers = {{"/ws/2/discid/", ok(kDiscAnswer)}};
        fakes.lookup.pick = -1;
        launcher.lvMP3List_OLEDragDrop({dir_.filePath("1.mp3"), dir_.filePath("2.mp3")});
        fakes.list.select({1, 2});

        launcher.LookUpMusicBrainz();

        QCOMPARE(fakes.lookup.releases,
                 (QStringList{"夜明けの歌 / 山田太郎 & 花子 / 2001 / JP / 3曲 / 日本語  （曲数がファイルの2曲と違う）",
                              "Yoake no Uta / Yamada Taro / 2001 / XW / 3曲 / 翻字・翻訳  （曲数がファイルの2曲と違う）"}));
        QVERIFY(fakes.lookup.heading.startsWith("ディスクID "));
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainzLookup)
#include "tst_MusicBrainzLookup.moc"
