#pragma once

#include "musicbrainz/Release.h"

#include <QByteArrayView>
#include <QList>

// MusicBrainz's JSON answers read into releases, within budgets: an answer
// larger than a few MB, or nested deeper than any answer of the service,
// is refused before it is parsed. Values of another type than the service
// gives read as empty; only the shape of the whole answer is checked.

inline constexpr qsizetype kMaxAnswerBytes = 4 * 1024 * 1024;
// Real answers nest about ten levels (the releases, their media, tracks,
// their artist credits, the artists and their aliases).
inline constexpr int kMaxAnswerDepth = 32;

enum class AnswerProblem {
    None,
    TooLarge,   // more than kMaxAnswerBytes
    TooDeep,    // nested deeper than kMaxAnswerDepth
    NotJson,    // no JSON text
    NotAnswer,  // JSON, but neither releases nor a release
};

struct ReleasesAnswer {
    AnswerProblem problem = AnswerProblem::None;
    QList<Release> releases{};
};

// The releases of a disc id, table of contents or search answer (an object
// whose "releases" is an array), or the one release of a release's lookup
// (an object with its "id").
ReleasesAnswer readReleases(QByteArrayView json);
