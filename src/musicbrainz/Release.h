#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A release as MusicBrainz describes it, in plain values: what a lookup
// shows of it and what fills the rows from it.

// One name of an artist credit and the phrase that joins it to the next
// ("山田太郎", " feat. ").
struct CreditName {
    QString name{};
    QString joinPhrase{};

    friend bool operator==(const CreditName &, const CreditName &) = default;
};
using ArtistCredit = QList<CreditName>;

// The credit as one text: each name followed by its join phrase.
QString creditText(const ArtistCredit &credit);

struct ReleaseTrack {
    int position = 0;  // 1, 2, … on its medium
    QString title{};
    ArtistCredit artist{};  // empty when the track is credited as the release
};

struct Medium {
    int position = 0;  // 1 for the first disc of a set
    QString format{};    // "CD", …
    int trackCount = 0;
    QStringList discIds{};  // the disc ids MusicBrainz knows of this medium
    QList<ReleaseTrack> tracks{};  // empty when the answer did not list them
};

// Whose text a release is in: Japanese (its language Japanese; without a
// language, a script only Japanese is written in, or without either, kana
// or kanji in its title), a transliteration or translation (a
// pseudo-release, or Japanese written in Latin letters), or another.
enum class ReleaseText { Japanese, Transliteration, Other };

struct Release {
    QString id{};  // the MusicBrainz id (a UUID)
    QString title{};
    ArtistCredit artist{};
    QString date{};     // "2001", "2001-03", "2001-03-21" or empty
    QString country{};  // "JP", …, or empty
    QString status{};   // "Official", "Pseudo-Release", …
    QString language{}; // ISO 639-3, "jpn", or empty
    QString script{};   // ISO 15924, "Jpan", "Latn", or empty
    QList<Medium> media{};

    ReleaseText text() const;
    // The year of the date: its first four characters when they are digits.
    QString year() const;
};

// The medium the disc is: the one MusicBrainz knows under the disc id, else
// the first of as many tracks as the rows, else the first; -1 when the
// release has none.
qsizetype mediumOf(const Release &release, const QString &discId, int rows);
