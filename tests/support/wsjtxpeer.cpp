#include "wsjtxpeer.h"

#include <QDataStream>
#include <QIODevice>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

WsjtxPeer::WsjtxPeer(Shape shape, QObject* parent)
    : QObject(parent), shape(shape), socket(new QUdpSocket(this))
{
    connect(socket, &QUdpSocket::readyRead, this, &WsjtxPeer::readAll);
}

QString WsjtxPeer::idOf(Shape shape)
{
    return shape == Shape::Jtdx ? "JTDX" : "WSJT-X";
}

QByteArray WsjtxPeer::u32(quint32 value)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << value;
    return out;
}

QByteArray WsjtxPeer::rawText(const QByteArray& bytes, Shape shape)
{
    if (bytes.isEmpty() && shape == Shape::Wsjtx)
        return QByteArray::fromHex("ffffffff");
    return u32(static_cast<quint32>(bytes.size())) + bytes;
}

QByteArray WsjtxPeer::text(const QString& value, Shape shape)
{
    return rawText(value.toUtf8(), shape);
}

QByteArray WsjtxPeer::header(quint32 type, const QString& id, quint32 schema)
{
    return QByteArray::fromHex("adbccbda") + u32(schema) + u32(type) + text(id);
}

QByteArray WsjtxPeer::heartbeat(Shape shape, quint32 schema)
{
    QByteArray out = header(0, idOf(shape), schema) + u32(3);
    if (shape == Shape::Jtdx)
        return out + text("2.2.159", shape);
    return out + text("2.6.1") + text("");
}

QByteArray WsjtxPeer::status(const StatusFields& f, Shape shape, quint32 schema)
{
    QByteArray out = header(1, idOf(shape), schema);
    QDataStream stream(&out, QIODevice::WriteOnly | QIODevice::Append);
    stream << f.dialFrequency;
    auto t = [shape](const QString& value) { return text(value, shape); };
    out += t(f.mode) + t(f.dxCall) + t(f.report) + t(f.txMode);
    out += char(f.txEnabled);
    out += char(f.transmitting);
    out += char(f.decoding);
    out += u32(f.rxDF) + u32(f.txDF) + t(f.deCall) + t(f.deGrid) + t(f.dxGrid);
    out += char(f.txWatchdog);
    out += t(f.subMode);
    out += char(f.fastMode);
    out += char(f.specialMode);
    if (shape == Shape::Jtdx)
        return out;
    return out + u32(f.frequencyTolerance) + u32(f.trPeriod) + t(f.configurationName) +
           t(f.txMessage);
}

QByteArray WsjtxPeer::decode(const DecodeFields& f, Shape shape, quint32 schema)
{
    QByteArray out = header(2, idOf(shape), schema);
    out += char(f.isNew);
    out += u32(f.time) + u32(static_cast<quint32>(f.snr));
    QByteArray real;
    QDataStream stream(&real, QIODevice::WriteOnly);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    stream << f.deltaTime;
    out += real + u32(f.deltaFrequency) + text(f.mode, shape) + rawText(f.message, shape);
    out += char(f.lowConfidence);
    out += char(f.offAir);
    return out;
}

QByteArray WsjtxPeer::decode(const QByteArray& message, quint32 time, qint32 snr)
{
    DecodeFields fields;
    fields.message = message;
    fields.time = time;
    fields.snr = snr;
    return decode(fields);
}

QByteArray WsjtxPeer::loggedAdif(const QString& adif, Shape shape)
{
    return header(12, idOf(shape)) + text(adif, shape);
}

bool WsjtxPeer::open()
{
    return socket->bind(QHostAddress::LocalHost, 0);
}

quint16 WsjtxPeer::localPort() const
{
    return socket->localPort();
}

void WsjtxPeer::sendTo(quint16 port, const QByteArray& datagram)
{
    socket->writeDatagram(datagram, QHostAddress::LocalHost, port);
}

bool WsjtxPeer::waitForReceived(int count, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (received.size() < count && !deadline.hasExpired())
        QTest::qWait(10);
    return received.size() >= count;
}

int WsjtxPeer::typeOf(const QByteArray& datagram)
{
    if (datagram.size() < 12)
        return -1;
    QDataStream stream(datagram.mid(8, 4));
    quint32 type = 0;
    stream >> type;
    return static_cast<int>(type);
}

bool WsjtxPeer::obeys(const QByteArray& datagram) const
{
    QDataStream in(datagram);
    quint32 magic = 0;
    quint32 schema = 0;
    quint32 type = 0;
    QByteArray to;
    in >> magic >> schema >> type >> to;
    if (in.status() != QDataStream::Ok || magic != 0xadbccbdau || schema > 3 || to != id().toUtf8())
        return false;
    // Clear, Reply, Replay, Halt Tx, Free Text, Location, Configure; JTDX has
    // no Clear, Location or Configure.
    const QList<quint32> requests =
        shape == Shape::Jtdx ? QList<quint32>{4, 7, 8, 9} : QList<quint32>{3, 4, 7, 8, 9, 11, 15};
    return requests.contains(type);
}

void WsjtxPeer::readAll()
{
    while (socket->hasPendingDatagrams()) {
        const QByteArray datagram = socket->receiveDatagram().data();
        (obeys(datagram) ? received : ignored) << datagram;
    }
}
