// The UDP side of the WSJT-X link: the server socket, the dispatch of incoming
// datagrams and the control messages sent back.
#include "app/parkbook.h"
#include "parks/station.h"
#include "support/diagnostics.h"
#include "ui_parkbook.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtx/wsjtxcodec.h"

#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QUdpSocket>

// Messages are built for the client that spoke last; while none has, for
// nobody, and sendDatagram drops them.
static WsjtxCodec::Client addressee(const std::optional<WsjtxCodec::Client>& client)
{
    return client.value_or(WsjtxCodec::Client());
}

void Parkbook::initUdpSocket()
{
    if (!udpSocket)
        return;
    udpSocket->abort();
    const QHostAddress group(wsjtx->ui->udpIp->text());
    const auto port = static_cast<quint16>(wsjtx->ui->udpPort->value());
    // Bind to every IPv4 address, not to the configured one, and share the
    // port: other programs may listen to WSJT-X as well.
    const bool bound = udpSocket->bind(QHostAddress::AnyIPv4, port,
                                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    // A unicast address cannot be joined; the socket still gets what is sent
    // to its port, so the result does not matter.
    if (bound)
        udpSocket->joinMulticastGroup(group);
    // Unique: the watchdog and the restart button call this again and again,
    // and a second connection would hand one datagram to two handlers.
    connect(udpSocket, &QUdpSocket::readyRead, this, &Parkbook::readPendingDatagrams,
            Qt::UniqueConnection);
    // A program that holds the port without sharing it keeps WSJT-X away from
    // us: say so once, and let the clock try again until the port is free.
    QString problem;
    if (!bound) {
        const bool busy = udpSocket->error() == QAbstractSocket::AddressInUseError;
        problem = QString("Port %1 %2").arg(port).arg(busy ? "Busy" : "Failed");
        if (problem != udpProblem)
            logError(QString("WSJT-X UDP port %1 could not be opened (%2); trying again every "
                             "5 seconds")
                         .arg(port)
                         .arg(udpSocket->errorString()));
    }
    udpProblem = problem;
    wsjtx->ui->autoReply->setChecked(false);
    autoReply = false;
    setQsoStatus(0);
}

void Parkbook::readPendingDatagrams()
{
    setResultsColour();
    wsjtx->ui->results->setCenterOnScroll(false);
    // Every datagram waiting is handled, one after the other. While a handler
    // runs (a message box runs an event loop of its own) Qt does not signal
    // readyRead again, and a datagram that came in meanwhile would never be
    // read, nor anything after it.
    while (udpSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udpSocket->receiveDatagram();
        const WsjtxCodec::Header header = WsjtxCodec::readHeader(datagram.data());
        if (!datagram.senderAddress().isNull()) {
            // Whatever arrives, its sender is where our answers go; they carry
            // the id and schema it last gave, and none are sent to a sender
            // that has not given them.
            const auto port = static_cast<quint16>(datagram.senderPort());
            if (datagram.senderAddress() != wsjtxAddress || port != wsjtxPort)
                wsjtxClient.reset();
            wsjtxAddress = datagram.senderAddress();
            wsjtxPort = port;
            if (header.valid)
                wsjtxClient = WsjtxCodec::Client{header.id, header.schema};
        }
        dispatchDatagram(datagram.data());
    }
}

void Parkbook::dispatchDatagram(const QByteArray& data)
{
    const WsjtxCodec::Header header = WsjtxCodec::readHeader(data);
    if (!header.valid) {
        qCDebug(lcWsjtx) << "dropped a datagram without a valid header," << data.size() << "bytes";
        return;
    }
    qCDebug(lcWsjtx) << "message" << header.type << "from" << header.id << "schema"
                     << header.schema;
    switch (header.type) {
    case WsjtxCodec::Heartbeat:
        heartBeat(data);
        break;
    case WsjtxCodec::Status:
        statusMessage(data);
        break;
    case WsjtxCodec::Decode:
        decodeMessage(data);
        break;
    case WsjtxCodec::LoggedAdif:
        logADIF(data);
        break;
    default:
        break;
    }
}

void Parkbook::sendDatagram(QByteArray datagram)
{
    if (wsjtxPort == 0 || wsjtxAddress.isNull() || !wsjtxClient || datagram.isEmpty()) {
        qCDebug(lcWsjtx) << "nothing sent: no client has spoken yet";
        return;
    }
    udpSocket->writeDatagram(datagram, wsjtxAddress, wsjtxPort);
}

void Parkbook::clearBand()
{
    sendDatagram(WsjtxCodec::clearMessage(addressee(wsjtxClient)));
}

void Parkbook::replyQso(QByteArray data)
{
    sendDatagram(WsjtxCodec::replyMessage(data));
}

void Parkbook::replayBand()
{
    sendDatagram(WsjtxCodec::replayMessage(addressee(wsjtxClient)));
}

void Parkbook::haltTx()
{
    sendDatagram(WsjtxCodec::haltTxMessage(addressee(wsjtxClient)));
}

void Parkbook::freeText(int msg, bool send)
{
    QString text;
    if (msg == 1)
        text = "DE " + ui->parkReference->text() + " 73";
    else if (msg == 2)
        text = "DUP " + station->ui->call->text() + " 73";
    sendDatagram(WsjtxCodec::freeTextMessage(addressee(wsjtxClient), text, send));
}

void Parkbook::sendLocation()
{
    sendDatagram(WsjtxCodec::locationMessage(addressee(wsjtxClient), station->ui->grid->text()));
}

void Parkbook::sendConfigure()
{
    sendDatagram(WsjtxCodec::configureMessage(addressee(wsjtxClient)));
}

void Parkbook::setQsoStatus(int status)
{
    qsoStatus = status;
    QString text;
    bool blue = false;
    switch (status) {
    case 0:
        text = "Idle";
        break;
    case 1:
        text = "Ready";
        blue = true;
        break;
    case 2:
        text = "Start QSO";
        blue = true;
        break;
    case 4:
        text = "Waiting Log";
        break;
    case 5:
        text = "Tx Timeout";
        break;
    default:
        break;
    }
    if (!udpProblem.isEmpty()) {
        // Nothing can reach us: that matters more than the QSO status.
        text = udpProblem;
        blue = false;
    }
    wsjtx->ui->qsoStatus->setText(text);
    wsjtx->ui->qsoStatus->setPalette(blue ? blueText : redText);
}

void Parkbook::setAutoReply()
{
    autoReply = wsjtx->ui->autoReply->isChecked();
    setQsoStatus(autoReply ? 1 : 0);
}

void Parkbook::setResultsColour()
{
    QTextCharFormat format = wsjtx->ui->results->currentCharFormat();
    format.setForeground(themeBlue);
    wsjtx->ui->results->setCurrentCharFormat(format);
}

void Parkbook::clearResults()
{
    wsjtx->ui->results->clear();
    setResultsColour();
}

void Parkbook::on_actionWSJT_X_Panel_triggered()
{
    if (wsjtx->isHidden()) {
        wsjtx->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint);
        wsjtx->setWindowTitle("WSJT-X: UDP Server Setup and Search Results Display");
        wsjtx->ui->header->setPlainText(WsjtxCodec::headerLine());
        wsjtx->ui->header->setFont(monoFont);
        wsjtx->ui->results->setFont(monoFont);
        wsjtx->show();
        wsjtx->raise();
    }
    activateWindow();
}
