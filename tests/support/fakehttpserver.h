#pragma once

#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <utility>

// The HTTP side the fake services share, on 127.0.0.1: each GET is read up to
// the end of its header and answered by respond() with a whole response, after
// which the connection closes. An empty response closes it without an answer,
// as a failed network request; a held one waits for releaseHeld(), which sends
// the held responses in the order they were asked (to clients still there).
class FakeHttpServer : public QObject
{
public:
    QStringList requests; // the target ("/path?query") of every request, as sent

protected:
    // Takes `listener` (a QTcpServer, or a QSslServer for TLS) and listens.
    explicit FakeHttpServer(QTcpServer* listener) : server(listener)
    {
        server->setParent(this);
        connect(server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* socket = server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            }
        });
        server->listen(QHostAddress::LocalHost, 0);
    }

    // The whole response to `target` (empty for none); `hold` set keeps it
    // back until releaseHeld().
    virtual QByteArray respond(const QString& target, bool* hold) = 0;

    static QByteArray response(const QByteArray& status, const QByteArray& type,
                               const QByteArray& body, qint64 announced)
    {
        return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
               "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(announced) +
               "\r\n\r\n" + body;
    }

    void releaseHeld()
    {
        for (const auto& [socket, reply] : std::exchange(held, {}))
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                send(socket, reply);
    }

    QTcpServer* const server;

private:
    void read(QTcpSocket* socket)
    {
        const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        const bool whole = request.contains("\r\n\r\n"); // a GET has no body
        socket->setProperty("request", whole || request.size() > 65536 ? "" : request);
        if (!whole)
            return;
        requests << QString::fromUtf8(request.split(' ').value(1)); // "GET /target HTTP/1.1"
        bool hold = false;
        const QByteArray reply = respond(requests.last(), &hold);
        if (hold)
            held.append({socket, reply});
        else if (reply.isEmpty())
            socket->abort();
        else
            send(socket, reply);
    }
    static void send(QTcpSocket* socket, const QByteArray& reply)
    {
        socket->write(reply);
        socket->flush();
        socket->disconnectFromHost();
    }

    QList<QPair<QPointer<QTcpSocket>, QByteArray>> held;
};
