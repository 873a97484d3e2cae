#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// WSJT-X's UDP messages: big-endian numbers (QDataStream's encoding) and texts
// made of a u32 length followed by UTF-8 bytes, the length FF FF FF FF marking
// a null text. Every reader here is bounds-checked: a field lying past the end
// of the datagram reads as 0 or as an empty text, and nothing is ever read
// beyond the last byte. Trailing bytes appended by newer WSJT-X versions are
// ignored.
namespace WsjtxCodec
{
// Message types we read or write.
enum Type : quint32 {
    Heartbeat = 0,
    Status = 1,
    Decode = 2,
    Clear = 3,
    Reply = 4,
    Replay = 7,
    HaltTx = 8,
    FreeText = 9,
    Location = 11,
    LoggedAdif = 12,
    Configure = 15,
};

QByteArray magic(); // AD BC CB DA

// The instance a message goes to, as its latest datagram named it. JTDX and
// older WSJT-X releases act only on datagrams carrying exactly their own id,
// and each reads the schema it announced itself.
struct Client {
    QByteArray id;
    quint32 schema = 2;
};

// Primitive readers; each reads from the first byte of `data`.
// int32Val gives 0 for FF FF FF FF so that a null text length reads as empty.
int int32Val(const QByteArray& data);
qint64 int64Val(const QByteArray& data);
double floatVal(const QByteArray& data);

// Primitive writers.
QByteArray int8Array(uchar val);
QByteArray int32Array(uint val);
QByteArray textArray(const QString& text); // length in UTF-8 bytes, then the bytes

// Sequential reader over one datagram.
class Reader
{
public:
    explicit Reader(const QByteArray& data, qsizetype offset = 0) : bytes(data), position(offset) {}

    quint8 u8();
    bool boolean() { return u8() != 0; }
    quint32 u32();
    qint32 i32() { return static_cast<qint32>(u32()); }
    quint64 u64();
    double real();
    QByteArray textBytes(); // raw UTF-8; null and over-long texts give empty
    QString text() { return QString::fromUtf8(textBytes()); }

    qsizetype pos() const { return position; }
    // True once a field needed more bytes than were left.
    bool truncated() const { return shortRead; }

private:
    bool take(qsizetype size);
    // A copy (shared, not duplicated): a reference would dangle when the
    // reader is built from a temporary.
    const QByteArray bytes;
    qsizetype position;
    bool shortRead = false;
};

struct Header {
    bool valid = false; // magic number matched
    quint32 schema = 0;
    quint32 type = 0;
    QByteArray id;            // as sent: the answer must carry it byte for byte
    qsizetype bodyOffset = 0; // first byte after the id
};

struct HeartbeatMsg {
    quint32 maxSchema = 0;
    QString version;
    QString revision;
};

struct StatusMsg {
    quint64 dialFrequency = 0;
    QString mode;
    QString dxCall;
    QString report;
    QString txMode;
    bool txEnabled = false;
    bool transmitting = false;
    bool decoding = false;
    quint32 rxDF = 0;
    quint32 txDF = 0;
    QString deCall;
    QString deGrid;
    QString dxGrid;
    bool txWatchdog = false;
    QString subMode;
    bool fastMode = false;
    quint8 specialMode = 0;
    quint32 frequencyTolerance = 0;
    quint32 trPeriod = 0;
    QString configurationName;
    QString txMessage;
    // JTDX's Status ends after fast mode with a Tx-first flag (read as the
    // special operation mode): no tolerance, T/R period, configuration or Tx message.
    bool hasTxMessage = false;
};

struct DecodeMsg {
    bool isNew = false;
    quint32 time = 0; // milliseconds since UTC midnight
    qint32 snr = 0;
    double deltaTime = 0.0;
    quint32 deltaFrequency = 0;
    QString mode;
    QByteArray message; // raw UTF-8, compared byte for byte
    bool lowConfidence = false;
    bool offAir = false;
    bool complete = false; // every field up to off air was present
    qsizetype newFlagOffset = 0;
    qsizetype offAirOffset = 0;
};

Header readHeader(const QByteArray& data);
HeartbeatMsg readHeartbeat(const QByteArray& data);
StatusMsg readStatus(const QByteArray& data);
DecodeMsg readDecode(const QByteArray& data);
QString readLoggedAdif(const QByteArray& data);

// Outgoing messages, each with the schema and id of the client it goes to.
QByteArray header(quint32 type, const Client& to);
QByteArray clearMessage(const Client& to);
// Reply to a decode: the decode datagram (header included, so it goes back
// with the sender's own id and schema) without its new flag, type 4, and
// the off-air byte replaced by modifiers 0. Empty when the decode lacks any of
// its fields (nothing sensible can be sent back then); trailing bytes of newer
// versions are dropped so that the last byte really is the modifiers.
QByteArray replyMessage(const QByteArray& decode);
QByteArray replayMessage(const Client& to);
QByteArray haltTxMessage(const Client& to);
QByteArray freeTextMessage(const Client& to, const QString& text, bool send);
QByteArray locationMessage(const Client& to, const QString& grid);
QByteArray configureMessage(const Client& to);

// Report markers " +", " R+", " -", " R-"; sign-off markers " 73", " RR73", " RRR".
bool hasReport(const QByteArray& text);
bool hasSignOff(const QByteArray& text);

// Column titles and one decode line of the results view.
QString headerLine();
QString timeText(quint32 msecs); // hhmmss; times past a day wrap round
QString decodeLine(const DecodeMsg& decode);
} // namespace WsjtxCodec
