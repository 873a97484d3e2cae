#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "qrz/qrzxml.h"
#include "settings/endpoints.h"
#include "support/diagnostics.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QLineEdit>
#include <QNetworkReply>
#include <QSignalBlocker>

QString Parkbook::camelCase(QString str)
{
    return Qrz::camelCase(str);
}

QString Parkbook::removeNULLs(QString str)
{
    return Qrz::removeNULLs(str);
}

void Parkbook::lookUpContact()
{
    const QString call = ui->call->text().toUpper();
    contact->ui->call->setText(call);

    if (call.isEmpty()) {
        clearContactForm();
        return;
    }
    // Details of another station must not stay on show, nor be stored with
    // this one, while its own answer is on the way (or never comes).
    if (contactDetailsCall != call)
        clearContactDetails();
    if (qrzConnected)
        sendLookup(call, false);
}

void Parkbook::getContact()
{
    const QString call = contact->ui->call->text().toUpper();
    if (qrzConnected) {
        if (!call.isEmpty())
            sendLookup(call, true);
        return;
    }
    prompt().warning(this, "Not Connected to QRZ Database",
                     "Please Enter QRZ Username and Password.\n"
                     "Where:\n   Username is the 'Operator' Callsign.\n"
                     "   Password is your QRZ Password\n"
                     "Data is entered in the 'Station Details' menu item.\n");
    logError("Not Connected to QRZ Database.");
    activateWindow();
}

// Each answer remembers the call it was asked for and which window asked.
void Parkbook::sendLookup(const QString& call, bool fromContactWindow)
{
    const QString endpoint = Endpoints::qrzUrl(settingsFile.path());
    QNetworkReply* reply = sendQrzRequest(Qrz::lookupUrl(endpoint, sessionKey, call));
    reply->setProperty("lookupCall", call);
    reply->setProperty("lookupFromContact", fromContactWindow);
    connect(reply, &QNetworkReply::readyRead, this, &Parkbook::contactReadyReadQRZ);
}

// Reads qrzBody, the answer taken from the reply that delivered it.
void Parkbook::extractContactData()
{
    const Qrz::Result result = Qrz::readResult(Qrz::readDocument(qrzBody));
    qrzCall = result.call;
    qrzFirstName = result.firstName;
    qrzLastName = result.lastName;
    qrzLicense = result.license;
    qrzCity = result.city;
    qrzState = result.state;
    qrzLat = result.lat;
    qrzLon = result.lon;
    qrzGrid = result.grid;
    qrzCounty = result.county;
    qrzCountry = result.country;
    qrzDxcc = result.dxcc;
    qrzBorn = result.born;
    qrzExpire = result.expire;
    qrzError = result.error;
    if (result.hasKey)
        sessionKey = result.key;
    if (!result.count.isEmpty())
        qrzCount = result.count;
}

void Parkbook::contactReadyReadQRZ()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!takeQrzAnswer(reply))
        return;
    // An answer for a call that is no longer the one entered (the contact
    // was logged and the form cleared, or the call was corrected) belongs
    // to nobody on show.
    const QLineEdit* asking =
        reply->property("lookupFromContact").toBool() ? contact->ui->call : ui->call;
    if (reply->property("lookupCall").toString() != asking->text().toUpper()) {
        qCDebug(lcQrz) << "answer for" << reply->property("lookupCall").toString()
                       << "dropped: the call on show is now" << asking->text();
        return;
    }
    extractContactData();

    Ui::Contact* c = contact->ui;
    if (!qrzError.isEmpty()) {
        c->name->setPalette(redText);
        c->name->setText(qrzError);
        for (QLineEdit* field : {c->last, c->license, c->city, c->county, c->state, c->country,
                                 c->dxcc, c->lat, c->lon, c->grid, c->born, c->expire})
            field->setText("");
    } else {
        c->city->setText(qrzCity);
        c->county->setText(qrzCounty);
        c->state->setText(qrzState);
        c->country->setText(qrzCountry);
        c->dxcc->setText(qrzDxcc);
        c->lat->setText(qrzLat);
        c->lon->setText(qrzLon);
        c->grid->setText(qrzGrid);
        c->name->setPalette(blueText);
        c->name->setText(qrzFirstName);
        c->call->setText(qrzCall);
        c->last->setText(qrzLastName);
        c->license->setText(qrzLicense);
        c->born->setText(qrzBorn);
        c->expire->setText(qrzExpire);
        bearDist(station->ui->lat->text().toDouble(), station->ui->lon->text().toDouble(),
                 qrzLat.toDouble(), qrzLon.toDouble());
    }
    contactDetailsToMainWindow();
}

void Parkbook::contactDetailsToMainWindow()
{
    if (qrzError.isEmpty()) {
        ui->name->setPalette(greenText);
        ui->call->setText(qrzCall);
        ui->call->setModified(true);
        ui->name->setText(qrzFirstName);
        const QSignalBlocker blocker(ui->state);
        ui->state->setText(qrzState);
        contactDetailsCall = ui->call->text();
    } else {
        contactDetailsCall.clear();
        ui->name->setPalette(redText);
        ui->name->setText(qrzError.left(15));
        ui->sent->setText("59");
        ui->rcvd->setText("59");
        ui->comment->setText("");
        ui->p2p->setText("");
    }
}

void Parkbook::on_actionContact_Details_triggered()
{
    if (!contact->isVisible()) {
        contact->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        contact->setWindowTitle("Alt+C: Contact Details from QRZ");
        contact->show();
        contact->raise();
    }
    contact->activateWindow();
    contact->ui->call->setFocus();
}
