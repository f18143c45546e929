// Feeds arbitrary bytes to the reading of MusicBrainz's answers: a refused
// answer gives no release; a read one gives releases whose year is four
// digits or none, whose disc is one of their media, and whose rows are as
// many as asked, each track's number its position.

#include "FuzzCheck.h"
#include "musicbrainz/ReleaseFill.h"
#include "musicbrainz/ReleaseJson.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ReleasesAnswer answer = readReleases(bytes);
    if (answer.problem != AnswerProblem::None) {
        check(answer.releases.isEmpty(), "releases from a refused answer");
        return 0;
    }
    for (const Release &release : answer.releases) {
        const QString year = release.year();
        check(year.isEmpty() || (year.size() == 4 && year == release.date.left(4)), "a year that is no part of the date");
        (void)release.text();
        (void)creditText(release.artist);
        const qsizetype medium = mediumOf(release, QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-"), 12);
        check(medium >= -1 && medium < release.media.size(), "a disc that is no medium of the release");
        const ReleaseRows rows = releaseRows(release, medium, 12);
        check(rows.rows.size() == (medium < 0 ? 0 : std::min<qsizetype>(12, release.media[medium].tracks.size())),
              "not a fill for each track up to the last row");
        check(rows.tracksLeft >= 0, "fewer than no tracks left");
    }
    return 0;
}
