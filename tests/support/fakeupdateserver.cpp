#include "fakeupdateserver.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <utility>

FakeUpdateServer::FakeUpdateServer(bool useTls, QObject* parent) : QObject(parent), tls(useTls)
{
    if (tls) {
        auto* sslServer = new QSslServer(this);
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        QFile cert(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-cert.pem");
        QFile key(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-key.pem");
        if (cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly)) {
            config.setLocalCertificate(QSslCertificate(cert.readAll()));
            config.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
        }
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
        sslServer->setSslConfiguration(config);
        server = sslServer;
    } else {
        server = new QTcpServer(this);
    }
    server->listen(QHostAddress::LocalHost, 0);
    connect(server, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                // Requests are GETs without a body: the header ends the request.
                QByteArray request = socket->property("request").toByteArray() + socket->readAll();
                socket->setProperty("request", request.size() > 65536 ? QByteArray() : request);
                if (!request.contains("\r\n\r\n"))
                    return;
                socket->setProperty("request", QByteArray());
                const QString path = QString::fromUtf8(request.split(' ').value(1));
                requests << path;
                if (holdInstaller && installers.contains(path))
                    held.append({socket, path});
                else
                    send(socket, path);
            });
        }
    });
}

bool FakeUpdateServer::listening() const
{
    return server->isListening();
}

QString FakeUpdateServer::baseUrl() const
{
    return QString("%1://127.0.0.1:%2").arg(tls ? "https" : "http").arg(server->serverPort());
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
    QByteArray body = installers.value(path);
    qint64 announced = truncateInstaller ? body.size() * 2 + 100 : body.size();
    if (path == "/projects/Parkbook/Parkbook-Version.txt") {
        body = versionFile;
        announced = body.size();
    } else if (!installers.contains(path)) {
        status = "404 Not Found";
        body = "not here\n";
        announced = body.size();
    }
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\n" +
                  "Content-Length: " + QByteArray::number(announced) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->flush();
    socket->disconnectFromHost();
}
