#pragma once

#include <QByteArray>
#include <QString>

// The one thing the lookup asks of the network: a GET of a path on the
// MusicBrainz server, waited for. The Qt binding (QtWebService) keeps the
// service's rules (its User-Agent, a request a second, a 503 tried once
// more, a timeout, a bounded answer); tests give canned answers.

enum class WebFailure {
    None,          // an HTTP answer came: its status and body
    Refused,       // the server refused the connection
    HostNotFound,  // the server's name is unknown
    Timeout,       // no whole answer in time
    Insecure,      // the secure connection could not be made
    Network,       // any other failure to connect or read; code says which
    TooLarge,      // the answer was larger than allowed, and cut off
    Cancelled,     // the user cancelled
};

struct WebAnswer {
    WebFailure failure = WebFailure::None;
    int status = 0;  // the HTTP status, when failure is None
    QByteArray body{};
    int code = 0;  // the binding's own error number, for Network
};

class WebService
{
public:
    virtual ~WebService() = default;
    virtual WebAnswer get(const QString &pathAndQuery) = 0;
};
