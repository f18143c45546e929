#pragma once

// Answers in the shape MusicBrainz's web service gives them (JSON, version
// 2, inc=recordings+artist-credits), cut to what shows the shape.

#include "musicbrainz/WebService.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <utility>

inline constexpr char kDiscId[] = "49HHV7Eb8UKF3aQiNmu1GR8vKTY-";
inline constexpr char kJapaneseId[] = "b1a9c0e9-d987-4042-ae91-78d6a3267d69";
inline constexpr char kPseudoId[] = "0f3a1d2e-5b6c-4d7e-8f90-a1b2c3d4e5f6";

// A disc known to MusicBrainz with two releases: its transliteration, as a
// pseudo-release, first, then the Japanese release, whose second track has
// an artist credit of its own.
inline const QByteArray kDiscAnswer = R"({
 "id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", "sectors": 95462, "offset-count": 3, "offsets": [150, 15363, 32314],
 "releases": [
  {"id": "0f3a1d2e-5b6c-4d7e-8f90-a1b2c3d4e5f6", "title": "Yoake no Uta", "status": "Pseudo-Release",
   "text-representation": {"language": "jpn", "script": "Latn"}, "date": "2001-03-21", "country": "XW",
   "artist-credit": [{"name": "Yamada Taro", "joinphrase": "", "artist": {"id": "a1", "name": "山田太郎", "sort-name": "Yamada, Taro"}}],
   "media": [{"position": 1, "format": "CD", "track-count": 3, "discs": [{"id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", "sectors": 95462}],
    "tracks": [
     {"id": "t1", "position": 1, "number": "1", "title": "Haru no Kaze", "length": 203000, "recording": {"id": "r1", "title": "春の風"}},
     {"id": "t2", "position": 2, "number": "2", "title": "Natsu no Umi", "length": 226000, "recording": {"id": "r2", "title": "夏の海"}},
     {"id": "t3", "position": 3, "number": "3", "title": "Aki no Sora", "length": 190000, "recording": {"id": "r3", "title": "秋の空"}}]}]},
  {"id": "b1a9c0e9-d987-4042-ae91-78d6a3267d69", "title": "夜明けの歌", "status": "Official", "quality": "normal",
   "text-representation": {"language": "jpn", "script": "Jpan"}, "date": "2001-03-21", "country": "JP", "barcode": "4988000000000",
   "release-events": [{"date": "2001-03-21", "area": {"id": "x", "name": "Japan", "iso-3166-1-codes": ["JP"]}}],
   "artist-credit": [{"name": "山田太郎", "joinphrase": " & ", "artist": {"id": "a1", "name": "山田太郎"}},
                     {"name": "花子", "joinphrase": "", "artist": {"id": "a2", "name": "鈴木花子"}}],
   "media": [{"position": 1, "format": "CD", "track-count": 3, "discs": [{"id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", "sectors": 95462}],
    "tracks": [
     {"id": "u1", "position": 1, "number": "1", "title": "春の風", "length": 203000, "recording": {"id": "r1", "title": "春の風"}},
     {"id": "u2", "position": 2, "number": "2", "title": "夏の海", "length": 226000,
      "artist-credit": [{"name": "山田太郎", "joinphrase": " feat. ", "artist": {"id": "a1", "name": "山田太郎"}},
                        {"name": "KOJI", "joinphrase": "", "artist": {"id": "a3", "name": "Koji"}}],
      "recording": {"id": "r2", "title": "夏の海"}},
     {"id": "u3", "position": 3, "number": "3", "title": "秋の空", "length": 190000, "recording": {"id": "r3", "title": "秋の空"}}]}]}
 ]})";

// A release found by a table of contents: two discs, the second of which
// has the rows' track count, in English.
inline const QByteArray kTocAnswer = R"({"release-count": 1, "release-offset": 0, "releases": [
  {"id": "c2b3d4e5-f6a7-4b8c-9d0e-1f2a3b4c5d6e", "title": "Best of Both", "status": "Official",
   "text-representation": {"language": "eng", "script": "Latn"}, "date": "1999", "country": "GB",
   "artist-credit": [{"name": "The Band", "joinphrase": ""}],
   "media": [{"position": 1, "format": "CD", "track-count": 2, "tracks": [
               {"position": 1, "title": "One"}, {"position": 2, "title": "Two"}]},
             {"position": 2, "format": "CD", "track-count": 3, "tracks": [
               {"position": 1, "title": "Three"}, {"position": 2, "title": "Four"}, {"position": 3, "title": "Five"}]}]}]})";

// A search's answer: releases with the track counts of their media, no tracks.
inline const QByteArray kSearchAnswer = R"({"created": "2026-01-01T00:00:00.000Z", "count": 1, "offset": 0, "releases": [
  {"id": "d3c4b5a6-0718-4293-a4b5-c6d7e8f90a1b", "score": 100, "title": "夜明けの歌", "status": "Official",
   "text-representation": {"language": "jpn", "script": "Jpan"}, "artist-credit": [{"name": "山田太郎"}],
   "date": "2001", "country": "JP", "track-count": 3, "media": [{"format": "CD", "disc-count": 1, "track-count": 3}]}]})";

inline const QByteArray kNotFoundAnswer = R"({"error": "Not Found", "help": "For usage, please see: https://musicbrainz.org/development/mmd"})";

// A web service that gives the answer of the first path it was given that
// the request starts with, else MusicBrainz's 404, and notes the requests.
class CannedService : public WebService
{
public:
    QList<std::pair<QString, WebAnswer>> answers;
    QStringList asked;

    WebAnswer get(const QString &pathAndQuery) override
    {
        asked << pathAndQuery;
        for (const auto &[start, answer] : answers) {
            if (pathAndQuery.startsWith(start))
                return answer;
        }
        return {.failure = WebFailure::None, .status = 404, .body = kNotFoundAnswer};
    }
};
