#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A tiny HTTP(S) server on 127.0.0.1 that serves the version file and the
// installer of an update server and records the paths it was asked for.
// Unknown paths get 404. With `truncateInstaller` the installer is announced
// longer than it is and the connection closed early. With `useTls` it speaks
// TLS with a self-signed certificate (made with openssl at start). With
// `holdInstaller` the installer is sent only when releaseInstaller() is called.
class FakeUpdateServer : public QObject
{
    Q_OBJECT

public:
    explicit FakeUpdateServer(bool useTls = false, QObject* parent = nullptr);
    ~FakeUpdateServer() override;

    bool listening() const;
    QString baseUrl() const; // "http://127.0.0.1:port" or "https://..."

    QByteArray versionFile = "Parkbook-2.3.6\n";
    QHash<QString, QByteArray> installers; // path -> body
    bool truncateInstaller = false;
    bool holdInstaller = false;
    QStringList requests;

    void releaseInstaller();

private:
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& request);
    void send(QTcpSocket* socket, const QString& path);

    QTcpServer* server = nullptr;
    QList<QPair<QPointer<QTcpSocket>, QString>> held;
    bool tls = false;
};
