#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/station.h"
#include "qrz/qrzxml.h"
#include "settings/endpoints.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>

// Every QRZ request goes out here: the reply becomes qrzReply and is deleted
// once it has finished, whatever it answered.
QNetworkReply* Parkbook::sendQrzRequest(const QUrl& url)
{
    QNetworkReply* reply = networkManager->get(QNetworkRequest(url));
    qrzReply = reply;
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    connect(reply, &QObject::destroyed, this, [this, reply] {
        if (qrzReply == reply)
            qrzReply = nullptr;
    });
    return reply;
}

// The body may come in several pieces; it is read once the document is whole.
// A body that never becomes a whole XML document is not used at all.
bool Parkbook::takeQrzAnswer(QNetworkReply* reply)
{
    if (reply == nullptr || reply->property("qrzTaken").toBool())
        return false;
    const QByteArray body = reply->property("qrzBody").toByteArray() + reply->readAll();
    reply->setProperty("qrzBody", body);
    if (!Qrz::readDocument(body).complete)
        return false;
    reply->setProperty("qrzTaken", true);
    qrzBody = body;
    return true;
}

void Parkbook::connectQRZ()
{
    qrzUser = station->ui->call->text().toUpper();
    qrzPassword = station->ui->pwd->text();
    qrzConnected = false;

    if (!qrzUser.isEmpty() && !qrzPassword.isEmpty()) {
        connect(networkManager, &QNetworkAccessManager::finished, this,
                &Parkbook::displayConnectStatus, Qt::UniqueConnection);
        const QString endpoint = Endpoints::qrzUrl(settingsFile.path());
        QNetworkReply* reply = sendQrzRequest(Qrz::loginUrl(endpoint, qrzUser, qrzPassword));
        connect(reply, &QNetworkReply::readyRead, this, &Parkbook::userReadyReadQRZ);
    } else {
        prompt().information(this, "QRZ XML Database Connection ",
                             "Connection to the QRZ XML Database\n"
                             "requires your Operator Callsign and QRZ Password.\n"
                             "Please enter your Callsign and/or QRZ Password in\n"
                             "'Setup->Station Details'\n"
                             "and then Click on 'Connect QRZ'.");
        logError("Operator Callsign or QRZ Password is missing.");
    }
    activateWindow();
}

void Parkbook::userReadyReadQRZ()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!takeQrzAnswer(reply))
        return;
    qrzConnected = true;

    const Qrz::Document document = Qrz::readDocument(qrzBody);
    for (const Qrz::Element& element : document.elements) {
        if (element.name == "Key") {
            sessionKey = element.text;
        } else if (element.name == "Count") {
            qrzCount = element.text;
        } else if (element.name == "SubExp") {
            station->ui->expire->setText(Qrz::subscriptionExpiry(element.text));
            if (element.text == "non-subscriber")
                prompt().warning(this, "Non QRZ XML Data Subscriber",
                                 "Warning: You are a Non-Subscriber to the QRZ XML Data.\n"
                                 "A subscription is required to access a complete record.\n"
                                 "You can only retrieve a shortened data response of\n"
                                 "Call, First Name, Last Name, City, State, & Country\n"
                                 "and limited to 100 Call Record retrievals a day, from QRZ.\n"
                                 "You have retrieved " +
                                     qrzCount + " Calls in the last 24 hrs.");
        } else if (element.name == "Error") {
            qrzConnected = false;
            prompt().warning(this, "QRZ Login Error",
                             "Error: " + element.text +
                                 ".\nWhere:\n   Username is your Operator Callsign.\n"
                                 "   and Password is your QRZ Password\n"
                                 "Data entered with the 'Station Details' menu item.\n"
                                 "Please correct entries and try again.");
            logError("Operator Call or QRZ Password error connecting to QRZ database.");
        }
    }
    reply->deleteLater();
}

void Parkbook::displayConnectStatus()
{
    QPushButton* button = station->ui->connectQRZ;
    if (qrzConnected) {
        ui->connectStatus->setPalette(blueText);
        ui->connectStatus->setText("Connected");
        button->setPalette(blueButton);
        button->setText("Connected to QRZ");
    } else {
        ui->connectStatus->setPalette(redText);
        ui->connectStatus->setText("Offline");
        button->setPalette(greenButton);
        button->setText("Connect to QRZ");
        prompt().information(this, "QRZ XML Database Connection ",
                             "Unable to make connection to the QRZ XML Database!\n"
                             "Either a Login Error occurred or\n"
                             "You have no Internet Connection.\n");
        logError("QRZ Login Error or No Internet Connection.");
    }
}
