#include "wsjtx/wsjtxcodec.h"
#include "wsjtxpeer.h"

#include <QTest>

using namespace WsjtxCodec;

class TestWsjtxCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The reader follows the id's length and empty texts (null from WSJT-X, of
    // length 0 from JTDX) to the later fields; JTDX's Status ends early, and
    // fields a newer WSJT-X appends are ignored. A text written counts its
    // length in UTF-8 bytes, not characters. (The link tests check every
    // message sent in full.)
    void fieldsStayAligned()
    {
        QCOMPARE(textArray(QString::fromUtf8("Qu\xc3\xa9")),
                 QByteArray::fromHex("00000004") + "Qu\xc3\xa9");
        const QByteArray six = WsjtxPeer::header(0, "ABCDEF") + WsjtxPeer::u32(3);
        QCOMPARE(readHeader(six).bodyOffset, qsizetype(22));
        QCOMPARE(readHeartbeat(six).maxSchema, 3u);
        for (const auto shape : {WsjtxPeer::Shape::Wsjtx, WsjtxPeer::Shape::Jtdx}) {
            const bool jtdx = shape == WsjtxPeer::Shape::Jtdx;
            // The DX call before the report is empty; Tx enabled, watchdog on.
            const WsjtxPeer::StatusFields f{"", "-05", "CQ POTA Q1ABC FN31", true, true};
            const StatusMsg status =
                readStatus(WsjtxPeer::status(f, shape) +
                           (jtdx ? QByteArray() : QByteArray::fromHex("0102030405")));
            QCOMPARE(status.dxCall + '|' + status.report + '|' + status.deGrid, "|-05|FN31");
            QVERIFY(status.txEnabled && status.txWatchdog);
            QCOMPARE(status.hasTxMessage, !jtdx);
            QCOMPARE(status.txMessage, jtdx ? QString() : f.txMessage);
        }
    }

    // Whatever a datagram is cut to, nothing is read past its end (each cut is a
    // copy of exactly that many bytes, for the sanitizers), a cut field reads as
    // empty and no reply is built from a cut decode: too few bytes read as 0,
    // and so does everything after them.
    void cutAtEveryLength()
    {
        Reader in(QByteArray::fromHex("0102"));
        QCOMPARE(in.u32(), 0u);
        QVERIFY(in.truncated());
        QCOMPARE(in.u8(), quint8(0));
        const WsjtxPeer::StatusFields f{"Q2XX", "", "Q2XX Q1ABC -05", false, false};
        const QByteArray status = WsjtxPeer::status(f);
        for (qsizetype n = 0; n <= status.size(); ++n)
            QCOMPARE(readStatus(QByteArray(status.constData(), n)).txMessage,
                     n == status.size() ? f.txMessage : QString());
        const QByteArray decode = WsjtxPeer::decode("Q1ABC Q2XX -12", 52500000, -12);
        for (qsizetype n = 0; n <= decode.size(); ++n) {
            const QByteArray cut(decode.constData(), n);
            const DecodeMsg d = readDecode(cut);
            QCOMPARE(d.complete, n == decode.size());
            QVERIFY(d.message.isEmpty() || d.message == QByteArray("Q1ABC Q2XX -12"));
            QCOMPARE(replyMessage(cut).isEmpty(), n < decode.size());
            decodeLine(d);
        }
        const QByteArray adif = WsjtxPeer::loggedAdif("<call:4>Q2XX <EOR>");
        for (qsizetype n = 0; n <= adif.size(); ++n)
            QCOMPARE(readLoggedAdif(QByteArray(adif.constData(), n)).isEmpty(), n < adif.size());
        // A text length far past the end reads as empty.
        QCOMPARE(readLoggedAdif(WsjtxPeer::header(12) + WsjtxPeer::u32(0xfffffff0u) + "<call"),
                 QString());
        // A time past a day, a negative SNR and text that is not UTF-8 are shown.
        const QByteArray hostile("Q1ABC \xff\xfe\x80 -12");
        QCOMPARE(decodeLine(readDecode(WsjtxPeer::decode(hostile, 0xffffffffu, -24))),
                 "170247 -24 1200 " + QString::fromUtf8(hostile));
    }

    // The decode's header as received with type 4, its body without the new flag,
    // and the modifiers 0 in place of the off-air flag.
    void replyFromDecode()
    {
        QByteArray decode = WsjtxPeer::decode("CQ POTA Q2XX FN31");
        decode[decode.size() - 2] = 1; // low confidence: carried into the reply
        decode[decode.size() - 1] = 1; // off air
        const qsizetype body = readHeader(decode).bodyOffset;
        const QByteArray reply = decode.left(8) + int32Array(4) + decode.mid(12, body - 12) +
                                 decode.mid(body + 1).chopped(1) + '\0';
        QCOMPARE(replyMessage(decode).toHex(), reply.toHex());
        // Fields a newer WSJT-X appends are not carried into the reply.
        QCOMPARE(replyMessage(decode + "\x07\x07"), reply);
        QVERIFY(replyMessage(WsjtxPeer::heartbeat()).isEmpty());
    }

    // The link tests cover " -", " R+", " RR73" and a grid; these cover the rest.
    void markers()
    {
        QString got; // report, sign-off
        for (const char* text : {"Q1ABC Q2XX +03", "Q1ABC Q2XX R-08", "Q1ABC Q2XX RRR",
                                 "Q1ABC Q2XX 73", "Q1ABC-1 Q2XX"})
            got += QString("%1%2 ").arg(int(hasReport(text))).arg(int(hasSignOff(text)));
        QCOMPARE(got, QString("10 10 01 01 00 "));
    }
};

QTEST_GUILESS_MAIN(TestWsjtxCodec)
#include "tst_wsjtxcodec.moc"
