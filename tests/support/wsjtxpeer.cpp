#include "wsjtxpeer.h"

#include <QDataStream>
#include <QIODevice>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

WsjtxPeer::WsjtxPeer(QObject* parent) : QObject(parent), socket(new QUdpSocket(this))
{
    connect(socket, &QUdpSocket::readyRead, this, &WsjtxPeer::readAll);
}

QByteArray WsjtxPeer::u32(quint32 value)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << value;
    return out;
}

QByteArray WsjtxPeer::rawText(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QByteArray::fromHex("ffffffff");
    return u32(static_cast<quint32>(bytes.size())) + bytes;
}

QByteArray WsjtxPeer::text(const QString& value)
{
    return rawText(value.toUtf8());
}

QByteArray WsjtxPeer::header(quint32 type, const QString& id, quint32 schema)
{
    return QByteArray::fromHex("adbccbda") + u32(schema) + u32(type) + text(id);
}

QByteArray WsjtxPeer::heartbeat(const QString& id)
{
    return header(0, id) + u32(3) + text("2.6.1") + text("");
}

QByteArray WsjtxPeer::status(const StatusFields& f, const QString& id)
{
    QByteArray out = header(1, id);
    QDataStream stream(&out, QIODevice::WriteOnly | QIODevice::Append);
    stream << f.dialFrequency;
    out += text(f.mode) + text(f.dxCall) + text(f.report) + text(f.txMode);
    out += char(f.txEnabled);
    out += char(f.transmitting);
    out += char(f.decoding);
    out += u32(f.rxDF) + u32(f.txDF) + text(f.deCall) + text(f.deGrid) + text(f.dxGrid);
    out += char(f.txWatchdog);
    out += text(f.subMode);
    out += char(f.fastMode);
    out += char(f.specialMode);
    out +=
        u32(f.frequencyTolerance) + u32(f.trPeriod) + text(f.configurationName) + text(f.txMessage);
    return out;
}

QByteArray WsjtxPeer::decode(const DecodeFields& f, const QString& id)
{
    QByteArray out = header(2, id);
    out += char(f.isNew);
    out += u32(f.time) + u32(static_cast<quint32>(f.snr));
    QByteArray real;
    QDataStream stream(&real, QIODevice::WriteOnly);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    stream << f.deltaTime;
    out += real + u32(f.deltaFrequency) + text(f.mode) + rawText(f.message);
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

QByteArray WsjtxPeer::loggedAdif(const QString& adif, const QString& id)
{
    return header(12, id) + text(adif);
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

void WsjtxPeer::readAll()
{
    while (socket->hasPendingDatagrams())
        received << socket->receiveDatagram().data();
}
