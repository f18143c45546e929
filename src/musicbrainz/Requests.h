#pragma once

#include <QString>

// The requests Kalvo makes of MusicBrainz's web service (version 2, JSON),
// as the path and query that follow the server's address.

// The releases of the disc with this id, with their tracks and artist
// credits; MusicBrainz answers 404 when it knows no such disc.
QString discIdRequest(const QString &discId);

// The same, and where MusicBrainz knows no disc of that id, the releases
// whose CD has tracks of about the lengths of the table (a toc parameter,
// tocParameter).
QString tocRequest(const QString &discId, const QString &toc);

// The releases whose title is album, credited to artist (when not empty),
// with a medium of this many tracks. Their tracks are not in the answer.
QString searchRequest(const QString &album, const QString &artist, int tracks);

// One release with its tracks and artist credits.
QString releaseRequest(const QString &releaseId);

// True for a MusicBrainz id: a UUID in lower-case hexadecimal
// (8-4-4-4-12), the only text a release request takes.
bool isMusicBrainzId(const QString &text);
