#pragma once

#include <QObject>
#include <QUdpSocket>
#include <QtEndian>

// Plays WSJT-X's side of the UDP link on 127.0.0.1: builds the datagrams
// WSJT-X (or JTDX) sends and keeps every datagram that comes back. Like JTDX
// and older WSJT-X releases it acts only on datagrams carrying exactly its own
// id and a schema it knows, and only on the requests it implements; the rest
// is kept apart as ignored.
class WsjtxPeer : public QObject
{
    Q_OBJECT

public:
    // WSJT-X 2.6: id "WSJT-X", empty texts as null texts, a 21-field Status, a
    // Heartbeat with revision. JTDX 2.2: id "JTDX", empty texts of length 0, a
    // 17-field Status (up to fast mode, then a Tx-first flag), a Heartbeat
    // without revision, and only Reply, Replay, Halt Tx and Free Text obeyed.
    enum class Shape { Wsjtx, Jtdx };

    explicit WsjtxPeer(Shape shape = Shape::Wsjtx);

    // The Status fields that matter here, in the order they are given; the
    // others go out as WSJT-X sends them.
    struct StatusFields {
        QString dxCall, report, txMessage;
        bool txEnabled = false, txWatchdog = false;
    };

    static QString idOf(Shape shape) { return shape == Shape::Jtdx ? "JTDX" : "WSJT-X"; }
    static QByteArray u32(quint32 value);
    // Empty: FF FF FF FF from WSJT-X, 00 00 00 00 from JTDX.
    static QByteArray rawText(const QByteArray& bytes, Shape shape = Shape::Wsjtx);
    static QByteArray header(quint32 type, const QString& id = "WSJT-X", quint32 schema = 2)
    {
        return QByteArray::fromHex("adbccbda") + u32(schema) + u32(type) + rawText(id.toUtf8());
    }
    static QByteArray heartbeat(Shape shape = Shape::Wsjtx, quint32 schema = 2);
    static QByteArray status(const StatusFields& fields, Shape shape = Shape::Wsjtx);
    // Delta frequency 1200, flags false.
    static QByteArray decode(const QByteArray& message, quint32 time = 45000000, qint32 snr = -10,
                             Shape shape = Shape::Wsjtx);
    static QByteArray loggedAdif(const QString& adif, Shape shape = Shape::Wsjtx)
    {
        return header(12, idOf(shape)) + rawText(adif.toUtf8(), shape);
    }
    // Type of a datagram (u32 at offset 8), or -1.
    static int typeOf(const QByteArray& datagram)
    {
        return datagram.size() < 12 ? -1 : int(qFromBigEndian<quint32>(datagram.constData() + 8));
    }

    const Shape shape;
    QString id() const { return idOf(shape); }

    bool open() { return socket.bind(QHostAddress::LocalHost, 0); } // an ephemeral port
    quint16 localPort() const { return socket.localPort(); }
    void sendTo(quint16 port, const QByteArray& datagram)
    {
        socket.writeDatagram(datagram, QHostAddress::LocalHost, port);
    }

    QList<QByteArray> received; // acted on
    QList<QByteArray> ignored;

private:
    bool obeys(const QByteArray& datagram) const;
    QUdpSocket socket;
};
