#pragma once

#include "id3v1/TagUpdate.h"
#include "musicbrainz/Release.h"

#include <QList>

// What a release gives the rows of its disc, from the top: row i gets track
// i + 1 of the medium, its title, its artist credit (join phrases included;
// the release's when the track has none), the release's title as album, the
// year of its date and the track's number. Comment and genre are not given.
// The texts are whole; fitting them to the tag's slots is the fill's.
struct ReleaseRows {
    QList<TagUpdate> rows{};  // one for each row from the top, up to the last track
    int tracksLeft = 0;     // tracks past the last row
};

// Nothing when the medium is not one of the release's.
ReleaseRows releaseRows(const Release &release, qsizetype medium, int rows);
