#include "fakeupdateserver.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>

static QTcpServer* listener(bool tls)
{
    if (!tls)
        return new QTcpServer;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(
        QSslCertificate::fromPath(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-cert.pem").value(0));
    QFile key(PARKBOOK_TESTSUPPORT_DIR "/selfsigned-key.pem");
    if (key.open(QIODevice::ReadOnly))
        config.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
    config.setPeerVerifyMode(QSslSocket::VerifyNone);
    auto* server = new QSslServer;
    server->setSslConfiguration(config);
    return server;
}

FakeUpdateServer::FakeUpdateServer(bool useTls) : FakeHttpServer(listener(useTls)), tls(useTls) {}

QByteArray FakeUpdateServer::respond(const QString& path, bool* hold)
{
    const bool version = path == "/projects/Parkbook/Parkbook-Version.txt";
    const bool known = version || installers.contains(path);
    *hold = holdInstaller && installers.contains(path);
    const QByteArray body = version ? versionFile : installers.value(path, "not here\n");
    const qint64 announced =
        truncateInstaller && known && !version ? body.size() * 2 + 100 : body.size();
    return response(known ? "200 OK" : "404 Not Found", "application/octet-stream", body,
                    announced);
}
