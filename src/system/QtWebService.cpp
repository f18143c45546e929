#include "system/QtWebService.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kServiceUnavailable = 503;

// When the program last started a request; invalid before the first.
QElapsedTimer &lastRequest()
{
    static QElapsedTimer timer;
    return timer;
}

WebFailure failureOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return WebFailure::Refused;
    case QNetworkReply::HostNotFoundError:
        return WebFailure::HostNotFound;
    case QNetworkReply::TimeoutError:
        return WebFailure::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return WebFailure::Insecure;
    default:
        return WebFailure::Network;
    }
}

// True when the reply's error is the server's answer (a 4xx or 5xx status,
// which Qt gives as an error of content or of the server, or for 400 as an
// invalid operation), not a failure to get one.
bool isHttpStatusError(QNetworkReply::NetworkError error)
{
    return error == QNetworkReply::NoError || (error >= QNetworkReply::ContentAccessDenied && error < 300)
           || (error >= QNetworkReply::InternalServerError && error < 500)
           || error == QNetworkReply::ProtocolInvalidOperationError;
}

}  // namespace

QUrl musicBrainzServer()
{
    const QByteArray named = qgetenv("KALVO_MUSICBRAINZ_SERVER");
    if (named.isEmpty())
        return QUrl(QStringLiteral("https://musicbrainz.org"));
    const QUrl url(QString::fromUtf8(named), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return {};
    return url;
}

QByteArray kalvoUserAgent()
{
    return QByteArray(KALVO_USER_AGENT);
}

QtWebService::QtWebService(const QUrl &server, const WebTimings &timings, qint64 maxBytes, QObject *parent)
    : QObject(parent), server_(server), timings_(timings), maxBytes_(maxBytes)
{
}

void QtWebService::cancel()
{
    cancelled_ = true;
    if (waiting_)
        waiting_->quit();
}

bool QtWebService::pause(int milliseconds)
{
    if (milliseconds > 0 && !cancelled_) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    return !cancelled_;
}

WebAnswer QtWebService::get(const QString &pathAndQuery)
{
    if (!server_.isValid())
        return {.failure = WebFailure::HostNotFound};
    const QUrl url(server_.toString(QUrl::StripTrailingSlash) + pathAndQuery);
    for (int attempt = 0;; ++attempt) {
        QElapsedTimer &last = lastRequest();
        const qint64 since = last.isValid() ? last.elapsed() : timings_.minimumIntervalMs;
        if (!pause(static_cast<int>(qMax<qint64>(0, timings_.minimumIntervalMs - since))))
            return {.failure = WebFailure::Cancelled};
        last.start();
        const WebAnswer answer = fetch(url);
        if (attempt > 0 || answer.failure != WebFailure::None || answer.status != kServiceUnavailable)
            return answer;
        if (!pause(timings_.retryPauseMs))
            return {.failure = WebFailure::Cancelled};
    }
}

WebAnswer QtWebService::fetch(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, kalvoUserAgent());
    request.setRawHeader("Accept", "application/json");
    const std::unique_ptr<QNetworkReply> reply(manager_.get(request));
    QByteArray body;
    bool timedOut = false;
    bool tooLarge = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    // Cut off as soon as the bytes come are more than allowed, so no
    // answer, however large, is held.
    const auto take = [&] {
        if (reply->isOpen())
            body += reply->readAll();
        if (body.size() > maxBytes_ && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timings_.timeoutMs);
    if (!reply->isFinished()) {
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    if (!reply->isFinished())
        reply->abort();
    if (cancelled_)
        return {.failure = WebFailure::Cancelled};
    if (timedOut)
        return {.failure = WebFailure::Timeout};
    take();
    if (tooLarge)
        return {.failure = WebFailure::TooLarge};
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && isHttpStatusError(reply->error()))
        return {.failure = WebFailure::None, .status = status.toInt(), .body = body};
    return {.failure = failureOf(reply->error()), .code = static_cast<int>(reply->error())};
}
