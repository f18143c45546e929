#pragma once

#include "musicbrainz/ReleaseJson.h"
#include "musicbrainz/WebService.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

class QEventLoop;

// Asks MusicBrainz over HTTP(S) with Qt Network, keeping the service's
// rules: a User-Agent naming Kalvo, its version and a contact; at most one
// request a second from the whole program; a 503 asked once more after a
// pause; no answer in time (15 s for the whole of it) or one larger than
// allowed is cut off and a failure. Each get waits for its answer in an
// event loop of its own, so the window stays drawn and cancel() (from a
// button) can end it; once cancelled, every later get is too.

struct WebTimings {
    int minimumIntervalMs = 1000;  // between the starts of two requests
    int retryPauseMs = 2000;       // before a 503 is asked once more
    int timeoutMs = 15000;         // for a whole answer
};

// The server: KALVO_MUSICBRAINZ_SERVER when it is set (a mirror, or a
// test's server, such as http://127.0.0.1:8080), else
// https://musicbrainz.org. Invalid when the variable is set but names no
// http or https server.
QUrl musicBrainzServer();

// "Kalvo/<version> ( <contact> )".
QByteArray kalvoUserAgent();

class QtWebService : public QObject, public WebService
{
    Q_OBJECT

public:
    explicit QtWebService(const QUrl &server = musicBrainzServer(), const WebTimings &timings = {},
                          qint64 maxBytes = kMaxAnswerBytes, QObject *parent = nullptr);

    WebAnswer get(const QString &pathAndQuery) override;

public slots:
    void cancel();

private:
    bool pause(int milliseconds);
    WebAnswer fetch(const QUrl &url);

    QNetworkAccessManager manager_;
    QUrl server_;
    WebTimings timings_;
    qint64 maxBytes_;
    QEventLoop *waiting_ = nullptr;
    bool cancelled_ = false;
};
