#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/parklist.h"
#include "settings/endpoints.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressDialog>
#include <QStatusBar>
#include <QUrl>
#include <QVariant>

namespace
{
// POTA's list is a few megabytes; a file far larger than that is something else.
constexpr qint64 largestList = 64 * 1024 * 1024;
} // namespace

void Parkbook::on_actionImport_Park_List_triggered()
{
    const QString fileName = prompt().openFileName(this, "Import POTA Park List", dataDir.path(),
                                                   "CSV Files (*.csv);;All Files (*.*)");
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().critical(this, "Can't Open File", "File " + fileName + "\nCould not be Opened.\n");
        logError("Cannot Open File " + fileName);
        return;
    }
    if (file.size() > largestList) {
        prompt().critical(this, "Park List Not Loaded",
                          "File " + fileName + "\nis far too large to be POTA's park list.");
        return;
    }
    const QByteArray csv = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        prompt().critical(this, "Park List Not Loaded",
                          "File " + fileName + "\nCould not be read: " + file.errorString());
        logError("Cannot Read File " + fileName + ": " + file.errorString());
        return;
    }
    loadParkList(csv, QFileInfo(fileName).fileName());
}

void Parkbook::loadParkList(const QByteArray& csv, const QString& source)
{
    const ParkList::LoadResult result = ParkList::load(Database::log(), csv);
    if (!result.ok) {
        prompt().critical(this, "Park List Not Loaded",
                          "The POTA park list from " + source +
                              " was not loaded; the list you had is kept.\n" + result.error);
        logError("Park list from " + source + " not loaded: " + result.error);
        return;
    }
    // References checked against the old list (or none) are checked again.
    checkedStationParks = QStringList(6);
    prompt().information(this, "Park List Loaded",
                         QString("Parks loaded from %1: %2 (active: %3).")
                             .arg(source)
                             .arg(result.parks)
                             .arg(result.active));
}

void Parkbook::on_actionUpdate_Park_List_triggered()
{
    if (parkListReply) {
        if (parkListProgress)
            parkListProgress->raise();
        return;
    }
    const QUrl url(Endpoints::parkListUrl(settingsFile.path()));
    QNetworkReply* reply = networkManager->get(QNetworkRequest(url));
    parkListReply = reply;
    connect(reply, &QNetworkReply::sslErrors, this, &Parkbook::sslErrors);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply] { parkListDownloadFinished(reply); });

    // Not modal: the operator may go on logging while the list arrives.
    auto* progress = new QProgressDialog("Downloading the POTA park list from\n" + url.toString(),
                                         "Cancel", 0, 0, this);
    progress->setWindowTitle("Update POTA Park List");
    progress->setWindowModality(Qt::NonModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    parkListProgress = progress;
    connect(progress, &QProgressDialog::canceled, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::downloadProgress, progress,
            [progress, reply](qint64 received, qint64 total) {
                if (received > largestList) {
                    reply->setProperty("tooLarge", true);
                    reply->abort();
                } else if (total > 0) {
                    progress->setMaximum(int(total / 1024));
                    progress->setValue(int(received / 1024));
                }
            });
    progress->show();
}

void Parkbook::parkListDownloadFinished(QNetworkReply* reply)
{
    if (!reply)
        return;
    if (reply == parkListReply)
        parkListReply = nullptr;
    reply->deleteLater();
    if (parkListProgress) {
        disconnect(parkListProgress, nullptr, reply, nullptr);
        parkListProgress->hide();
        parkListProgress->deleteLater();
        parkListProgress = nullptr;
    }

    // A connection that closes early can end the reply without an error; the
    // announced length tells a cut-short list from a whole one (unless the
    // body came compressed, when the length is the compressed one).
    const QByteArray body = reply->readAll();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool plainBody = reply->rawHeader("Content-Encoding").isEmpty();
    QString failure;
    if (reply->property("tooLarge").toBool()) {
        failure = "the file is far too large to be POTA's park list";
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        statusBar()->showMessage("Park list download cancelled; the list you had is kept.");
        return;
    } else if (reply->error() != QNetworkReply::NoError) {
        failure = reply->errorString();
    } else if (plainBody && announced.isValid() && announced.toLongLong() != body.size()) {
        failure =
            QString("only %1 of %2 bytes arrived").arg(body.size()).arg(announced.toLongLong());
    }
    if (!failure.isEmpty()) {
        prompt().critical(this, "Download Failed",
                          "Download of the POTA park list failed; the list you had is kept.\n" +
                              failure);
        logError("Park list download failed: " + failure);
        return;
    }
    loadParkList(body, reply->url().toString());
}
