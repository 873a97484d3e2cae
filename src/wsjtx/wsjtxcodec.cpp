#include "wsjtx/wsjtxcodec.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <cstring>

namespace WsjtxCodec
{
QByteArray magic()
{
    return QByteArray::fromHex("adbccbda");
}

int int32Val(const QByteArray& data)
{
    if (data.size() < 4 || data.startsWith(QByteArray::fromHex("ffffffff")))
        return 0;
    QDataStream in(data);
    qint32 value = 0;
    in >> value;
    return value;
}

qint64 int64Val(const QByteArray& data)
{
    if (data.size() < 8)
        return 0;
    QDataStream in(data);
    qint64 value = 0;
    in >> value;
    return value;
}

double floatVal(const QByteArray& data)
{
    if (data.size() < 8)
        return 0.0;
    QDataStream in(data);
    in.setFloatingPointPrecision(QDataStream::DoublePrecision);
    double value = 0.0;
    in >> value;
    return value;
}

QByteArray int8Array(uchar val)
{
    return QByteArray(1, static_cast<char>(val));
}

QByteArray int32Array(uint val)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << static_cast<quint32>(val);
    return out;
}

QByteArray textArray(const QString& text)
{
    // The length counts UTF-8 bytes, not characters, so a park name with an
    // accent cannot shift every field after it.
    const QByteArray utf8 = text.toUtf8();
    return int32Array(static_cast<uint>(utf8.size())) + utf8;
}

bool Reader::take(qsizetype size)
{
    if (size < 0 || position < 0 || position > bytes.size() || bytes.size() - position < size) {
        position = bytes.size();
        shortRead = true;
        return false;
    }
    return true;
}

quint8 Reader::u8()
{
    if (!take(1))
        return 0;
    return static_cast<quint8>(bytes.at(position++));
}

quint32 Reader::u32()
{
    if (!take(4))
        return 0;
    const quint32 value = qFromBigEndian<quint32>(bytes.constData() + position);
    position += 4;
    return value;
}

quint64 Reader::u64()
{
    if (!take(8))
        return 0;
    const quint64 value = qFromBigEndian<quint64>(bytes.constData() + position);
    position += 8;
    return value;
}

double Reader::real()
{
    const quint64 raw = u64();
    double value = 0.0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

QByteArray Reader::textBytes()
{
    const quint32 length = u32();
    if (length == 0xffffffffu || length == 0)
        return {};
    if (!take(static_cast<qsizetype>(length)))
        return {};
    const QByteArray value = bytes.mid(position, static_cast<qsizetype>(length));
    position += static_cast<qsizetype>(length);
    return value;
}

Header readHeader(const QByteArray& data)
{
    Header header;
    header.valid = data.startsWith(magic());
    Reader in(data, 4);
    header.schema = in.u32();
    header.type = in.u32();
    header.id = in.textBytes();
    header.bodyOffset = in.pos();
    return header;
}

HeartbeatMsg readHeartbeat(const QByteArray& data)
{
    HeartbeatMsg msg;
    Reader in(data, readHeader(data).bodyOffset);
    msg.maxSchema = in.u32();
    msg.version = in.text();
    msg.revision = in.text();
    return msg;
}

StatusMsg readStatus(const QByteArray& data)
{
    StatusMsg msg;
    Reader in(data, readHeader(data).bodyOffset);
    msg.dialFrequency = in.u64();
    msg.mode = in.text();
    msg.dxCall = in.text();
    msg.report = in.text();
    msg.txMode = in.text();
    msg.txEnabled = in.boolean();
    msg.transmitting = in.boolean();
    msg.decoding = in.boolean();
    msg.rxDF = in.u32();
    msg.txDF = in.u32();
    msg.deCall = in.text();
    msg.deGrid = in.text();
    msg.dxGrid = in.text();
    msg.txWatchdog = in.boolean();
    msg.subMode = in.text();
    msg.fastMode = in.boolean();
    msg.specialMode = in.u8();
    msg.frequencyTolerance = in.u32();
    msg.trPeriod = in.u32();
    msg.configurationName = in.text();
    msg.txMessage = in.text();
    msg.hasTxMessage = !in.truncated();
    return msg;
}

DecodeMsg readDecode(const QByteArray& data)
{
    DecodeMsg msg;
    Reader in(data, readHeader(data).bodyOffset);
    msg.newFlagOffset = in.pos();
    msg.isNew = in.boolean();
    msg.time = in.u32();
    msg.snr = in.i32();
    msg.deltaTime = in.real();
    msg.deltaFrequency = in.u32();
    msg.mode = in.text();
    msg.message = in.textBytes();
    msg.lowConfidence = in.boolean();
    msg.offAirOffset = in.pos();
    msg.offAir = in.boolean();
    msg.complete = !in.truncated();
    return msg;
}

QString readLoggedAdif(const QByteArray& data)
{
    Reader in(data, readHeader(data).bodyOffset);
    return in.text();
}

QByteArray header(quint32 type, const Client& to)
{
    return magic() + int32Array(to.schema) + int32Array(type) +
           int32Array(static_cast<uint>(to.id.size())) + to.id;
}

QByteArray clearMessage(const Client& to)
{
    return header(Clear, to) + int8Array(0); // 0: the band activity window
}

QByteArray replyMessage(const QByteArray& decode)
{
    const Header head = readHeader(decode);
    const DecodeMsg msg = readDecode(decode);
    if (!head.valid || head.type != Decode || !msg.complete)
        return {};
    QByteArray reply = decode.left(msg.offAirOffset);
    reply.remove(msg.newFlagOffset, 1);
    reply.replace(8, 4, int32Array(Reply));
    reply += int8Array(0); // modifiers: none
    return reply;
}

QByteArray replayMessage(const Client& to)
{
    return header(Replay, to);
}

QByteArray haltTxMessage(const Client& to)
{
    return header(HaltTx, to) + int8Array(0); // auto-Tx only: false
}

QByteArray freeTextMessage(const Client& to, const QString& text, bool send)
{
    return header(FreeText, to) + textArray(text) + int8Array(send ? 1 : 0);
}

QByteArray locationMessage(const Client& to, const QString& grid)
{
    return header(Location, to) + textArray(grid);
}

QByteArray configureMessage(const Client& to)
{
    const QByteArray unchanged = QByteArray::fromHex("ffffffff");
    const QByteArray empty = QByteArray::fromHex("00000000");
    return header(Configure, to) + empty // mode
           + unchanged                   // frequency tolerance
           + empty                       // sub-mode
           + int8Array(0)                // fast mode
           + unchanged                   // T/R period
           + unchanged                   // Rx DF
           + textArray(" ")              // DX call
           + textArray(" ")              // DX grid
           + int8Array(0);               // generate messages
}

bool hasReport(const QByteArray& text)
{
    for (const char* marker : {" +", " R+", " -", " R-"})
        if (text.contains(marker))
            return true;
    return false;
}

bool hasSignOff(const QByteArray& text)
{
    for (const char* marker : {" 73", " RR73", " RRR"})
        if (text.contains(marker))
            return true;
    return false;
}

QString headerLine()
{
    return QString("%1 %2 %3 %4").arg("UTC  ", 6).arg("dB", 3).arg("Freq", 4).arg("Message", -25);
}

QString timeText(quint32 msecs)
{
    // WSJT-X sends milliseconds since midnight; a value past a day is not a
    // time of day, so it wraps rather than growing the column.
    const quint32 seconds = (msecs / 1000u) % 86400u;
    return QString("%1%2%3")
        .arg(seconds / 3600u, 2, 10, QChar('0'))
        .arg(seconds / 60u % 60u, 2, 10, QChar('0'))
        .arg(seconds % 60u, 2, 10, QChar('0'));
}

QString decodeLine(const DecodeMsg& decode)
{
    return QString("%1 %2 %3 %4")
        .arg(timeText(decode.time))
        .arg(decode.snr, 3)
        .arg(decode.deltaFrequency, 4)
        .arg(QString::fromUtf8(decode.message));
}

} // namespace WsjtxCodec
