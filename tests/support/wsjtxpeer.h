#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

// Plays WSJT-X's side of the UDP link on 127.0.0.1: builds the datagrams
// WSJT-X sends (as WSJT-X 2.6 writes them, empty texts as null texts) and
// keeps every datagram that comes back.
class WsjtxPeer : public QObject
{
    Q_OBJECT

public:
    explicit WsjtxPeer(QObject* parent = nullptr);

    // Fields of a Status message, in WSJT-X's order.
    struct StatusFields {
        quint64 dialFrequency = 14074000;
        QString mode = "FT8";
        QString dxCall;
        QString report;
        QString txMode = "FT8";
        bool txEnabled = false;
        bool transmitting = false;
        bool decoding = false;
        quint32 rxDF = 1500;
        quint32 txDF = 1500;
        QString deCall = "Q1ABC";
        QString deGrid = "FN31";
        QString dxGrid;
        bool txWatchdog = false;
        QString subMode;
        bool fastMode = false;
        quint8 specialMode = 0;
        quint32 frequencyTolerance = 0xffffffffu;
        quint32 trPeriod = 0xffffffffu;
        QString configurationName = "Default";
        QString txMessage;
    };

    struct DecodeFields {
        bool isNew = true;
        quint32 time = 0;
        qint32 snr = -10;
        double deltaTime = 0.1;
        quint32 deltaFrequency = 1200;
        QString mode = "~";
        QByteArray message;
        bool lowConfidence = false;
        bool offAir = false;
    };

    static QByteArray u32(quint32 value);
    static QByteArray text(const QString& value); // empty -> FF FF FF FF, as WSJT-X does
    static QByteArray rawText(const QByteArray& bytes);
    static QByteArray header(quint32 type, const QString& id = "WSJT-X", quint32 schema = 2);
    static QByteArray heartbeat(const QString& id = "WSJT-X");
    static QByteArray status(const StatusFields& fields, const QString& id = "WSJT-X");
    static QByteArray decode(const DecodeFields& fields, const QString& id = "WSJT-X");
    static QByteArray decode(const QByteArray& message, quint32 time = 45000000, qint32 snr = -10);
    static QByteArray loggedAdif(const QString& adif, const QString& id = "WSJT-X");

    // Binds an ephemeral port on 127.0.0.1.
    bool open();
    quint16 localPort() const;
    // Sends one datagram to 127.0.0.1:port.
    void sendTo(quint16 port, const QByteArray& datagram);
    // Waits (bounded) until at least `count` datagrams have come back.
    bool waitForReceived(int count, int timeoutMs = 5000);
    // Type of a received datagram (u32 at offset 8), or -1.
    static int typeOf(const QByteArray& datagram);

    QList<QByteArray> received;

private:
    void readAll();
    QUdpSocket* socket;
};
