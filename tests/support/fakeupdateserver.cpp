#include "fakeupdateserver.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <utility>

FakeUpdateServer::FakeUpdateServer(bool useTls) : tls(useTls)
{
    if (tls) {
        auto* sslServer = new QSslServer(this);
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(
            QSslCertificate::fromPath(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-cert.pem").value(0));
        QFile key(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-key.pem");
        if (key.open(QIODevice::ReadOnly))
            config.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
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
                const QByteArray request =
                    socket->property("request").toByteArray() + socket->readAll();
                const bool whole = request.contains("\r\n\r\n");
                socket->setProperty("request", whole || request.size() > 65536 ? "" : request);
                if (!whole)
                    return;
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
    const bool version = path == "/projects/Parkbook/Parkbook-Version.txt";
    const bool known = version || installers.contains(path);
    const QByteArray body = version ? versionFile : installers.value(path, "not here\n");
    const qint64 announced =
        truncateInstaller && known && !version ? body.size() * 2 + 100 : body.size();
    socket->write("HTTP/1.1 " + QByteArray(known ? "200 OK" : "404 Not Found") +
                  "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                  QByteArray::number(announced) + "\r\nConnection: close\r\n\r\n" + body);
    socket->flush();
    socket->disconnectFromHost();
}
