#pragma once

#include "disc/Toc.h"
#include "musicbrainz/Release.h"
#include "musicbrainz/ReleaseJson.h"
#include "musicbrainz/WebService.h"

#include <QList>
#include <QString>

#include <optional>

// Looking a CD up at MusicBrainz, step by step until one finds releases:
// the disc id (only when every track's length was exact: an id of lengths
// that are close finds nothing), then the table of contents (MusicBrainz
// finds the CDs whose tracks are about as long), then, when the rows hold
// an album, a search by album, artist and track count. Each failure ends
// the lookup with its reason; a disc the service does not know is no
// failure.

struct LookupQuery {
    std::optional<Disc> disc{};  // the disc the rows' files give, if they gave one
    QString album{};             // the rows' album and artist, for the search
    QString artist{};
    int rows = 0;  // the rows to fill: the tracks of the disc
};

enum class LookupStep { DiscId, Toc, Search };

enum class LookupProblem {
    None,
    Web,        // no HTTP answer (web says why)
    Status,     // an HTTP status other than 200 (and 404 where it means none)
    Answer,     // an answer that cannot be read (answer says why)
    NotFound,   // the release asked for is unknown
    NoTracks,   // the release's disc lists no tracks
};

struct LookupError {
    LookupProblem problem = LookupProblem::None;
    WebFailure web = WebFailure::None;
    int status = 0;
    AnswerProblem answer = AnswerProblem::None;
    int code = 0;

    bool ok() const { return problem == LookupProblem::None; }
    bool cancelled() const { return problem == LookupProblem::Web && web == WebFailure::Cancelled; }
};

// A release found, with the medium that is the disc (mediumOf) and whether
// that medium has another number of tracks than the rows.
struct FoundRelease {
    Release release{};
    qsizetype medium = -1;
    bool trackCountDiffers = false;
};

struct LookupResult {
    LookupError error{};
    LookupStep step = LookupStep::DiscId;  // the step that found the releases
    // Japanese text first, then other text, then transliterations, each in
    // the service's order; empty when nothing was found.
    QList<FoundRelease> releases{};
};

LookupResult lookUpDisc(WebService &web, const LookupQuery &query);

// One release with its tracks (a search finds releases without them).
struct ReleaseLookup {
    LookupError error{};
    Release release{};
};
ReleaseLookup lookUpRelease(WebService &web, const QString &releaseId);

// The message for a failed lookup: "MusicBrainzに接続できませんでした。" and
// the reason on the next line. Empty when it was cancelled or did not fail.
QString lookupMessage(const LookupError &error);
