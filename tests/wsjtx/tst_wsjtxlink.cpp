#include "db/parklogmemory.h"
#include "journey.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtxpeer.h"

#include <QSettings>
#include <QTimer>
#include <QUdpSocket>
#include <tuple>

using namespace WsjtxCodec;
using P = WsjtxPeer;
using Shape = P::Shape;

// A decode and what it leads to. Automatic reply is on in every status but
// Idle (0); setup J: JTDX, D: Q2XX in the park log, else search 1; `sent` is
// the type of the one datagram sent back, 0 for none.
struct DecodeRow {
    const char *name, *message;
    int status;
    const char *setup, *prompt, *after;
    int sent;
};
Q_DECLARE_METATYPE(DecodeRow)

// Drives a whole Parkbook, started as a fresh install, through its UDP server
// with a fake WSJT-X or JTDX on 127.0.0.1; then the datagram codec on its own.
class TestWsjtxLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
    std::unique_ptr<WsjtxPeer> peer;
    quint16 port = 0;

    // The Restart UDP Server button moves Parkbook to a free port with the
    // loopback address as the "group"; with `schema` the peer's heartbeat
    // then tells it who is there (the Location that answers is dropped).
    void start(Shape shape = Shape::Wsjtx, int schema = -1)
    {
        peer = std::make_unique<WsjtxPeer>(shape);
        QUdpSocket probe;
        QVERIFY(peer->open() && probe.bind(QHostAddress::LocalHost, 0));
        port = probe.localPort();
        probe.close();
        pb->wsjtx->ui->udpIp->setText("127.0.0.1");
        pb->wsjtx->ui->udpPort->setValue(port);
        pb->wsjtx->ui->udpInit->click();
        pb->station->ui->call->setText("Q1ABC");
        pb->station->ui->grid->setText("FN31pr");
        pb->ui->parkReference->setText("K-0001");
        pb->potaMode = "Activating";
        if (schema < 0)
            return;
        peer->sendTo(port, P::heartbeat(shape, quint32(schema)));
        QTRY_COMPARE(peer->received.size() + peer->ignored.size(), 1);
        peer->received = peer->ignored = {};
    }

    // Everything sent back so far: a Replay, which both programs obey, marks the end.
    QList<QByteArray> repliesSoFar()
    {
        pb->replayBand();
        const QList<QByteArray>& got = peer->received;
        if (!QTest::qWaitFor([&got] { return P::typeOf(got.value(got.size() - 1)) == 7; }))
            return {"no Replay"};
        return got.mid(0, got.size() - 1);
    }

    // The prompts started, each a file a media player can play (an ID3 tag or
    // an MPEG frame sync) in the program folder.
    QStringList played() const
    {
        for (const QString& name : home->sound.started) {
            QFile file(home->infoPath() + '/' + name);
            const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(3) : QByteArray();
            if (head != "ID3" && (head.size() != 3 || uchar(head[0]) != 0xff))
                return {"not playable: " + name};
        }
        return home->sound.started;
    }

    QByteArray freeText(const QString& text) const
    {
        return freeTextMessage({peer->id().toUtf8(), 2}, text, false);
    }

    static void addToParkLog(const QString& call)
    {
        ContactRow row;
        row.park = "K-0001";
        row.call = call;
        QVERIFY(ParkLogMemory::add(Database::memory(), 1, row, false));
    }

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
    }
    void cleanup()
    {
        pb.reset();
        home.reset(); // before the next one, which returns to the folder this one left
    }

    void panel()
    {
        QCOMPARE(pb->udpSocket->localPort(), quint16(2237)); // WSJT-X's own default
        start();
        QCOMPARE(pb->udpSocket->localAddress(), QHostAddress(QHostAddress::AnyIPv4));
        Ui::Wsjtx* w = pb->wsjtx->ui;
        w->search1->clear();
        QTest::keyClicks(w->search1, "cq pota");
        w->search1->setCursorPosition(2);
        QTest::keyClicks(w->search1, "x");
        QCOMPARE(w->search1->text() + QString::number(w->search1->cursorPosition()), "CQX POTA3");

        pb->themeBlue = QColor(120, 180, 255); // as a dark theme would set it
        w->results->setPlainText("old line");
        QTest::mouseClick(w->clearBuffer, Qt::LeftButton);
        peer->sendTo(port, P::decode("Q1ABC Q2XX FN42", 52500000, -12));
        QTRY_COMPARE(w->results->toPlainText(), QString("143500 -12 1200 Q1ABC Q2XX FN42"));
        const QTextBlock block = w->results->document()->lastBlock();
        QCOMPARE(block.begin().fragment().charFormat().foreground().color(), pb->themeBlue);
        QCOMPARE(w->results->textCursor().position(), block.position());
        // A burst of datagrams: every one is read and shown.
        for (int i = 0; i < 5; ++i)
            peer->sendTo(port, P::decode("CQ POTA Q2X" + QByteArray::number(i) + " FN31"));
        QTRY_COMPARE(w->results->blockCount(), 6);
        pb->wsjtx->close();
        const QSettings ini(home->iniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value("WSJTx/Search1").toString() + ini.value("WSJTx/UdpPort").toString(),
                 "CQX POTA" + QString::number(port));
    }

    // Nothing goes out before a client has given its id: not at start, not to
    // a sender whose datagram lacked the magic number (though it is where
    // answers go). A heartbeat is answered with the location, under the
    // client's id, and ends a QSO that WSJT-X gave up.
    void answersWaitForTheClient()
    {
        start();
        pb->sendConfigure();
        QByteArray bad = P::decode("CQ POTA Q2XX FN31");
        bad[3] = char(0xdb);
        pb->wsjtx->ui->autoReply->click();
        peer->sendTo(port, bad);
        QTRY_COMPARE(pb->wsjtxPort, peer->localPort());
        QCOMPARE(pb->wsjtxAddress, QHostAddress(QHostAddress::LocalHost));
        pb->sendConfigure();
        QVERIFY(home->sound.started.isEmpty());
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
        peer->sendTo(port, P::heartbeat());
        QTRY_COMPARE(peer->received.size(), 1);
        // Touching the position tells WSJT-X again, though without a latitude
        // the grid stays.
        pb->station->ui->lon->setText("-72.727260");
        QTRY_COMPARE(peer->received.size(), 2);
        const QByteArray location = locationMessage({"WSJT-X", 2}, "FN31pr");
        QCOMPARE(peer->received, QList({location, location}));
        QVERIFY(peer->ignored.isEmpty());

        // Tx enabled, automatic reply, and the status a heartbeat leaves "Start QSO" in.
        const std::tuple<bool, bool, const char*> heartbeats[] = {
            {true, true, "Start QSO"}, {false, true, "Ready"}, {false, false, "Idle"}};
        for (const auto& [tx, autoReply, after] : heartbeats) {
            pb->setQsoStatus(2);
            pb->txEnabled = tx;
            pb->autoReply = autoReply;
            pb->dispatchDatagram(P::heartbeat());
            QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString(after));
        }
    }

    // Every request goes out with the id and schema of the client it answers
    // (JTDX speaks schema 3 here), in the bytes the client reads, and the peer
    // obeys those it implements.
    // The same bytes under another id are ignored, as JTDX and older WSJT-X
    // releases ignore them.
    void outgoingMessages_data()
    {
        QTest::addColumn<bool>("jtdx");
        QTest::addColumn<QList<int>>("types"); // those obeyed, then those ignored
        QTest::newRow("WSJT-X") << false << QList<int>{3, 4, 7, 8, 9, 11, 15};
        QTest::newRow("JTDX") << true << QList<int>{4, 7, 8, 9, 3, 11, 15};
    }

    void outgoingMessages()
    {
        QFETCH(bool, jtdx);
        QFETCH(QList<int>, types);
        const quint32 schema = jtdx ? 3 : 2;
        start(jtdx ? Shape::Jtdx : Shape::Wsjtx, int(schema));
        QByteArray cq = P::decode("CQ POTA Q2XX FN31", 45000000, -10, peer->shape);
        pb->clearBand();
        pb->replyQso(cq.replace(4, 4, P::u32(schema)));
        pb->replayBand();
        pb->haltTx();
        pb->freeText(1, false);
        pb->sendLocation();
        pb->sendConfigure();
        QTRY_COMPARE(peer->received.size() + peer->ignored.size(), 7);
        // The bodies as the client reads them: Clear the Band Activity window,
        // Halt Tx when auto Tx is off, Free Text not sent, and a Configure that
        // changes nothing. A Reply is the decode less its new flag.
        const QHash<int, QByteArray> bodies = {
            {3, "00"},
            {7, ""},
            {8, "00"},
            {9, "0000000c" + QByteArray("DE K-0001 73").toHex() + "00"},
            {11, "00000006" + QByteArray("FN31pr").toHex()},
            {15, "00000000ffffffff0000000000ffffffffffffffff0000000120000000012000"}};
        QStringList sent, expected;
        for (const QByteArray& datagram : peer->received + peer->ignored)
            sent << datagram.toHex();
        for (const int type : types)
            expected << (type == 4 ? replyMessage(cq).toHex()
                                   : P::header(type, peer->id(), schema).toHex() + bodies[type]);
        QCOMPARE(sent, expected);
    }

    void decodes_data()
    {
        QTest::addColumn<DecodeRow>("row");
        const char* cqPota = "CQ POTA Q2XX FN31";
        const DecodeRow rows[] = {
            {"calling you", "Q1ABC Q2XX FN42", 1, "", "_Calling_You.mp3", "Ready", 9},
            {"report", "Q1ABC Q2XX -12", 2, "", "_Report.mp3", "Waiting Log", 9},
            {"report when ready", "Q1ABC Q2XX R+02", 1, "", "_Report.mp3", "Ready", 9},
            {"goodbye", "Q1ABC Q2XX RR73", 2, "", "_Goodbye.mp3", "Start QSO", 9},
            {"longer call", "Q1ABCD Q2XX FN42", 0, "", "_Calling_You.mp3", "Idle", 9},
            {"cq pota replied", cqPota, 1, "", "_CQ_POTA.mp3", "Start QSO", 4},
            {"cq pota replied to JTDX", cqPota, 1, "J", "_CQ_POTA.mp3", "Start QSO", 4},
            {"cq pota after timeout", cqPota, 5, "", "_CQ_POTA.mp3", "Start QSO", 4},
            {"cq pota duplicate", cqPota, 1, "D", "_Possible_Duplicate.mp3", "Ready", 0},
            {"cq pota idle", cqPota, 0, "", "_CQ_POTA.mp3", "Idle", 0},
            {"cq pota busy", cqPota, 2, "D", "_CQ_POTA.mp3", "Start QSO", 0},
            {"pota", "Q3YY Q2XX POTA FN31", 1, "", "_POTA.mp3", "Ready", 0},
            {"ignored", "CQ Q1ABC FN42", 1, "", "", "Ready", 0},
            {"search one", "CQ Q1ABC FN42", 1, "CQ ", "_Search_One.mp3", "Ready", 0},
            {"search two", "CQ QQ7QQ FN42", 1, "QRP", "_Search_Two.mp3", "Ready", 0}};
        for (const DecodeRow& row : rows)
            QTest::newRow(row.name) << row;
    }

    void decodes()
    {
        QFETCH(DecodeRow, row);
        const QString setup = row.setup;
        start(setup == "J" ? Shape::Jtdx : Shape::Wsjtx, 2);
        pb->wsjtx->ui->search1->setText(setup.size() > 1 ? setup : QString());
        pb->wsjtx->ui->search2->setText("QQ7QQ");
        if (setup == "D")
            addToParkLog("Q2XX");
        pb->autoReply = row.status != 0;
        pb->setQsoStatus(row.status);
        const QByteArray decode = P::decode(row.message, 45000000, -7, peer->shape);
        pb->dispatchDatagram(decode);
        QCOMPARE(played().join(' '), QString(row.prompt));
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString(row.after));
        const QByteArray reply = row.sent == 4 ? replyMessage(decode) : freeText("DE K-0001 73");
        QCOMPARE(repliesSoFar(), row.sent ? QList{reply} : QList<QByteArray>());
        QCOMPARE(pb->wsjtx->ui->results->toPlainText(),
                 *row.prompt ? "123000  -7 1200 " + QString(row.message) : QString());
    }

    // WSJT-X starts sending a report: the QSO starts, with a DUP free text for
    // a station already worked. JTDX sends no Tx message: the DX call and the
    // report it transmits stand in for it.
    void txMessageStartsQso_data()
    {
        QTest::addColumn<int>("row"); // 1: already worked, 2: JTDX
        for (const int row : {0, 1, 2, 3})
            QTest::addRow("%s%s", row & 1 ? "already worked" : "new station",
                          row & 2 ? ", JTDX" : "")
                << row;
    }

    void txMessageStartsQso()
    {
        QFETCH(int, row);
        const bool duplicate = row & 1;
        start(row & 2 ? Shape::Jtdx : Shape::Wsjtx, 2);
        if (duplicate)
            addToParkLog("Q2XX");
        P::StatusFields f{"", "", "CQ POTA Q1ABC FN42", /*Tx enabled*/ true, false};
        pb->dispatchDatagram(P::status(f, peer->shape));
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
        f = {"Q2XX", "-05", "Q2XX Q1ABC -05", /*Tx enabled*/ true, false};
        pb->dispatchDatagram(P::status(f, peer->shape));
        QCOMPARE(pb->ui->call->text() + '|' + pb->wsjtx->ui->qsoStatus->text(), "Q2XX|Start QSO");
        QCOMPARE(pb->wsjtx->ui->qsoStatus->palette(), pb->blueText);
        QCOMPARE(repliesSoFar(), duplicate ? QList{freeText("DUP Q1ABC 73")} : QList<QByteArray>());
        const QString prompt = duplicate ? "_Duplicate_Contact.mp3" : "";
        QCOMPARE(played().join(' '), prompt);

        // The same Tx message again, Tx switched off and on, does nothing
        // beyond the watchdog.
        pb->ui->call->clear();
        pb->setQsoStatus(1);
        for (const bool watchdog : {true, false}) {
            f.txWatchdog = watchdog;
            f.txEnabled = !watchdog;
            pb->dispatchDatagram(P::status(f, peer->shape));
            QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), watchdog ? "Tx Timeout" : "Ready");
        }
        QVERIFY(pb->ui->call->text().isEmpty());
        QCOMPARE(home->sound.started.join(' '), prompt);
    }

    // One contact per active park and an activation record for each; the same
    // QSO sent again updates them; a cut record without a call adds nothing,
    // yet the QSO is over. A contact that cannot be written is said in one box
    // for all its parks, when everything else for it is done. A logged
    // contact that arrives while the box is open is handled after it, not in
    // the box's event loop, and is not lost either.
    void loggedAdifOncePerActivePark()
    {
        start();
        for (int slot = 1; slot <= 4; ++slot) {
            pb->station->parkRef(slot)->setText(QString("K-000%1").arg(slot));
            pb->station->parkNameEdit(slot)->setText(QString("Park %1").arg(slot));
            pb->station->activeBox(slot)->setChecked(slot <= 3);
        }
        pb->ui->call->setText("Q2XX");
        const QString adif =
            "<adif_ver:5>3.1.0 <programid:6>WSJT-X <EOH> <call:4>Q2XX <gridsquare:4>FN42 "
            "<mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 <qso_date:8>20240601 <time_on:6>123000 "
            "<band:3>20m <station_callsign:5>Q1ABC <EOR>";
        QStringList expected;
        for (int n = 1; n <= 3; ++n)
            expected << QString("K-000%1 Park %1 20240601").arg(n)
                     << QString("K-000%1 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC").arg(n);
        for (const QString& record :
             {adif, adif, QString("<qso_date:8>20240602 <time_on:6>130000 <mode:3>FT8 <EOR>")}) {
            pb->setQsoStatus(4);
            pb->dispatchDatagram(P::loggedAdif(record));
            const QStringList stored =
                rowsOf(Database::log(),
                       "SELECT park||' '||call||' '||date||' '||time||' '||mode||' '||band"
                       "||' '||sent||' '||rcvd||' '||grid||' '||operator FROM log UNION "
                       "ALL SELECT park||' '||name||' '||date FROM parks ORDER BY 1");
            QCOMPARE(stored.filter("2024"), expected);
            QCOMPARE(pb->wsjtx->ui->qsoStatus->text() + pb->ui->call->text(), QString("Ready"));
        }
        // The open park log shows the contact, and the duplicate check knows it.
        QVERIFY(pb->parkLog->ui->log->toPlainText().contains("Q2XX"));
        QVERIFY(ParkLogMemory::hasCall(Database::memory(), "Q2XX"));

        QSqlDatabase db = Database::log();
        db.close();
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QVERIFY(db.open());
        auto record = [](const char* call) {
            return P::loggedAdif(QString("<call:5>%1 <qso_date:8>20240601 "
                                         "<time_on:6>123000 <mode:3>FT8 <EOR>")
                                     .arg(call));
        };
        ScriptedPrompter& prompter = home->prompter;
        const QString title = "WSJT-X Contact Not Logged";
        prompter.whileShown = [&] {
            peer->sendTo(port, record("Q3YYY"));
            QTRY_VERIFY(pb->udpSocket->hasPendingDatagrams());
            QCoreApplication::processEvents();
            QCOMPARE(prompter.count(title), 1);
        };
        peer->sendTo(port, record("Q2XXX"));
        QTRY_COMPARE(prompter.count(title), 2);
        const QString text =
            "The contact with %1 at K-0001, K-0002, K-0003 logged by WSJT-X could not "
            "be written to the database.";
        QStringList texts;
        for (const ScriptedPrompter::Shown& box : prompter.shown)
            texts << (box.title == title ? QStringList{box.text} : QStringList());
        QCOMPARE(texts, QStringList({text.arg("Q2XXX"), text.arg("Q3YYY")}));
    }

    // A program that holds the port without sharing it keeps WSJT-X away: the
    // panel says so, the error log once, and when the port is free the clock's
    // watchdog binds it by itself within its five ticks.
    void busyPortRecovers()
    {
        pb.reset(); // started again once the port is taken
        auto holder = std::make_unique<QUdpSocket>();
        QVERIFY(holder->bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
        port = holder->localPort();
        QSettings(home->iniPath(), QSettings::IniFormat).setValue("WSJTx/UdpPort", port);
        pb = home->makeParkbook();
        pb->clockTimer->stop(); // the test ticks the clock
        const QString busy = QString("Port %1 Busy").arg(port);
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), busy);
        pb->wsjtx->ui->autoReply->click();
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), busy);
        const auto logged = [this] {
            QFile file(home->dataPath() + "/errorLog.txt");
            return file.open(QIODevice::ReadOnly)
                       ? QString(file.readAll()).count(QString("UDP port %1 could not").arg(port))
                       : 0;
        };
        for (int tick = 0; tick < 5; ++tick)
            pb->sysclkTimeout();
        QCOMPARE(logged(), 1);
        holder.reset();
        for (int tick = 0; tick < 5; ++tick)
            pb->sysclkTimeout();
        QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
        peer = std::make_unique<WsjtxPeer>();
        QVERIFY(peer->open());
        peer->sendTo(port, P::heartbeat());
        QTRY_COMPARE(peer->received.size(), 1);
        QCOMPARE(P::typeOf(peer->received.first()), int(Location));
        QCOMPARE(logged(), 1);
    }

    // A text written counts its length in UTF-8 bytes, not characters; the
    // reader follows the id's length, and fields a newer WSJT-X appends to a
    // Status are ignored. (Both clients' Status, with empty texts before the
    // fields that matter, are read by txMessageStartsQso; every message sent
    // is checked in full above.)
    void fieldsStayAligned()
    {
        QCOMPARE(textArray(QString::fromUtf8("Qu\xc3\xa9")),
                 QByteArray::fromHex("00000004") + "Qu\xc3\xa9");
        const QByteArray six = P::header(0, "ABCDEF") + P::u32(3);
        QCOMPARE(readHeader(six).bodyOffset, qsizetype(22));
        QCOMPARE(readHeartbeat(six).maxSchema, 3u);
        const P::StatusFields f{"Q2XX", "-05", "Q2XX Q1ABC -05", true, false};
        const StatusMsg status = readStatus(P::status(f) + QByteArray::fromHex("0102030405"));
        QCOMPARE(status.txMessage + '|' + QString::number(status.hasTxMessage), "Q2XX Q1ABC -05|1");
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
        const P::StatusFields f{"Q2XX", "", "Q2XX Q1ABC -05", false, false};
        const QByteArray status = P::status(f);
        for (qsizetype n = 0; n <= status.size(); ++n)
            QCOMPARE(readStatus(QByteArray(status.constData(), n)).txMessage,
                     n == status.size() ? f.txMessage : QString());
        const QByteArray decode = P::decode("Q1ABC Q2XX -12", 52500000, -12);
        for (qsizetype n = 0; n <= decode.size(); ++n) {
            const QByteArray cut(decode.constData(), n);
            const DecodeMsg d = readDecode(cut);
            QCOMPARE(d.complete, n == decode.size());
            QVERIFY(d.message.isEmpty() || d.message == QByteArray("Q1ABC Q2XX -12"));
            QCOMPARE(replyMessage(cut).isEmpty(), n < decode.size());
            decodeLine(d);
        }
        const QByteArray adif = P::loggedAdif("<call:4>Q2XX <EOR>");
        for (qsizetype n = 0; n <= adif.size(); ++n)
            QCOMPARE(readLoggedAdif(QByteArray(adif.constData(), n)).isEmpty(), n < adif.size());
        // A text length far past the end reads as empty.
        QCOMPARE(readLoggedAdif(P::header(12) + P::u32(0xfffffff0u) + "<call"), QString());
        // A time past a day, a negative SNR and text that is not UTF-8 are shown.
        const QByteArray hostile("Q1ABC \xff\xfe\x80 -12");
        QCOMPARE(decodeLine(readDecode(P::decode(hostile, 0xffffffffu, -24))),
                 "170247 -24 1200 " + QString::fromUtf8(hostile));
    }

    // The decode's header as received with type 4, its body without the new flag,
    // and the modifiers 0 in place of the off-air flag.
    void replyFromDecode()
    {
        QByteArray decode = P::decode("CQ POTA Q2XX FN31");
        decode[decode.size() - 2] = 1; // low confidence: carried into the reply
        decode[decode.size() - 1] = 1; // off air
        const qsizetype body = readHeader(decode).bodyOffset;
        const QByteArray reply = decode.left(8) + int32Array(4) + decode.mid(12, body - 12) +
                                 decode.mid(body + 1).chopped(1) + '\0';
        QCOMPARE(replyMessage(decode).toHex(), reply.toHex());
        // Fields a newer WSJT-X appends are not carried into the reply.
        QCOMPARE(replyMessage(decode + "\x07\x07"), reply);
        QVERIFY(replyMessage(P::heartbeat()).isEmpty());
    }

    // The decodes above cover " -", " R+", " RR73" and a grid; these cover the rest.
    void markers()
    {
        QString got; // report, sign-off
        for (const char* text : {"Q1ABC Q2XX +03", "Q1ABC Q2XX R-08", "Q1ABC Q2XX RRR",
                                 "Q1ABC Q2XX 73", "Q1ABC-1 Q2XX"})
            got += QString("%1%2 ").arg(int(hasReport(text))).arg(int(hasSignOff(text)));
        QCOMPARE(got, QString("10 10 01 01 00 "));
    }
};

QTEST_MAIN(TestWsjtxLink)
#include "tst_wsjtxlink.moc"
