#include "app/cli/CliLookup.h"

#include "app/cli/ConsoleOutput.h"
#include "launcher/list/FileList.h"
#include "launcher/lookup/RowsDisc.h"
#include "musicbrainz/DiscLookup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString textName(ReleaseText text)
{
    switch (text) {
    case ReleaseText::Japanese: return QStringLiteral("japanese");
    case ReleaseText::Transliteration: return QStringLiteral("transliteration");
    case ReleaseText::Other: break;
    }
    return QStringLiteral("other");
}

QJsonObject releaseObject(const FoundRelease &found)
{
    const Release &release = found.release;
    QJsonArray tracks;
    if (found.medium >= 0) {
        for (const ReleaseTrack &track : release.media.at(found.medium).tracks) {
            tracks.append(QJsonObject{{"position", track.position}, {"title", track.title},
                                      {"artist", creditText(track.artist.isEmpty() ? release.artist : track.artist)}});
        }
    }
    return QJsonObject{
        {"id", release.id},
        {"title", release.title},
        {"artist", creditText(release.artist)},
        {"date", release.date},
        {"country", release.country},
        {"language", release.language},
        {"text", textName(release.text())},
        {"trackCount", found.medium >= 0 ? release.media.at(found.medium).trackCount : 0},
        {"trackCountDiffers", found.trackCountDiffers},
        {"tracks", tracks},
    };
}

void tellUnmeasured(ConsoleOutput &console, const RowsDisc &disc)
{
    for (const QString &file : disc.unmeasured)
        console.tell(file);
}

// A failed lookup's message, a line at a time.
void tellFailure(ConsoleOutput &console, const LookupError &error)
{
    for (const QString &line : lookupMessage(error).split(u'\n'))
        console.tell(line);
}

}  // namespace

bool printLookup(ConsoleOutput &console, WebService &web, const FileList &list, const QList<int> &rows, bool json)
{
    const RowsDisc disc = discOfRows(list, rows);
    tellUnmeasured(console, disc);
    if (!json && disc.disc) {
        console.print(QStringLiteral("ディスクID\t") + disc.disc->id
                      + (disc.exact ? QString() : QStringLiteral("\t(曲の長さは推定)")));
        console.print(QStringLiteral("TOC\t") + tocParameter(disc.disc->toc));
    }
    const LookupQuery query = lookupQuery(list, rows, disc);
    const LookupResult result = lookUpDisc(web, query);
    if (!result.error.ok()) {
        tellFailure(console, result.error);
        return false;
    }
    if (json) {
        QJsonArray releases;
        for (const FoundRelease &found : result.releases)
            releases.append(releaseObject(found));
        // JSON is UTF-8 whatever the locale, as every reader of it expects.
        console.printBytes(QJsonDocument(releases).toJson(QJsonDocument::Indented));
    } else {
        for (const FoundRelease &found : result.releases)
            console.print(found.release.id + QStringLiteral("  ") + releaseLine(found, query.rows));
    }
    if (result.releases.isEmpty())
        console.tell(QStringLiteral("MusicBrainzにこのCDは見つかりませんでした。"));
    return disc.unmeasured.isEmpty();
}

std::optional<ReleaseRows> fetchReleaseRows(ConsoleOutput &console, WebService &web, const FileList &list,
                                            const QList<int> &rows, const QString &releaseId)
{
    const ReleaseLookup lookup = lookUpRelease(web, releaseId);
    if (!lookup.error.ok()) {
        tellFailure(console, lookup.error);
        return std::nullopt;
    }
    // The disc id, when the files give one, picks the medium of a set.
    const RowsDisc disc = discOfRows(list, rows);
    const qsizetype medium = mediumOf(lookup.release, disc.disc ? disc.disc->id : QString(),
                                      static_cast<int>(rows.size()));
    ReleaseRows filled = releaseRows(lookup.release, medium, static_cast<int>(rows.size()));
    if (filled.rows.isEmpty()) {
        tellFailure(console, {.problem = LookupProblem::NoTracks});
        return std::nullopt;
    }
    return filled;
}
