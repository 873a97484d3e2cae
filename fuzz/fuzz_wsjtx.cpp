// Feeds arbitrary bytes to the WSJT-X datagram readers and the reply builder:
// none of them may read past the datagram, whatever its lengths claim.
#include "adif/adifcodec.h"
#include "wsjtx/wsjtxcodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that a read past the end hits the sanitizer.
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace WsjtxCodec;
    const Header header = readHeader(datagram);
    (void)readHeartbeat(datagram);
    (void)hasReport(readStatus(datagram).txMessage.toUtf8());
    const DecodeMsg decode = readDecode(datagram);
    (void)decodeLine(decode);
    (void)hasSignOff(decode.message);
    const QByteArray reply = replyMessage(datagram);
    if (!reply.isEmpty() && reply.size() != datagram.size() - 1 && header.type == Decode &&
        decode.offAirOffset + 1 == datagram.size())
        __builtin_trap(); // a reply is its decode less the new flag
    const QString adif = readLoggedAdif(datagram);
    (void)Adif::extractField(adif, "QSO_DATE");
    (void)Adif::extractField(adif, "CALL");
    return 0;
}
