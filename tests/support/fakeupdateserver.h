#pragma once

#include "fakehttpserver.h"

#include <QHash>

// A tiny HTTP(S) server on 127.0.0.1 that serves the version file and the
// installers of an update server and records the paths it was asked for.
// Unknown paths get 404. With `truncateInstaller` an installer is announced
// longer than it is and the connection closed early. With `useTls` it speaks
// TLS with a self-signed certificate that nobody trusts. With `holdInstaller`
// installers are sent only when releaseInstaller() is called.
class FakeUpdateServer : public FakeHttpServer
{
public:
    explicit FakeUpdateServer(bool useTls = false);

    QString baseUrl() const // "http://127.0.0.1:port" or "https://..."
    {
        return QString("%1://127.0.0.1:%2").arg(tls ? "https" : "http").arg(server->serverPort());
    }

    QByteArray versionFile = "Parkbook-2.3.6\n";
    QHash<QString, QByteArray> installers; // path -> body
    bool truncateInstaller = false, holdInstaller = false;

    void releaseInstaller()
    {
        holdInstaller = false;
        releaseHeld();
    }

private:
    QByteArray respond(const QString& path, bool* hold) override;

    const bool tls;
};
