#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/logtable.h"
#include "qrz/qrzxml.h"
#include "settings/endpoints.h"
#include "ui_parkbook.h"

#include <QNetworkReply>
#include <QProgressBar>
#include <QStatusBar>

// Filling the missing QRZ details of the contacts in the Activate/Through
// range, one lookup at a time in id order. Every answer is written to its row
// at once, so a run cut short (stopped, or the program closed) keeps what it
// has done.

void Parkbook::on_actionPopulate_QRZ_Data_triggered()
{
    if (populateRunning) {
        const QMessageBox::StandardButton answer = prompt().question(
            this, "QRZ Data Population Running",
            QString("QRZ data is being populated: %1 of %2 contacts requested so far.\n"
                    "Only one population can run at a time.\n\n"
                    "Do you want to stop it?")
                .arg(populateCount)
                .arg(progressBar->maximum()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            populateStopped = true;
            // The run ends when the reply in flight finishes; aborting makes
            // that happen now.
            if (qrzReply && qrzReply->property("populateId").isValid())
                qrzReply->abort();
        }
        return;
    }

    const int count =
        LogTable::countInRange(Database::log(), ui->parkDate->text(), ui->endDate->text());
    const double minutes = count * 0.25 / 60.0;

    if (!qrzConnected) {
        prompt().warning(this, "Not Connected to QRZ Database",
                         "Please Enter QRZ Username and Password.\n"
                         "Where:\n   Username is the 'Station' Callsign.\n"
                         "   Password is your QRZ Password\n"
                         "Data is entered in the 'Station Details' menu item.\n");
        return;
    }

    const QMessageBox::StandardButton answer =
        prompt().message(this, QMessageBox::Warning, "Warning: Possible Long Process Ahead",
                         "This process will populate your contact's missing QRZ data\n"
                         "from the date range selected for Activate/Through dates.\n"
                         "This Process can take a long time depending on the\n"
                         "size of the database and the dates you select.\n"
                         "Select a date range that gives you less than 1000 contacts.\n"
                         "That should limit you processing time to less than 5 minutes.\n"
                         "Individual contacts can be edited from the main window.\n\n"
                         "Depending on your computer and internet speed,\n"
                         "this can typically take 25 Seconds per 100 Records.\n\n"
                         "You have " +
                             QString::number(count) + " records which will take about " +
                             QString::number(minutes, 'f', 2) +
                             " Minutes.\n\n"
                             "Select 'Cancel' (default) if you do not want to proceed!",
                         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);

    if (answer != QMessageBox::Cancel && count >= 1) {
        statusBar()->addPermanentWidget(progressBar);
        progressBar->setValue(0);
        progressBar->setMinimum(0);
        progressBar->setMaximum(count);
        progressBar->show();
        populateCount = 0;
        populateLastId = 0;
        populateRunning = true;
        populateStopped = false;
        populateContact();
    }
}

void Parkbook::populateContact()
{
    if (!populateRunning)
        return;
    const std::optional<LogTable::Contact> next =
        populateStopped ? std::nullopt
                        : LogTable::nextInRange(Database::log(), ui->parkDate->text(),
                                                ui->endDate->text(), populateLastId);
    if (next) {
        populateLastId = int(next->id);
        const QString call = next->row.call;
        const QString endpoint = Endpoints::qrzUrl(settingsFile.path());
        QNetworkReply* reply = sendQrzRequest(Qrz::lookupUrl(endpoint, sessionKey, call));
        // The answer is written to the row it was asked for.
        reply->setProperty("populateId", populateLastId);
        connect(reply, &QNetworkReply::readyRead, this, &Parkbook::populateReadyReadQRZ);
        connect(reply, &QNetworkReply::finished, this, &Parkbook::populateContact);
        statusBar()->showMessage("Getting QRZ Contact Data:");
        progressBar->setValue(populateCount);
        ++populateCount;
        return;
    }

    populateRunning = false;
    populateStopped = false;
    statusBar()->clearMessage();
    statusBar()->removeWidget(progressBar);
}

void Parkbook::populateReadyReadQRZ()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!takeQrzAnswer(reply))
        return;
    extractContactData();
    const int id = reply->property("populateId").toInt();

    ContactRow answer;
    answer.name = qrzFirstName;
    answer.last = qrzLastName;
    answer.city = qrzCity;
    answer.county = qrzCounty;
    answer.state = qrzState;
    answer.country = qrzCountry;
    answer.dxcc = qrzDxcc;
    answer.lat = qrzLat;
    answer.lon = qrzLon;
    answer.grid = qrzGrid;
    answer.license = qrzLicense;
    answer.expire = qrzExpire;
    answer.born = qrzBorn;
    // Stored data wins: only empty columns take the answer.
    whenLogIsFree([this, id, answer] {
        const DbResult stored = LogTable::fillMissingDetails(Database::log(), id, answer);
        if (!stored)
            logError("QRZ data for contact " + QString::number(id) +
                     " could not be stored: " + stored.error);
    });
}
