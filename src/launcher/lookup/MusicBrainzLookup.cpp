#include "launcher/lookup/MusicBrainzLookup.h"

#include "launcher/fill/FillCommands.h"
#include "launcher/list/FileList.h"
#include "launcher/lookup/RowsDisc.h"
#include "musicbrainz/ReleaseFill.h"
#include "services/LookupWindowService.h"
#include "services/ReportService.h"

namespace {

const QString kAsking = QStringLiteral("MusicBrainzに問い合わせています…");

}  // namespace

MusicBrainzLookup::MusicBrainzLookup(FileList &list, FillCommands &fills, ReportService &reports,
                                     LookupWindowService &window)
    : list_(list), fills_(fills), reports_(reports), window_(window)
{
}

void MusicBrainzLookup::lookUp(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    const RowsDisc disc = discOfRows(list_, rows);
    const LookupQuery query = lookupQuery(list_, rows, disc);
    LookupResult result;
    window_.whileAsking(kAsking, [&](WebService &web) { result = lookUpDisc(web, query); });
    const auto failed = [this](const LookupError &error) {
        if (!error.ok() && !error.cancelled())
            reports_.report(ReportService::Kind::Problem, lookupMessage(error).replace(u'\n', u'\r'),
                            QStringLiteral(" [検索エラー]"));
        return !error.ok();
    };
    if (failed(result.error))
        return;
    if (result.releases.isEmpty()) {
        QStringList lines{QStringLiteral("MusicBrainzにこのCDは見つかりませんでした。")};
        if (!disc.unmeasured.isEmpty())
            lines << QStringLiteral("次のファイルは長さを測れないため、CDの検索に使いませんでした。") << disc.unmeasured;
        reports_.report(ReportService::Kind::Notice, lines.join(u'\r'), QStringLiteral("[検索結果]"));
        return;
    }

    QStringList lines;
    for (const FoundRelease &found : std::as_const(result.releases))
        lines << releaseLine(found, query.rows);
    const int chosen = window_.chooseRelease(lookupHeading(result, disc), lines);
    if (chosen < 0 || chosen >= result.releases.size())
        return;
    FoundRelease found = result.releases.at(chosen);
    // A search gives releases without their tracks.
    if (found.medium < 0 || found.release.media.at(found.medium).tracks.isEmpty()) {
        ReleaseLookup release;
        window_.whileAsking(kAsking, [&](WebService &web) { release = lookUpRelease(web, found.release.id); });
        if (failed(release.error))
            return;
        found.release = release.release;
        found.medium = mediumOf(found.release, query.disc ? query.disc->id : QString(), query.rows);
    }
    const ReleaseRows filled = releaseRows(found.release, found.medium, query.rows);
    if (filled.rows.isEmpty()) {
        failed({.problem = LookupProblem::NoTracks});
        return;
    }
    fills_.fillRows(filled.rows, rows, filled.tracksLeft);
}
