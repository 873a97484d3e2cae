#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/station.h"
#include "qrz/qrzxml.h"
#include "settings/endpoints.h"
#include "support/diagnostics.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QHostAddress>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>

namespace
{
// The login carries the password in its address: it goes out over https only,
// or in plain http to this machine (a local proxy or a test service).
bool secureEndpoint(const QString& endpoint)
{
    const QUrl url(endpoint);
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        return true;
    return url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 &&
           (url.host() == QLatin1String("localhost") || QHostAddress(url.host()).isLoopback());
}
} // namespace

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
// A body that never becomes a whole XML document is not used at all, and one
// that grows past the size of any QRZ answer (a captive portal's page, say) is
// not read on: the request ends there and fails.
bool Parkbook::takeQrzAnswer(QNetworkReply* reply)
{
    if (reply == nullptr || reply->property("qrzTaken").toBool())
        return false;
    QByteArray body = reply->property("qrzBody").toByteArray();
    if (body.size() + reply->bytesAvailable() > Qrz::maxAnswerBytes) {
        reply->setProperty("qrzTaken", true);
        reply->setProperty("qrzBody", QByteArray());
        // The address is not logged: a login carries the password.
        logError("QRZ answer from " + reply->url().host() + " is larger than " +
                 QString::number(Qrz::maxAnswerBytes / (1024 * 1024)) + " MiB and was not read.");
        reply->abort();
        return false;
    }
    body += reply->readAll();
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

    const QString endpoint = Endpoints::qrzUrl(settingsFile.path());
    if (!qrzUser.isEmpty() && !qrzPassword.isEmpty() && !secureEndpoint(endpoint)) {
        prompt().warning(this, "QRZ Address Not Secure",
                         "The QRZ address\n" + endpoint +
                             "\nis not an https address: your password would travel "
                             "unencrypted.\nSet QrzUrl in the [Main] group of Parkbook.ini "
                             "to an https address.");
        logError("QRZ address is not https; the login was not sent.");
    } else if (!qrzUser.isEmpty() && !qrzPassword.isEmpty()) {
        connect(networkManager, &QNetworkAccessManager::finished, this,
                &Parkbook::displayConnectStatus, Qt::UniqueConnection);
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
            qCDebug(lcQrz) << "new session key";
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
