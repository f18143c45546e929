#include "musicbrainz/DiscLookup.h"

#include "musicbrainz/Requests.h"

#include <algorithm>

namespace {

constexpr int kHttpOk = 200;
constexpr int kHttpNotFound = 404;

// The releases of one request; found is false for a 404.
struct StepAnswer {
    LookupError error{};
    bool found = false;
    QList<Release> releases{};
};

StepAnswer ask(WebService &web, const QString &request)
{
    const WebAnswer answer = web.get(request);
    if (answer.failure != WebFailure::None)
        return {.error = {.problem = LookupProblem::Web, .web = answer.failure, .code = answer.code}};
    if (answer.status == kHttpNotFound)
        return {};
    if (answer.status != kHttpOk)
        return {.error = {.problem = LookupProblem::Status, .status = answer.status}};
    ReleasesAnswer releases = readReleases(answer.body);
    if (releases.problem != AnswerProblem::None)
        return {.error = {.problem = LookupProblem::Answer, .answer = releases.problem}};
    return {.error = {}, .found = true, .releases = std::move(releases.releases)};
}

int textOrder(const Release &release)
{
    switch (release.text()) {
    case ReleaseText::Japanese:
        return 0;
    case ReleaseText::Other:
        return 1;
    case ReleaseText::Transliteration:
        return 2;
    }
    return 1;
}

LookupResult found(LookupStep step, const QList<Release> &releases, const LookupQuery &query)
{
    LookupResult result{.error = {}, .step = step, .releases = {}};
    const QString discId = query.disc ? query.disc->id : QString();
    for (const Release &release : releases) {
        const qsizetype medium = mediumOf(release, discId, query.rows);
        const bool differs = medium < 0 || release.media[medium].trackCount != query.rows;
        result.releases << FoundRelease{.release = release, .medium = medium, .trackCountDiffers = differs};
    }
    std::stable_sort(result.releases.begin(), result.releases.end(), [](const FoundRelease &a, const FoundRelease &b) {
        return textOrder(a.release) < textOrder(b.release);
    });
    return result;
}

}  // namespace

LookupResult lookUpDisc(WebService &web, const LookupQuery &query)
{
    struct Step {
        LookupStep step;
        QString request;
    };
    QList<Step> steps;
    if (query.disc && query.disc->exact)
        steps << Step{LookupStep::DiscId, discIdRequest(query.disc->id)};
    if (query.disc)
        steps << Step{LookupStep::Toc, tocRequest(query.disc->id, tocParameter(query.disc->toc))};
    if (!query.album.isEmpty())
        steps << Step{LookupStep::Search, searchRequest(query.album, query.artist, query.rows)};
    for (const Step &step : steps) {
        const StepAnswer answer = ask(web, step.request);
        if (!answer.error.ok())
            return {.error = answer.error, .step = step.step, .releases = {}};
        if (!answer.releases.isEmpty())
            return found(step.step, answer.releases, query);
    }
    return {.error = {}, .step = steps.isEmpty() ? LookupStep::DiscId : steps.last().step, .releases = {}};
}

ReleaseLookup lookUpRelease(WebService &web, const QString &releaseId)
{
    if (!isMusicBrainzId(releaseId))
        return {.error = {.problem = LookupProblem::NotFound}, .release = {}};
    StepAnswer answer = ask(web, releaseRequest(releaseId));
    if (!answer.error.ok())
        return {.error = answer.error, .release = {}};
    if (!answer.found || answer.releases.size() != 1)
        return {.error = {.problem = LookupProblem::NotFound}, .release = {}};
    const Release &release = answer.releases.first();
    const bool hasTracks = std::any_of(release.media.begin(), release.media.end(),
                                       [](const Medium &medium) { return !medium.tracks.isEmpty(); });
    if (!hasTracks)
        return {.error = {.problem = LookupProblem::NoTracks}, .release = release};
    return {.error = {}, .release = release};
}

namespace {

QString webReason(const LookupError &error)
{
    switch (error.web) {
    case WebFailure::None:
    case WebFailure::Cancelled:
        break;
    case WebFailure::Refused:
        return QStringLiteral("サーバーが接続を断りました。");
    case WebFailure::HostNotFound:
        return QStringLiteral("サーバーが見つかりません。");
    case WebFailure::Timeout:
        return QStringLiteral("15秒待っても答えがありませんでした。");
    case WebFailure::Insecure:
        return QStringLiteral("安全な接続ができませんでした。");
    case WebFailure::Network:
        return QStringLiteral("通信できませんでした（エラー%1）。").arg(error.code);
    case WebFailure::TooLarge:
        return QStringLiteral("答えが大きすぎます。");
    }
    return {};
}

QString answerReason(AnswerProblem problem)
{
    switch (problem) {
    case AnswerProblem::None:
        break;
    case AnswerProblem::TooLarge:
        return QStringLiteral("答えが大きすぎます。");
    case AnswerProblem::TooDeep:
        return QStringLiteral("答えの入れ子が深すぎます。");
    case AnswerProblem::NotJson:
        return QStringLiteral("答えがJSONではありません。");
    case AnswerProblem::NotAnswer:
        return QStringLiteral("答えにリリースがありません。");
    }
    return {};
}

}  // namespace

QString lookupMessage(const LookupError &error)
{
    QString reason;
    switch (error.problem) {
    case LookupProblem::None:
        return {};
    case LookupProblem::Web:
        reason = webReason(error);
        break;
    case LookupProblem::Status:
        reason = QStringLiteral("サーバーがエラー%1を返しました。").arg(error.status);
        break;
    case LookupProblem::Answer:
        reason = answerReason(error.answer);
        break;
    case LookupProblem::NotFound:
        reason = QStringLiteral("そのリリースはありません。");
        break;
    case LookupProblem::NoTracks:
        reason = QStringLiteral("リリースに曲がありません。");
        break;
    }
    if (reason.isEmpty())
        return {};
    return QStringLiteral("MusicBrainzに接続できませんでした。\n") + reason;
}
