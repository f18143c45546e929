#include "musicbrainz/ReleaseJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

// The deepest nesting of arrays and objects in the text, strings skipped;
// counting stops past limit.
int nestingDepth(QByteArrayView json, int limit)
{
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (qsizetype i = 0; i < json.size() && deepest <= limit; ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = qMax(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

ArtistCredit readCredit(const QJsonValue &value)
{
    ArtistCredit credit;
    for (const QJsonValue &entry : value.toArray()) {
        const QJsonObject name = entry.toObject();
        QString text = name.value(u"name").toString();
        if (text.isEmpty())
            text = name.value(u"artist").toObject().value(u"name").toString();
        credit << CreditName{.name = text, .joinPhrase = name.value(u"joinphrase").toString()};
    }
    return credit;
}

ReleaseTrack readTrack(const QJsonObject &track)
{
    QString title = track.value(u"title").toString();
    if (title.isEmpty())
        title = track.value(u"recording").toObject().value(u"title").toString();
    ArtistCredit artist = readCredit(track.value(u"artist-credit"));
    if (artist.isEmpty())
        artist = readCredit(track.value(u"recording").toObject().value(u"artist-credit"));
    return {.position = track.value(u"position").toInt(), .title = title, .artist = artist};
}

Medium readMedium(const QJsonObject &object)
{
    Medium medium{.position = object.value(u"position").toInt(),
                  .format = object.value(u"format").toString(),
                  .trackCount = object.value(u"track-count").toInt(),
                  .discIds = {},
                  .tracks = {}};
    for (const QJsonValue &disc : object.value(u"discs").toArray())
        medium.discIds << disc.toObject().value(u"id").toString();
    for (const QJsonValue &track : object.value(u"tracks").toArray())
        medium.tracks << readTrack(track.toObject());
    if (medium.trackCount == 0)
        medium.trackCount = static_cast<int>(medium.tracks.size());
    return medium;
}

Release readRelease(const QJsonObject &object)
{
    const QJsonObject text = object.value(u"text-representation").toObject();
    Release release{.id = object.value(u"id").toString(),
                    .title = object.value(u"title").toString(),
                    .artist = readCredit(object.value(u"artist-credit")),
                    .date = object.value(u"date").toString(),
                    .country = object.value(u"country").toString(),
                    .status = object.value(u"status").toString(),
                    .language = text.value(u"language").toString(),
                    .script = text.value(u"script").toString(),
                    .media = {}};
    for (const QJsonValue &medium : object.value(u"media").toArray())
        release.media << readMedium(medium.toObject());
    return release;
}

}  // namespace

ReleasesAnswer readReleases(QByteArrayView json)
{
    if (json.size() > kMaxAnswerBytes)
        return {.problem = AnswerProblem::TooLarge, .releases = {}};
    if (nestingDepth(json, kMaxAnswerDepth) > kMaxAnswerDepth)
        return {.problem = AnswerProblem::TooDeep, .releases = {}};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return {.problem = AnswerProblem::NotJson, .releases = {}};
    const QJsonObject root = document.object();
    ReleasesAnswer answer;
    if (root.value(u"releases").isArray()) {
        for (const QJsonValue &release : root.value(u"releases").toArray()) {
            if (release.isObject())
                answer.releases << readRelease(release.toObject());
        }
    } else if (root.value(u"id").isString() && root.contains(u"title")) {
        answer.releases << readRelease(root);
    } else {
        answer.problem = AnswerProblem::NotAnswer;
    }
    return answer;
}
