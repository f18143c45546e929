#pragma once

#include "musicbrainz/ReleaseFill.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class ConsoleOutput;
class FileList;
class WebService;

// kalvo-cli's MusicBrainz commands on the rows, in their order as the CD's
// tracks 1…N. Files that cannot be measured, and failed lookups, are told
// on standard error.

// lookup: the disc id and the table of contents, then each release found
// ("id  title / artist / year / country / tracks / text"); with json only
// the releases, as a JSON array. False when a file could not be measured or
// the lookup failed.
bool printLookup(ConsoleOutput &console, WebService &web, const FileList &list, const QList<int> &rows, bool json);

// fill musicbrainz: what the release gives the rows (its medium that is the
// rows' disc); nothing when it cannot be had.
std::optional<ReleaseRows> fetchReleaseRows(ConsoleOutput &console, WebService &web, const FileList &list,
                                            const QList<int> &rows, const QString &releaseId);
