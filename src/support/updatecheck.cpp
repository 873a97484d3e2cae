#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/station.h"
#include "settings/endpoints.h"
#include "support/versioncheck.h"
#include "ui_parkbook.h"

#include <QDir>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslError>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

namespace
{
QString updateBase(const QDir& settingsFile)
{
    QString base = Endpoints::updateUrl(settingsFile.path());
    while (base.endsWith('/'))
        base.chop(1);
    return base;
}
} // namespace

void Parkbook::checkUpdates()
{
    const QString base = updateBase(settingsFile);
    if (base.isEmpty()) {
        // No server to ask: the check ends at once as "not newer". The QRZ
        // login that follows a check waits for the event loop, since at
        // start-up the Station window does not exist yet.
        if (manualUpdate)
            prompt().information(this, "No Update Server",
                                 "No update server is configured, so Parkbook cannot look for "
                                 "a newer version.\nSet UpdateUrl in the [Main] group of "
                                 "Parkbook.ini to the address of an update server.");
        QMetaObject::invokeMethod(this, &Parkbook::loginAfterUpdateCheck, Qt::QueuedConnection);
        return;
    }

    // Each reply goes to its own handler: the QRZ requests share the manager,
    // and their replies must never be taken for the version file.
    QNetworkReply* reply = networkManager->get(
        QNetworkRequest(QUrl(base + "/projects/Parkbook/Parkbook-Version.txt")));
    versionReply = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { getVersionFinished(reply); });
    connect(reply, &QNetworkReply::sslErrors, this, &Parkbook::sslErrors);
    // Only the first line of the version file counts: keep it and drop the
    // rest as it arrives, so an endless file cannot fill the memory.
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (!reply->property("firstLine").isValid()) {
            if (!reply->canReadLine() && reply->bytesAvailable() < 32)
                return;
            reply->setProperty("firstLine", reply->readLine(32));
        }
        reply->skip(reply->bytesAvailable());
    });
}

void Parkbook::sslErrors(QList<QSslError> errors)
{
    // Logged only: the errors are not ignored, so the request fails.
    for (const QSslError& error : errors)
        logError("SSL error: " + error.errorString());
}

void Parkbook::getVersionFinished(QNetworkReply* reply)
{
    if (!reply)
        return;
    if (reply == versionReply)
        versionReply = nullptr;
    reply->deleteLater();

    if (reply->error() != QNetworkReply::NoError) {
        prompt().critical(this, "Download Failed",
                          "Download of Parkbook current version number failed.\n" +
                              reply->errorString());
        logError("Download Version Failed: " + reply->errorString());
        loginAfterUpdateCheck();
        return;
    }

    const QVariant kept = reply->property("firstLine");
    const VersionCheck::Result version =
        VersionCheck::read(kept.isValid() ? kept.toByteArray() : reply->readLine(32));
    latestVersion = version.text;
    if (!version.ours) {
        Q_EMIT updateCheckFinished(false);
        return;
    }

    if (!version.newer) {
        if (manualUpdate)
            prompt().information(this, "Parkbook is Up to Date",
                                 "You are using the latest version:  " + latestVersion +
                                     "\nThank you for keeping up to date!");
        loginAfterUpdateCheck();
        return;
    }

    const auto answer = prompt().question(
        this, "New Parkbook Version Available!",
        "A new program version is available for download and installation.\nYou can manually "
        "install the program after it is downloaded.\n\nDo you want to download this new "
        "version?\n" +
            latestVersion,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        loginAfterUpdateCheck();
        return;
    }

    // The QRZ login waits until the download has ended.
    const QString folder = updateBase(settingsFile) + "/projects/Parkbook/Windows";
    QNetworkReply* download =
        networkManager->get(QNetworkRequest(QUrl(QString("%1/%2.exe").arg(folder, latestVersion))));
    downloadReply = download;
    // A check that ends while this download runs sets latestVersion anew; the
    // installer is named after the version this download fetches.
    download->setProperty("version", latestVersion);
    connect(download, &QNetworkReply::finished, this,
            [this, download] { downloadFinished(download); });
    connect(download, &QNetworkReply::sslErrors, this, &Parkbook::sslErrors);
}

void Parkbook::downloadFinished(QNetworkReply* reply)
{
    if (!reply)
        return;
    if (reply == downloadReply)
        downloadReply = nullptr;
    reply->deleteLater();

    // A server that closes the connection early can end the reply without an
    // error; the announced length tells a cut-short installer from a whole one
    // (unless the body came compressed, when the length is the compressed one).
    const QByteArray body = reply->readAll();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool plainBody = reply->rawHeader("Content-Encoding").isEmpty();
    QString failure;
    if (reply->error() != QNetworkReply::NoError)
        failure = reply->errorString();
    else if (plainBody && announced.isValid() && announced.toLongLong() != body.size())
        failure =
            QString("only %1 of %2 bytes arrived").arg(body.size()).arg(announced.toLongLong());
    if (!failure.isEmpty()) {
        prompt().critical(this, "Download Failed",
                          "Download of current version Parkbook failed.\n" + failure);
        logError("Download Parkbook Failed: " + failure);
        loginAfterUpdateCheck();
        return;
    }

    const QString version = reply->property("version").toString();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QDir().mkpath(folder);
    const QString fileName = QString("%1/%2.exe").arg(folder, version);
    // Written under a temporary name and renamed when complete, so a failed
    // write never leaves a truncated installer behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        prompt().critical(this, "Can't Open File for Writing",
                          "File " + fileName + "\nCould not be Opened for writing.\n");
    } else {
        if (file.write(body) != body.size() || !file.commit()) {
            file.cancelWriting();
            prompt().critical(this, "Can't Write File",
                              "File " + fileName + "\nCould not be wrtten to download folder.\n");
        } else {
            prompt().information(this, "Parkbook Program Downloaded",
                                 "The latest program version: " + version +
                                     "\n has been downloaded to your download folder.\nPlease "
                                     "install the program from your download folder.");
        }
    }
    loginAfterUpdateCheck();
}

void Parkbook::loginAfterUpdateCheck()
{
    bool login = false;
    if (station) {
        login = !station->ui->call->text().isEmpty() && !station->ui->pwd->text().isEmpty();
    }
    if (login)
        connectQRZ();
    Q_EMIT updateCheckFinished(login);
}

void Parkbook::on_actionCheck_for_Updates_triggered()
{
    manualUpdate = true;
    checkUpdates();
}

void Parkbook::on_actionAuto_Update_Check_triggered()
{
    autoUpdate = ui->actionAuto_Update_Check->isChecked();
}
