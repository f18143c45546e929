// Track lengths in CD sectors, the table of contents they make and its
// MusicBrainz disc id, checked against libdiscid for the same table.

#include "disc/Toc.h"

#include "common/Libdiscid.h"

#include <QTest>

namespace {

using Sectors = QList<qint64>;

}  // namespace

class TestToc : public QObject
{
    Q_OBJECT

private slots:
    void sectors_data()
    {
        QTest::addColumn<qint64>("samples");
        QTest::addColumn<int>("rate");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole sectors") << qint64(58800) << 44100 << true << "100 exact";
        QTest::newRow("a sample more") << qint64(58801) << 44100 << true << "100";
        QTest::newRow("counted frames") << qint64(58800) << 44100 << false << "100";
        QTest::newRow("48 kHz") << qint64(64000) << 48000 << true << "100 exact";
        QTest::newRow("22.05 kHz") << qint64(29400) << 22050 << true << "100 exact";
        QTest::newRow("half a sector rounds up") << qint64(58800 + 294) << 44100 << false << "101";
        QTest::newRow("less rounds down") << qint64(58800 + 293) << 44100 << false << "100";
    }
    void sectors()
    {
        QFETCH(qint64, samples);
        QFETCH(int, rate);
        QFETCH(bool, exact);
        QFETCH(QString, expected);
        const TrackSectors track = trackSectors({.sampleRate = rate, .samples = samples, .exact = exact});
        QCOMPARE(QString::number(track.sectors) + (track.exact ? " exact" : ""), expected);
    }

    void toc_data()
    {
        QTest::addColumn<Sectors>("lengths");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one track") << Sectors{100} << "1+1+250+150";
        // The disc of MusicBrainz's documentation, id 49HHV7Eb8UKF3aQiNmu1GR8vKTY-.
        QTest::newRow("six tracks") << Sectors{15213, 16951, 14278, 16822, 17075, 14973}
                                    << "1+6+95462+150+15363+32314+46592+63414+80489";
        QTest::newRow("99 tracks") << Sectors(99, 300) << "1+99+29850+" + [] {
            QStringList offsets;
            for (int i = 0; i < 99; ++i)
                offsets << QString::number(150 + 300 * i);
            return offsets.join(u'+');
        }();
        QTest::newRow("the longest disc") << Sectors{kMaxDiscSectors - 150} << "1+1+405000+150";
        QTest::newRow("a sector longer") << Sectors{kMaxDiscSectors - 149} << "none";
        QTest::newRow("no track") << Sectors{} << "none";
        QTest::newRow("100 tracks") << Sectors(100, 300) << "none";
        QTest::newRow("a track of no sector") << Sectors{100, 0} << "none";
    }
    void toc()
    {
        QFETCH(Sectors, lengths);
        QFETCH(QString, expected);
        const std::optional<Toc> made = tocOf(lengths);
        QCOMPARE(made ? tocParameter(*made) : QStringLiteral("none"), expected);
        if (made)
            QCOMPARE(discId(*made), libdiscidId(*made));
    }

    void documentedId()
    {
        const Toc toc{.offsets = {150, 15363, 32314, 46592, 63414, 80489}, .leadOut = 95462};
        QCOMPARE(discId(toc), QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-"));
    }

    // The disc of the files' lengths: exact only when every length is, and
    // none when a file gave none.
    void disc()
    {
        const AudioLength exact{.sampleRate = 44100, .samples = 58800, .exact = true};
        const AudioLength counted{.sampleRate = 44100, .samples = 61056, .exact = false};
        const std::optional<Disc> disc = discOf({exact, exact});
        QVERIFY(disc && disc->exact);
        QCOMPARE(tocParameter(disc->toc), QStringLiteral("1+2+350+150+250"));
        QCOMPARE(disc->id, discId(disc->toc));
        const std::optional<Disc> close = discOf({exact, counted});
        QVERIFY(close && !close->exact);
        QCOMPARE(tocParameter(close->toc), QStringLiteral("1+2+354+150+250"));
        QVERIFY(!discOf({exact, {.problem = AudioProblem::NoMpegAudio}}));
    }
};

QTEST_GUILESS_MAIN(TestToc)
#include "tst_Toc.moc"
