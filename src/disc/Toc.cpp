#include "disc/Toc.h"

#include <QCryptographicHash>

TrackSectors trackSectors(const AudioLength &length)
{
    if (length.sampleRate <= 0)
        return {};
    // Sectors are 1/75 s whatever the file's sample rate; halves round up.
    const qint64 scaled = length.samples * 75;
    const qint64 sectors = (scaled + length.sampleRate / 2) / length.sampleRate;
    return {.sectors = sectors, .exact = length.exact && scaled % length.sampleRate == 0};
}

std::optional<Toc> tocOf(const QList<qint64> &sectors)
{
    if (sectors.isEmpty() || sectors.size() > kMaxCdTracks)
        return std::nullopt;
    Toc toc;
    qint64 at = kFirstTrackSector;
    for (const qint64 length : sectors) {
        if (length <= 0 || length > kMaxDiscSectors - at)
            return std::nullopt;
        toc.offsets << at;
        at += length;
    }
    toc.leadOut = at;
    return toc;
}

QString discId(const Toc &toc)
{
    const auto hex = [](qint64 value, int digits) {
        return QString::number(value, 16).toUpper().rightJustified(digits, u'0').toLatin1();
    };
    QByteArray text = hex(1, 2) + hex(toc.offsets.size(), 2) + hex(toc.leadOut, 8);
    for (qsizetype track = 0; track < kMaxCdTracks; ++track)
        text += hex(track < toc.offsets.size() ? toc.offsets[track] : 0, 8);
    QByteArray id = QCryptographicHash::hash(text, QCryptographicHash::Sha1).toBase64();
    id.replace('+', '.').replace('/', '_').replace('=', '-');
    return QString::fromLatin1(id);
}

QString tocParameter(const Toc &toc)
{
    QStringList parts{QStringLiteral("1"), QString::number(toc.offsets.size()), QString::number(toc.leadOut)};
    for (const qint64 offset : toc.offsets)
        parts << QString::number(offset);
    return parts.join(u'+');
}

std::optional<Disc> discOf(const QList<AudioLength> &tracks)
{
    QList<qint64> sectors;
    bool exact = true;
    for (const AudioLength &length : tracks) {
        if (length.problem != AudioProblem::None)
            return std::nullopt;
        const TrackSectors track = trackSectors(length);
        sectors << track.sectors;
        exact = exact && track.exact;
    }
    const std::optional<Toc> toc = tocOf(sectors);
    if (!toc)
        return std::nullopt;
    return Disc{.toc = *toc, .id = discId(*toc), .exact = exact};
}
