#include "fakeupdateserver.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <utility>

namespace
{
QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

FakeUpdateServer::FakeUpdateServer(bool useTls, QObject* parent) : QObject(parent), tls(useTls)
{
    if (tls) {
        // A self-signed certificate that nobody trusts: the program must refuse it.
        auto* sslServer = new QSslServer(this);
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(
            QSslCertificate(readFile(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-cert.pem")));
        config.setPrivateKey(
            QSslKey(readFile(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-key.pem"), QSsl::Rsa));
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
        sslServer->setSslConfiguration(config);
        server = sslServer;
    } else {
        server = new QTcpServer(this);
    }
    server->listen(QHostAddress::LocalHost, 0);
    connect(server, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (server->hasPendingConnections())
            serve(server->nextPendingConnection());
    });
}

FakeUpdateServer::~FakeUpdateServer() = default;

bool FakeUpdateServer::listening() const
{
    return server->isListening();
}

QString FakeUpdateServer::baseUrl() const
{
    return QString("%1://127.0.0.1:%2").arg(tls ? "https" : "http").arg(server->serverPort());
}

void FakeUpdateServer::serve(QTcpSocket* socket)
{
    auto* buffer = new QByteArray;
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, socket, [buffer] { delete buffer; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        buffer->append(socket->readAll());
        // Requests are GETs without a body: the header ends the request.
        if (buffer->size() > 65536) {
            socket->abort();
            return;
        }
        if (buffer->contains("\r\n\r\n")) {
            const QByteArray request = *buffer;
            buffer->clear();
            answer(socket, request);
        }
    });
}

void FakeUpdateServer::answer(QTcpSocket* socket, const QByteArray& request)
{
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = words.size() > 1 ? QString::fromUtf8(words.at(1)) : QString();
    requests << path;
    if (holdInstaller && installers.contains(path))
        held.append({socket, path});
    else
        send(socket, path);
}

void FakeUpdateServer::releaseInstaller()
{
    holdInstaller = false;
    for (const auto& [socket, path] : std::exchange(held, {})) {
        if (socket)
            send(socket, path);
    }
}

void FakeUpdateServer::send(QTcpSocket* socket, const QString& path)
{
    QByteArray status = "200 OK";
    QByteArray body;
    qint64 announced = -1;
    if (path == "/projects/Parkbook/Parkbook-Version.txt") {
        body = versionFile;
    } else if (installers.contains(path)) {
        body = installers.value(path);
        if (truncateInstaller) {
            announced = body.size() * 2 + 100;
        }
    } else {
        status = "404 Not Found";
        body = "not here\n";
    }
    if (announced < 0)
        announced = body.size();
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\n" +
                  "Content-Length: " + QByteArray::number(announced) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->flush();
    socket->disconnectFromHost();
}
