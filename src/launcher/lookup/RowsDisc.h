#pragma once

#include "disc/Toc.h"
#include "musicbrainz/DiscLookup.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FileList;

// The CD the rows' files came from, as tracks 1…N in the order of the rows
// given: each file's audio measured (exact from LAME's frame, else close),
// the table of contents and the disc id.
struct RowsDisc {
    // Nothing when a file could not be measured: the disc would not be the CD.
    std::optional<Disc> disc;
    // The files that could not be measured, as "name: why" (shown names).
    QStringList unmeasured;
    // Every file's length came from LAME's frame: the disc id is the CD's.
    bool exact = true;
};
RowsDisc discOfRows(const FileList &list, const QList<int> &rows);

// The lookup of the rows' CD: its disc, and the first album and artist the
// rows hold, for a search when the disc is unknown.
LookupQuery lookupQuery(const FileList &list, const QList<int> &rows, const RowsDisc &disc);

// The release as one line of a choice: title, artist, year, country,
// tracks, and whether its text is Japanese or a transliteration; one whose
// disc has another number of tracks than the rows says so.
QString releaseLine(const FoundRelease &found, int rows);

// What was looked up and what could not be, above the releases found.
QString lookupHeading(const LookupResult &result, const RowsDisc &disc);
