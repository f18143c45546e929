#pragma once

// An HTTP server in the test, on the loopback, that gives canned answers:
// no test reaches MusicBrainz.

#include "common/MusicBrainzAnswers.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

// An answer the server gives: a status and body, or none at all (hang).
struct Canned {
    int status = 200;
    QByteArray body{};
    bool hang = false;
};

// Answers one request per connection with the next canned answer (404 when
// none is left) and notes each request's first line, User-Agent and time,
// and whether a client went before the whole answer was sent.
class LocalServer : public QObject
{
public:
    explicit LocalServer(QList<Canned> answers) : answers_(std::move(answers))
    {
        server_.listen(QHostAddress::LocalHost);
        clock_.start();
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64 bytes) { unsent_[socket] -= bytes; });
                connect(socket, &QTcpSocket::stateChanged, this, [this, socket](QAbstractSocket::SocketState state) {
                    cutOff |= state == QAbstractSocket::UnconnectedState && unsent_.value(socket) > 0;
                });
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    QStringList paths;
    QList<QByteArray> userAgents;
    QList<qint64> arrivals;
    bool cutOff = false;

private:
    void read(QTcpSocket *socket)
    {
        QByteArray &request = requests_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> lines = request.split('\n');
        paths << QString::fromUtf8(lines.first().split(' ').value(1));
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith("user-agent:"))
                userAgents << line.mid(11).trimmed();
        }
        arrivals << clock_.elapsed();
        const Canned answer = answers_.isEmpty() ? Canned{404, kNotFoundAnswer} : answers_.takeFirst();
        if (answer.hang)
            return;
        unsent_[socket] = socket->write(QStringLiteral("HTTP/1.1 %1 Answer\r\nContent-Type: application/json\r\nContent-Length: %2\r\n"
                                     "Connection: close\r\n\r\n")
                          .arg(answer.status)
                          .arg(answer.body.size())
                          .toLatin1()
                      + answer.body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QList<Canned> answers_;
    QHash<QTcpSocket *, QByteArray> requests_;
    QHash<QTcpSocket *, qint64> unsent_;
    QElapsedTimer clock_;
};

Q_DECLARE_METATYPE(QList<Canned>)

// A LocalServer in a thread of its own, for a program the test runs and
// waits for. Its notes may be read once it is stopped.
class LocalServerThread
{
public:
    explicit LocalServerThread(QList<Canned> answers);
    ~LocalServerThread();
    QString url() const { return url_; }
    // Ends the thread; gives the paths asked, in order.
    QStringList stop();

private:
    struct Running;
    std::unique_ptr<Running> running_;
    QString url_;
};
