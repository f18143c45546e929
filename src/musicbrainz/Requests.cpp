#include "musicbrainz/Requests.h"

#include <QUrl>

namespace {

const QString kIncludes = QStringLiteral("inc=recordings+artist-credits");

// A phrase for the search: in quotes, its quotes and backslashes escaped.
QString phrase(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

}  // namespace

QString discIdRequest(const QString &discId)
{
    return QStringLiteral("/ws/2/discid/%1?%2&cdstubs=no&fmt=json").arg(discId, kIncludes);
}

QString tocRequest(const QString &discId, const QString &toc)
{
    return QStringLiteral("/ws/2/discid/%1?toc=%2&%3&cdstubs=no&fmt=json").arg(discId, toc, kIncludes);
}

QString searchRequest(const QString &album, const QString &artist, int tracks)
{
    QString query = QStringLiteral("release:") + phrase(album);
    if (!artist.isEmpty())
        query += QStringLiteral(" AND artist:") + phrase(artist);
    query += QStringLiteral(" AND tracksmedium:%1").arg(tracks);
    return QStringLiteral("/ws/2/release/?query=%1&fmt=json").arg(QString::fromLatin1(QUrl::toPercentEncoding(query)));
}

QString releaseRequest(const QString &releaseId)
{
    return QStringLiteral("/ws/2/release/%1?%2&fmt=json").arg(releaseId, kIncludes);
}

bool isMusicBrainzId(const QString &text)
{
    if (text.size() != 36)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != u'-' : !((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}
