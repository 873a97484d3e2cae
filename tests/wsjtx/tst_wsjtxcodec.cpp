#include "wsjtx/wsjtxcodec.h"
#include "wsjtxpeer.h"

#include <QTest>

using namespace WsjtxCodec;

class TestWsjtxCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primitives();
    void fieldsStayAligned_data();
    void fieldsStayAligned();
    void hostileDecodeIsShown();
    void truncatedStatusAndDecode();
    void replyFromDecode();
    void outgoingMessages_data();
    void outgoingMessages();
    void markers_data();
    void markers();
};

void TestWsjtxCodec::primitives()
{
    QCOMPARE(int32Val(QByteArray::fromHex("0000000c")), 12);
    QCOMPARE(int32Val(QByteArray::fromHex("fffffffe")), -2);
    QCOMPARE(int32Val(QByteArray::fromHex("ffffffff")), 0); // a null length
    QCOMPARE(int32Array(2), QByteArray::fromHex("00000002"));
    QCOMPARE(int8Array(0), QByteArray(1, '\0'));
    QCOMPARE(int64Val(QByteArray::fromHex("0000000000d6c090")), qint64(14074000));
    QCOMPARE(floatVal(QByteArray::fromHex("c000000000000000")), -2.0);
    // The text length counts UTF-8 bytes, not characters.
    QCOMPARE(textArray(QString::fromUtf8("Qu\xc3\xa9")),
             QByteArray::fromHex("00000004") + "Qu\xc3\xa9");

    // Too few bytes read as zero, and so does everything after them.
    QCOMPARE(int32Val(QByteArray::fromHex("000001")), 0);
    QCOMPARE(int64Val(QByteArray::fromHex("00000000000001")), qint64(0));
    QCOMPARE(floatVal(QByteArray()), 0.0);
    Reader in(QByteArray::fromHex("0102"));
    QCOMPARE(in.u32(), 0u);
    QVERIFY(in.truncated());
    QCOMPARE(in.u8(), quint8(0));
}

// The reader follows the id's length and empty texts (null from WSJT-X, of
// length 0 from JTDX) to the later fields; JTDX's Status ends early.
void TestWsjtxCodec::fieldsStayAligned_data()
{
    QTest::addColumn<bool>("jtdx");
    QTest::newRow("WSJT-X") << false;
    QTest::newRow("JTDX") << true;
}

void TestWsjtxCodec::fieldsStayAligned()
{
    QFETCH(bool, jtdx);
    const auto shape = jtdx ? WsjtxPeer::Shape::Jtdx : WsjtxPeer::Shape::Wsjtx;
    const QByteArray six = WsjtxPeer::header(0, "ABCDEF") + WsjtxPeer::u32(3);
    QCOMPARE(readHeader(six).bodyOffset, qsizetype(22));
    QCOMPARE(readHeartbeat(six).maxSchema, 3u);
    const Header head = readHeader(WsjtxPeer::heartbeat(shape, 3));
    QVERIFY(head.valid);
    QCOMPARE(head.id, WsjtxPeer::idOf(shape).toUtf8());
    QCOMPARE(head.schema, 3u);

    WsjtxPeer::StatusFields fields;
    fields.mode = "";
    fields.report = "-05";
    fields.txEnabled = true;
    fields.txWatchdog = true;
    fields.txMessage = "CQ POTA Q1ABC FN31";
    // Fields a newer WSJT-X appends are ignored.
    const StatusMsg status = readStatus(WsjtxPeer::status(fields, shape) +
                                        (jtdx ? QByteArray() : QByteArray::fromHex("0102030405")));
    QCOMPARE(status.mode, QString());
    QCOMPARE(status.report, fields.report);
    QVERIFY(status.txEnabled);
    QVERIFY(status.txWatchdog);
    QCOMPARE(status.deGrid, fields.deGrid);
    QCOMPARE(status.hasTxMessage, !jtdx);
    QCOMPARE(status.txMessage, jtdx ? QString() : fields.txMessage);
}

// A time past a day, a negative SNR and text that is not UTF-8.
void TestWsjtxCodec::hostileDecodeIsShown()
{
    WsjtxPeer::DecodeFields f;
    f.time = 0xffffffffu;
    f.snr = -24;
    f.message = QByteArray("Q1ABC \xff\xfe\x80 -12");
    QCOMPARE(decodeLine(readDecode(WsjtxPeer::decode(f))),
             "170247 -24 1200 " + QString::fromUtf8(f.message));
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
    // A text length past the end of the datagram reads as empty.
    QCOMPARE(readLoggedAdif(WsjtxPeer::header(12) + WsjtxPeer::u32(0xfffffff0u) + "<call"),
             QString());
}

void TestWsjtxCodec::replyFromDecode()
{
    WsjtxPeer::DecodeFields f;
    f.message = "CQ POTA Q2XX FN31";
    f.offAir = true;
    f.lowConfidence = true;
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
    QVERIFY(reply.at(reply.size() - 2));

    // Fields a newer WSJT-X appends are not carried into the reply.
    QCOMPARE(replyMessage(decode + "\x07\x07"), reply);
    QVERIFY(replyMessage(WsjtxPeer::heartbeat()).isEmpty());
}

void TestWsjtxCodec::outgoingMessages_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("expected");
    // Each goes out with the schema and id of the client it answers.
    const Client to{"JTDX", 3};
    const QByteArray id = QByteArray::fromHex("00000004") + "JTDX";
    auto type = [&](uint t) { return magic() + int32Array(3) + int32Array(t) + id; };
    QTest::newRow("clear") << clearMessage(to) << type(3) + QByteArray(1, '\0');
    QTest::newRow("replay") << replayMessage(to) << type(7);
    QTest::newRow("halt") << haltTxMessage(to) << type(8) + QByteArray(1, '\0');
    QTest::newRow("free text") << freeTextMessage(to, "DE K-0001 73", false)
                               << type(9) + QByteArray::fromHex("0000000c") + "DE K-0001 73" +
                                      QByteArray(1, '\0');
    QTest::newRow("location") << locationMessage(to, "FN31pr")
                              << type(11) + QByteArray::fromHex("00000006") + "FN31pr";
    QTest::newRow("configure")
        << configureMessage(to)
        << type(15) + QByteArray::fromHex(
                          "00000000ffffffff0000000000ffffffffffffffff0000000120000000012000");
}

void TestWsjtxCodec::outgoingMessages()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, expected);
    QCOMPARE(message.toHex(), expected.toHex());
}

// The link tests cover " -", " R+", " RR73" and a grid; these rows cover the other markers.
void TestWsjtxCodec::markers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("report");
    QTest::addColumn<bool>("signOff");
    QTest::newRow("plus") << QByteArray("Q1ABC Q2XX +03") << true << false;
    QTest::newRow("R minus") << QByteArray("Q1ABC Q2XX R-08") << true << false;
    QTest::newRow("RRR") << QByteArray("Q1ABC Q2XX RRR") << false << true;
    QTest::newRow("73") << QByteArray("Q1ABC Q2XX 73") << false << true;
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
