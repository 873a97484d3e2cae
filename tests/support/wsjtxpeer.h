#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

// Plays WSJT-X's side of the UDP link on 127.0.0.1: builds the datagrams
// WSJT-X (or JTDX) sends and keeps every datagram that comes back. Like JTDX
// and older WSJT-X releases it acts only on datagrams carrying exactly its own
// id and a schema it knows; like the real program it acts only on the
// requests it implements. Everything else is kept apart as ignored.
class WsjtxPeer : public QObject
{
    Q_OBJECT

public:
    // WSJT-X 2.6: id "WSJT-X", empty texts as null texts, a 21-field Status, a
    // Heartbeat with revision. JTDX 2.2: id "JTDX", empty texts of length 0, a
    // 17-field Status (up to fast mode, then a Tx-first flag), a Heartbeat
    // without revision, and only Reply, Replay, Halt Tx and Free Text obeyed.
    enum class Shape { Wsjtx, Jtdx };

    explicit WsjtxPeer(Shape shape = Shape::Wsjtx, QObject* parent = nullptr);

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
        quint8 specialMode = 0; // JTDX: its Tx-first flag
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

    static QString idOf(Shape shape);
    static QByteArray u32(quint32 value);
    // Empty: FF FF FF FF from WSJT-X, 00 00 00 00 from JTDX.
    static QByteArray text(const QString& value, Shape shape = Shape::Wsjtx);
    static QByteArray rawText(const QByteArray& bytes, Shape shape = Shape::Wsjtx);
    static QByteArray header(quint32 type, const QString& id = "WSJT-X", quint32 schema = 2);
    static QByteArray heartbeat(Shape shape = Shape::Wsjtx, quint32 schema = 2);
    static QByteArray status(const StatusFields& fields, Shape shape = Shape::Wsjtx,
                             quint32 schema = 2);
    static QByteArray decode(const DecodeFields& fields, Shape shape = Shape::Wsjtx,
                             quint32 schema = 2);
    static QByteArray decode(const QByteArray& message, quint32 time = 45000000, qint32 snr = -10);
    static QByteArray loggedAdif(const QString& adif, Shape shape = Shape::Wsjtx);

    const Shape shape;
    QString id() const { return idOf(shape); }

    // Binds an ephemeral port on 127.0.0.1.
    bool open();
    quint16 localPort() const;
    // Sends one datagram to 127.0.0.1:port.
    void sendTo(quint16 port, const QByteArray& datagram);
    // Waits (bounded) until at least `count` datagrams have been acted on.
    bool waitForReceived(int count, int timeoutMs = 5000);
    // Type of a received datagram (u32 at offset 8), or -1.
    static int typeOf(const QByteArray& datagram);

    QList<QByteArray> received; // acted on
    QList<QByteArray> ignored;  // foreign id, unknown schema or a request not implemented

private:
    void readAll();
    bool obeys(const QByteArray& datagram) const;
    QUdpSocket* socket;
};
