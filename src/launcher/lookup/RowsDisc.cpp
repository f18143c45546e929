#include "launcher/lookup/RowsDisc.h"

#include "files/NativePath.h"
#include "launcher/list/FileList.h"
#include "tagfiles/AudioFile.h"

RowsDisc discOfRows(const FileList &list, const QList<int> &rows)
{
    RowsDisc found;
    QList<AudioLength> lengths;
    for (const int row : rows) {
        const FileAudioLength length = readAudioLength(list.path(row));
        if (length.audio.problem != AudioProblem::None) {
            found.unmeasured << shownPath(list.reportedName(row)) + QStringLiteral(": ")
                                    + QString::fromUtf16(audioProblemReason(length.audio.problem));
        }
        found.exact = found.exact && length.audio.exact;
        lengths << length.audio;
    }
    if (found.unmeasured.isEmpty())
        found.disc = discOf(lengths);
    return found;
}

LookupQuery lookupQuery(const FileList &list, const QList<int> &rows, const RowsDisc &disc)
{
    LookupQuery query{.disc = disc.disc, .rows = static_cast<int>(rows.size())};
    for (const int row : rows) {
        const TagRecord fields = list.fields(row);
        if (query.album.isEmpty())
            query.album = fields.Album;
        if (query.artist.isEmpty())
            query.artist = fields.Artist;
    }
    return query;
}

QString releaseLine(const FoundRelease &found, int rows)
{
    const Release &release = found.release;
    QStringList parts{release.title, creditText(release.artist)};
    parts << (release.year().isEmpty() ? QStringLiteral("----") : release.year());
    parts << (release.country.isEmpty() ? QStringLiteral("--") : release.country);
    const int tracks = found.medium >= 0 ? release.media[found.medium].trackCount : 0;
    parts << QStringLiteral("%1曲").arg(tracks);
    switch (release.text()) {
    case ReleaseText::Japanese: parts << QStringLiteral("日本語"); break;
    case ReleaseText::Transliteration: parts << QStringLiteral("翻字・翻訳"); break;
    case ReleaseText::Other: break;
    }
    QString line = parts.join(QStringLiteral(" / "));
    if (found.trackCountDiffers)
        line += QStringLiteral("  （曲数がファイルの%1曲と違う）").arg(rows);
    return line;
}

QString lookupHeading(const LookupResult &result, const RowsDisc &disc)
{
    QStringList lines;
    switch (result.step) {
    case LookupStep::DiscId:
        lines << QStringLiteral("ディスクID %1 のリリース:").arg(disc.disc ? disc.disc->id : QString());
        break;
    case LookupStep::Toc:
        lines << QStringLiteral("曲の長さが近いCDのリリース:");
        break;
    case LookupStep::Search:
        lines << QStringLiteral("アルバム名で見つかったリリース:");
        break;
    }
    if (!disc.exact && disc.unmeasured.isEmpty())
        lines << QStringLiteral("（LAMEの情報がないファイルがあり、曲の長さは推定です）");
    if (!disc.unmeasured.isEmpty())
        lines << QStringLiteral("次のファイルは長さを測れないため、CDの検索に使いませんでした。") << disc.unmeasured;
    return lines.join(u'\n');
}
