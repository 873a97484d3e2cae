#include "wsjtxpeer.h"

#include <QDataStream>
#include <QNetworkDatagram>

WsjtxPeer::WsjtxPeer(Shape shape) : shape(shape)
{
    connect(&socket, &QUdpSocket::readyRead, this, [this] {
        while (socket.hasPendingDatagrams()) {
            const QByteArray datagram = socket.receiveDatagram().data();
            (obeys(datagram) ? received : ignored) << datagram;
        }
    });
}

QByteArray WsjtxPeer::u32(quint32 value)
{
    QByteArray out;
    QDataStream(&out, QIODevice::WriteOnly) << value;
    return out;
}

QByteArray WsjtxPeer::rawText(const QByteArray& bytes, Shape shape)
{
    if (bytes.isEmpty() && shape == Shape::Wsjtx)
        return QByteArray::fromHex("ffffffff");
    return u32(static_cast<quint32>(bytes.size())) + bytes;
}

QByteArray WsjtxPeer::heartbeat(Shape shape, quint32 schema)
{
    // Maximum schema, version and (WSJT-X only) revision.
    return header(0, idOf(shape), schema) + u32(3) +
           (shape == Shape::Jtdx ? rawText("2.2.159", shape) : rawText("2.6.1") + rawText(""));
}

QByteArray WsjtxPeer::status(const StatusFields& f, Shape shape)
{
    auto t = [shape](const QString& value) { return rawText(value.toUtf8(), shape); };
    const QByteArray flag(1, '\0');
    // Dial frequency, mode, DX call, report, Tx mode, Tx enabled, transmitting,
    // decoding, Rx DF, Tx DF, DE call Q1ABC, DE grid FN31, DX grid, watchdog,
    // sub-mode, fast mode, special mode (JTDX: Tx first).
    QByteArray out = header(1, idOf(shape)) + QByteArray::fromHex("0000000000d6c090") + t("FT8") +
                     t(f.dxCall) + t(f.report) + t("FT8") + char(f.txEnabled) + flag + flag +
                     u32(1500) + u32(1500) + t("Q1ABC") + t("FN31") + t("") + char(f.txWatchdog) +
                     t("") + flag + flag;
    if (shape == Shape::Jtdx)
        return out;
    // Frequency tolerance, T/R period, configuration name, Tx message.
    return out + u32(0xffffffffu) + u32(0xffffffffu) + t("Default") + t(f.txMessage);
}

QByteArray WsjtxPeer::decode(const QByteArray& message, quint32 time, qint32 snr, Shape shape)
{
    // New, time, SNR, delta time 0.1, delta frequency, mode, message, low
    // confidence, off air.
    return header(2, idOf(shape)) + char(1) + u32(time) + u32(static_cast<quint32>(snr)) +
           QByteArray::fromHex("3fb999999999999a") + u32(1200) + rawText("~", shape) +
           rawText(message, shape) + QByteArray(2, '\0');
}

bool WsjtxPeer::obeys(const QByteArray& datagram) const
{
    QDataStream in(datagram);
    quint32 magic = 0, schema = 0, type = 0;
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
