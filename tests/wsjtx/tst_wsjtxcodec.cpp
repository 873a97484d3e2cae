#include "wsjtx/wsjtxcodec.h"
#include "wsjtxpeer.h"

#include <QTest>

using namespace WsjtxCodec;

class TestWsjtxCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primitives_data();
    void primitives();
    void writers();
    void shortPrimitivesReadZero();
    void headerSkipsIdOfAnyLength();
    void nullTextsKeepFieldsAligned();
    void statusReadsEveryField();
    void trailingBytesAreIgnored();
    void decodeHostileValues();
    void truncatedStatusAndDecode();
    void overlongTextLength();
    void replyFromDecode_data();
    void replyFromDecode();
    void replyNeedsCompleteDecode();
    void outgoingMessages_data();
    void outgoingMessages();
    void decodeLineLayout();
    void markers_data();
    void markers();
};

void TestWsjtxCodec::primitives_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("value");
    QTest::newRow("twelve") << QByteArray::fromHex("0000000c") << 12;
    QTest::newRow("minus two") << QByteArray::fromHex("fffffffe") << -2;
    QTest::newRow("null length") << QByteArray::fromHex("ffffffff") << 0;
    QTest::newRow("extra bytes ignored") << QByteArray::fromHex("00000100ff") << 256;
}

void TestWsjtxCodec::primitives()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, value);
    QCOMPARE(int32Val(bytes), value);
}

void TestWsjtxCodec::writers()
{
    QCOMPARE(int32Array(2), QByteArray::fromHex("00000002"));
    QCOMPARE(int32Array(0xffffffffu), QByteArray::fromHex("ffffffff"));
    QCOMPARE(int8Array(0), QByteArray(1, '\0'));
    QCOMPARE(int8Array(0xab), QByteArray::fromHex("ab"));
    QCOMPARE(int64Val(QByteArray::fromHex("0000000000d6c090")), qint64(14074000));
    QCOMPARE(int64Val(QByteArray::fromHex("ffffffffffffffff")), qint64(-1));
    QCOMPARE(floatVal(QByteArray::fromHex("3ff8000000000000")), 1.5);
    QCOMPARE(floatVal(QByteArray::fromHex("c000000000000000")), -2.0);
    // The text length counts UTF-8 bytes, not characters.
    QCOMPARE(textArray(QString::fromUtf8("Qu\xc3\xa9")),
             QByteArray::fromHex("00000004") + "Qu\xc3\xa9");
}

void TestWsjtxCodec::shortPrimitivesReadZero()
{
    QCOMPARE(int32Val(QByteArray::fromHex("000001")), 0);
    QCOMPARE(int64Val(QByteArray::fromHex("00000000000001")), qint64(0));
    QCOMPARE(floatVal(QByteArray()), 0.0);
    Reader in(QByteArray::fromHex("0102"));
    QCOMPARE(in.u32(), 0u);
    QVERIFY(in.truncated());
    QCOMPARE(in.u8(), quint8(0)); // once past the end, everything reads as zero
}

void TestWsjtxCodec::headerSkipsIdOfAnyLength()
{
    const QByteArray beat = WsjtxPeer::heartbeat("ABCDEF");
    const Header head = readHeader(beat);
    QVERIFY(head.valid);
    QCOMPARE(head.type, 0u);
    QCOMPARE(head.id, QString("ABCDEF"));
    QCOMPARE(head.bodyOffset, qsizetype(22));
    QCOMPARE(int32Val(beat.mid(22)), 3);
    QCOMPARE(readHeartbeat(beat).maxSchema, 3u);
    QCOMPARE(readHeartbeat(beat).version, QString("2.6.1"));

    QByteArray wrongMagic = beat;
    wrongMagic[3] = char(0xdb);
    QVERIFY(!readHeader(wrongMagic).valid);
}

void TestWsjtxCodec::nullTextsKeepFieldsAligned()
{
    WsjtxPeer::StatusFields fields;
    fields.dxCall = ""; // WSJT-X writes FF FF FF FF for it
    fields.txEnabled = true;
    fields.txWatchdog = true;
    fields.txMessage = "CQ POTA Q1ABC FN31";
    const QByteArray data = WsjtxPeer::status(fields);
    QVERIFY(data.contains(QByteArray::fromHex("ffffffff")));
    const StatusMsg status = readStatus(data);
    QCOMPARE(status.dxCall, QString());
    QCOMPARE(status.mode, QString("FT8"));
    QVERIFY(status.txEnabled);
    QVERIFY(status.txWatchdog);
    QCOMPARE(status.txMessage, QString("CQ POTA Q1ABC FN31"));
}

void TestWsjtxCodec::statusReadsEveryField()
{
    WsjtxPeer::StatusFields f;
    f.dialFrequency = 7074000;
    f.dxCall = "Q2XX";
    f.report = "-05";
    f.transmitting = true;
    f.rxDF = 900;
    f.txDF = 1100;
    f.dxGrid = "FN42";
    f.subMode = "A";
    f.fastMode = true;
    f.specialMode = 7;
    f.frequencyTolerance = 20;
    f.trPeriod = 15;
    f.txMessage = "Q2XX Q1ABC -05";
    const StatusMsg s = readStatus(WsjtxPeer::status(f, "WSJT-X - Rig 2"));
    QCOMPARE(s.dialFrequency, quint64(7074000));
    QCOMPARE(s.dxCall, QString("Q2XX"));
    QCOMPARE(s.report, QString("-05"));
    QVERIFY(!s.txEnabled);
    QVERIFY(s.transmitting);
    QCOMPARE(s.rxDF, 900u);
    QCOMPARE(s.txDF, 1100u);
    QCOMPARE(s.deCall, QString("Q1ABC"));
    QCOMPARE(s.dxGrid, QString("FN42"));
    QCOMPARE(s.subMode, QString("A"));
    QVERIFY(s.fastMode);
    QCOMPARE(s.specialMode, quint8(7));
    QCOMPARE(s.frequencyTolerance, 20u);
    QCOMPARE(s.trPeriod, 15u);
    QCOMPARE(s.configurationName, QString("Default"));
    QCOMPARE(s.txMessage, QString("Q2XX Q1ABC -05"));
}

void TestWsjtxCodec::trailingBytesAreIgnored()
{
    WsjtxPeer::StatusFields f;
    f.txMessage = "Q2XX Q1ABC R-07";
    const StatusMsg s = readStatus(WsjtxPeer::status(f) + QByteArray::fromHex("0102030405"));
    QCOMPARE(s.txMessage, QString("Q2XX Q1ABC R-07"));
    const DecodeMsg d = readDecode(WsjtxPeer::decode("CQ POTA Q2XX FN31") + "\x01\x02");
    QCOMPARE(d.message, QByteArray("CQ POTA Q2XX FN31"));
    QVERIFY(d.complete);
}

void TestWsjtxCodec::decodeHostileValues()
{
    WsjtxPeer::DecodeFields f;
    f.time = 0xffffffffu; // far more than a day
    f.snr = -24;
    f.deltaFrequency = 2950;
    f.message = QByteArray("Q1ABC \xff\xfe\x80 -12");
    f.lowConfidence = true;
    const DecodeMsg d = readDecode(WsjtxPeer::decode(f));
    QVERIFY(d.complete);
    QCOMPARE(d.snr, -24);
    QVERIFY(d.lowConfidence);
    QCOMPARE(d.message, f.message);
    const QString line = decodeLine(d);
    QCOMPARE(line.left(15), QString("%1 -24 2950").arg(timeText(0xffffffffu)));
    QCOMPARE(timeText(0xffffffffu).size(), 6);
    QVERIFY(line.endsWith(" -12"));
}

void TestWsjtxCodec::truncatedStatusAndDecode()
{
    WsjtxPeer::StatusFields f;
    f.dxCall = "Q2XX";
    f.txEnabled = true;
    f.txMessage = "Q2XX Q1ABC -05";
    const QByteArray status = WsjtxPeer::status(f);
    for (qsizetype n = 0; n <= status.size(); ++n) {
        // A copy of exactly n bytes, so that any read past it would be caught
        // by the sanitizers rather than land in the rest of the buffer.
        const QByteArray cut(status.constData(), n);
        const StatusMsg s = readStatus(cut);
        if (n < status.size())
            QVERIFY2(s.txMessage.isEmpty(), qPrintable(QString("length %1").arg(n)));
        else
            QCOMPARE(s.txMessage, f.txMessage);
    }
    const QByteArray decode = WsjtxPeer::decode("Q1ABC Q2XX -12", 52500000, -12);
    for (qsizetype n = 0; n <= decode.size(); ++n) {
        const QByteArray cut(decode.constData(), n);
        const DecodeMsg d = readDecode(cut);
        QCOMPARE(d.complete, n == decode.size());
        QVERIFY(d.message.isEmpty() || d.message == QByteArray("Q1ABC Q2XX -12"));
        QCOMPARE(replyMessage(cut).isEmpty(), n < decode.size());
        decodeLine(d);
    }
}

void TestWsjtxCodec::overlongTextLength()
{
    // A text length that runs past the datagram reads as empty and the
    // fields after it as zero.
    QByteArray data = WsjtxPeer::header(2) + '\x01' + WsjtxPeer::u32(1000) + WsjtxPeer::u32(5) +
                      QByteArray(8, '\0') + WsjtxPeer::u32(10) + WsjtxPeer::u32(0x7ffffff0u) +
                      "abc";
    const DecodeMsg d = readDecode(data);
    QCOMPARE(d.time, 1000u);
    QCOMPARE(d.snr, 5);
    QCOMPARE(d.deltaFrequency, 10u);
    QVERIFY(d.mode.isEmpty());
    QVERIFY(d.message.isEmpty());
    QVERIFY(!d.complete);
    QCOMPARE(readLoggedAdif(WsjtxPeer::header(12) + WsjtxPeer::u32(0xfffffff0u) + "<call"),
             QString());
}

void TestWsjtxCodec::replyFromDecode_data()
{
    QTest::addColumn<bool>("offAir");
    QTest::addColumn<bool>("lowConfidence");
    QTest::newRow("on air") << false << false;
    QTest::newRow("off air, low confidence") << true << true;
}

void TestWsjtxCodec::replyFromDecode()
{
    QFETCH(bool, offAir);
    QFETCH(bool, lowConfidence);
    WsjtxPeer::DecodeFields f;
    f.message = "CQ POTA Q2XX FN31";
    f.offAir = offAir;
    f.lowConfidence = lowConfidence;
    const QByteArray decode = WsjtxPeer::decode(f);
    const QByteArray reply = replyMessage(decode);
    QCOMPARE(reply.size(), decode.size() - 1);
    QCOMPARE(int32Val(reply.mid(8)), 4);
    QCOMPARE(reply.back(), '\0');
    // Header as received; the body is the decode without its new flag.
    const qsizetype body = readHeader(decode).bodyOffset;
    QCOMPARE(reply.left(8), decode.left(8));
    QCOMPARE(reply.mid(12, body - 12), decode.mid(12, body - 12));
    QCOMPARE(reply.mid(body, reply.size() - body - 1),
             decode.mid(body + 1, decode.size() - body - 2));
    QCOMPARE(bool(reply.at(reply.size() - 2)), lowConfidence);

    // Fields a newer WSJT-X appends are not carried into the reply.
    QCOMPARE(replyMessage(decode + "\x07\x07"), reply);
}

void TestWsjtxCodec::replyNeedsCompleteDecode()
{
    QVERIFY(replyMessage(QByteArray()).isEmpty());
    QVERIFY(replyMessage(WsjtxPeer::heartbeat()).isEmpty());
}

void TestWsjtxCodec::outgoingMessages_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray head = QByteArray::fromHex("adbccbda00000002");
    const QByteArray id = QByteArray::fromHex("00000005") + "QQ7QQ";
    auto type = [&](uint t) { return head + int32Array(t) + id; };
    QTest::newRow("clear") << clearMessage() << type(3) + QByteArray(1, '\0');
    QTest::newRow("replay") << replayMessage() << type(7);
    QTest::newRow("halt") << haltTxMessage() << type(8) + QByteArray(1, '\0');
    QTest::newRow("free text") << freeTextMessage("DE K-0001 73", false)
                               << type(9) + QByteArray::fromHex("0000000c") + "DE K-0001 73" +
                                      QByteArray(1, '\0');
    QTest::newRow("free text sent")
        << freeTextMessage("", true) << type(9) + QByteArray::fromHex("0000000001");
    QTest::newRow("location") << locationMessage("FN31pr")
                              << type(11) + QByteArray::fromHex("00000006") + "FN31pr";
    QTest::newRow("configure")
        << configureMessage()
        << type(15) + QByteArray::fromHex(
                          "00000000ffffffff0000000000ffffffffffffffff0000000120000000012000");
}

void TestWsjtxCodec::outgoingMessages()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, expected);
    QCOMPARE(message.toHex(), expected.toHex());
}

void TestWsjtxCodec::decodeLineLayout()
{
    WsjtxPeer::DecodeFields f;
    f.time = 52500000;
    f.snr = -3;
    f.deltaFrequency = 650;
    f.message = "CQ POTA Q2XX FN31";
    QCOMPARE(decodeLine(readDecode(WsjtxPeer::decode(f))),
             QString("143500  -3  650 CQ POTA Q2XX FN31"));
    QCOMPARE(headerLine(), QString(" UTC    dB Freq Message                  "));
    QCOMPARE(timeText(0), QString("000000"));
    QCOMPARE(timeText(86399999), QString("235959"));
}

void TestWsjtxCodec::markers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("report");
    QTest::addColumn<bool>("signOff");
    QTest::newRow("grid") << QByteArray("Q1ABC Q2XX FN42") << false << false;
    QTest::newRow("minus") << QByteArray("Q1ABC Q2XX -12") << true << false;
    QTest::newRow("plus") << QByteArray("Q1ABC Q2XX +03") << true << false;
    QTest::newRow("R minus") << QByteArray("Q1ABC Q2XX R-08") << true << false;
    QTest::newRow("RR73") << QByteArray("Q1ABC Q2XX RR73") << false << true;
    QTest::newRow("RRR") << QByteArray("Q1ABC Q2XX RRR") << false << true;
    QTest::newRow("73") << QByteArray("Q1ABC Q2XX 73") << false << true;
    QTest::newRow("lower case") << QByteArray("q1abc q2xx rr73") << false << false;
    QTest::newRow("hyphen in call") << QByteArray("Q1ABC-1 Q2XX") << false << false;
}

void TestWsjtxCodec::markers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, report);
    QFETCH(bool, signOff);
    QCOMPARE(hasReport(text), report);
    QCOMPARE(hasSignOff(text), signOff);
}

QTEST_GUILESS_MAIN(TestWsjtxCodec)
#include "tst_wsjtxcodec.moc"
