#pragma once

#include "disc/AudioLength.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// An audio CD's table of contents as the files of its tracks give it, and
// the disc id MusicBrainz knows the CD by. A CD plays 44,100 samples a
// second in sectors of 588 (1/75 s); every track is whole sectors, and
// track 1 starts at sector 150, after the lead-in.

inline constexpr int kCdSampleRate = 44100;
inline constexpr int kSamplesPerSector = 588;
inline constexpr qint64 kFirstTrackSector = 150;
inline constexpr int kMaxCdTracks = 99;

// A track's length in sectors: exact when the file's length is exact and
// is whole sectors; otherwise the nearest.
struct TrackSectors {
    qint64 sectors = 0;
    bool exact = false;
};
TrackSectors trackSectors(const AudioLength &length);

struct Toc {
    QList<qint64> offsets{};  // the sector each track starts at, track 1 first
    qint64 leadOut = 0;     // the sector after the last track
};

// The table of contents of tracks of these lengths, in order; nothing
// when there are none or more than 99, a track has no sector, or the disc
// would hold more than a CD can.
std::optional<Toc> tocOf(const QList<qint64> &sectors);

// The MusicBrainz disc id: SHA-1 over the first and last track numbers in
// two hexadecimal digits each and the lead-out and the 99 track offsets in
// eight (0 for tracks the disc lacks), upper case; the 20 bytes then in
// base64 with "." "_" "-" for "+" "/" "=". 28 characters.
QString discId(const Toc &toc);

// The table as MusicBrainz's toc parameter takes it: first track, last
// track, lead-out and the offsets, joined by "+".
QString tocParameter(const Toc &toc);

// The disc of tracks whose files have these lengths: its table, its id, and
// whether every length was exact (else the id is of a disc that is close to
// the CD, and only a lookup by the table can find it). Nothing when a file
// has a problem or the lengths make no table.
struct Disc {
    Toc toc{};
    QString id{};
    bool exact = false;
};
std::optional<Disc> discOf(const QList<AudioLength> &tracks);
