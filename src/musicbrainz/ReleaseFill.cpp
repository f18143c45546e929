#include "musicbrainz/ReleaseFill.h"

ReleaseRows releaseRows(const Release &release, qsizetype medium, int rows)
{
    ReleaseRows fill;
    if (medium < 0 || medium >= release.media.size() || rows <= 0)
        return fill;
    const QList<ReleaseTrack> &tracks = release.media[medium].tracks;
    const QString year = release.year();
    for (int row = 0; row < rows && row < tracks.size(); ++row) {
        const ReleaseTrack &track = tracks[row];
        const int number = track.position > 0 ? track.position : row + 1;
        fill.rows << TagUpdate{
            .Title = track.title,
            .Artist = creditText(track.artist.isEmpty() ? release.artist : track.artist),
            .Album = release.title,
            .Year = year.isEmpty() ? std::nullopt : std::optional<QString>(year),
            .TrackNumber = number <= 255 ? std::optional<quint8>(static_cast<quint8>(number)) : std::nullopt,
        };
    }
    fill.tracksLeft = static_cast<int>(qMax<qsizetype>(0, tracks.size() - rows));
    return fill;
}
