#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtx/wsjtxcodec.h"
#include "wsjtxpeer.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QUdpSocket>
#include <functional>
#include <utility>

using Shape = WsjtxPeer::Shape;

// Drives a whole Parkbook through its UDP server with a fake WSJT-X or JTDX
// on 127.0.0.1.
class TestWsjtxLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaultsAndBinding();
    void answersWaitForTheClient();
    void outgoingMessages_data();
    void outgoingMessages();
    void decodes_data();
    void decodes();
    void txMessageStartsQso_data();
    void txMessageStartsQso();
    void loggedAdifOncePerActivePark();
    void failedWritesSaidOnceAfterTheContact();
    void busyPortRecovers();
    void panel();
    void promptFilesInstalled();

private:
    void start(Shape shape = Shape::Wsjtx);
    void connectPeer(quint32 schema = 2);
    void deliver(const QByteArray& datagram);
    QList<QByteArray> repliesSoFar();
    WsjtxCodec::Client client() const { return {peer->id().toUtf8(), 2}; }
    void addToParkLog(const QString& call);
    QStringList errorLines(const QString& containing) const;
    static QStringList rows(const QString& sql, const char* connection = "parkbook");

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
    std::unique_ptr<WsjtxPeer> peer;
    quint16 port = 0;
};

void TestWsjtxLink::init()
{
    home = std::make_unique<TempHome>();
}

void TestWsjtxLink::cleanup()
{
    pb.reset();
    peer.reset();
    home.reset();
}

// A fresh install, listening on a free port of its own with the loopback
// address as the "group".
void TestWsjtxLink::start(Shape shape)
{
    pb = home->makeParkbook();
    peer = std::make_unique<WsjtxPeer>(shape);
    QVERIFY(peer->open());
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    port = probe.localPort();
    probe.close();
    pb->wsjtx->ui->udpIp->setText("127.0.0.1");
    pb->wsjtx->ui->udpPort->setValue(port);
    pb->initUdpSocket();
    QCOMPARE(pb->udpSocket->localPort(), port);
    pb->station->ui->call->setText("Q1ABC");
    pb->station->ui->grid->setText("FN31pr");
    pb->ui->parkReference->setText("K-0001");
    pb->potaMode = "Activating";
}

// The peer's heartbeat over the socket tells Parkbook who it is; the Location
// that answers it is dropped from what the peer has seen.
void TestWsjtxLink::connectPeer(quint32 schema)
{
    peer->sendTo(port, WsjtxPeer::heartbeat(peer->shape, schema));
    QTRY_COMPARE_WITH_TIMEOUT(peer->received.size() + peer->ignored.size(), 1, 5000);
    peer->received.clear();
    peer->ignored.clear();
}

// Later datagrams go straight to the dispatch: handled before this returns,
// from the client the socket knows.
void TestWsjtxLink::deliver(const QByteArray& datagram)
{
    pb->dispatchDatagram(datagram);
}

// Everything Parkbook sent back so far: a Replay, which both programs obey,
// marks the end.
QList<QByteArray> TestWsjtxLink::repliesSoFar()
{
    const qsizetype before = peer->received.size();
    pb->replayBand();
    if (!peer->waitForReceived(int(before) + 1))
        return {};
    QList<QByteArray> out = peer->received;
    out.removeLast();
    return out;
}

void TestWsjtxLink::addToParkLog(const QString& call)
{
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.prepare("INSERT INTO mLog (logId, date, park, call) VALUES (1, '20240601', 'K-0001', ?)");
    query.addBindValue(call);
    QVERIFY(query.exec());
}

QStringList TestWsjtxLink::errorLines(const QString& containing) const
{
    QFile file(home->dataPath() + "/errorLog.txt");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n').filter(containing);
}

// Every row of a query, its columns joined by spaces.
QStringList TestWsjtxLink::rows(const QString& sql, const char* connection)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.exec(sql))
        return {"failed: " + sql};
    QStringList out;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        out << row.join(' ');
    }
    return out;
}

void TestWsjtxLink::defaultsAndBinding()
{
    pb = home->makeParkbook(); // no settings file at all
    QCOMPARE(pb->wsjtx->ui->udpIp->text(), QString("224.0.0.1"));
    QCOMPARE(pb->wsjtx->ui->udpPort->value(), 2237);
    QCOMPARE(pb->wsjtx->ui->search1->text(), QString("CQ QRP"));
    QCOMPARE(pb->wsjtx->ui->search2->text(), QString("QQ7QQ"));
    QCOMPARE(pb->udpSocket->localAddress(), QHostAddress(QHostAddress::AnyIPv4));
    QCOMPARE(pb->udpSocket->localPort(), quint16(2237));
    QVERIFY(!pb->autoReply);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->palette(), pb->redText);
}

// Nothing goes out before a client has given its id: not at start, not to a
// sender whose datagram lacked the magic number (though it is where answers
// go). A heartbeat is answered with the location, under the client's id, and
// ends a QSO that WSJT-X gave up.
void TestWsjtxLink::answersWaitForTheClient()
{
    start();
    pb->sendConfigure();
    QByteArray bad = WsjtxPeer::decode("CQ POTA Q2XX FN31");
    bad[3] = char(0xdb);
    pb->wsjtx->ui->autoReply->setChecked(true);
    pb->setAutoReply();
    peer->sendTo(port, bad);
    QTRY_COMPARE_WITH_TIMEOUT(pb->wsjtxPort, peer->localPort(), 5000);
    QCOMPARE(pb->wsjtxAddress, QHostAddress(QHostAddress::LocalHost));
    pb->sendConfigure();
    QVERIFY(home->sound.started.isEmpty());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));

    peer->sendTo(port, WsjtxPeer::heartbeat());
    QVERIFY(peer->waitForReceived(1));
    QCOMPARE(peer->received, QList{WsjtxCodec::locationMessage(client(), "FN31pr")});
    QVERIFY(peer->ignored.isEmpty());

    pb->setQsoStatus(2);
    pb->txEnabled = true; // still calling: the QSO goes on
    deliver(WsjtxPeer::heartbeat());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Start QSO"));
    pb->txEnabled = false;
    deliver(WsjtxPeer::heartbeat());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    pb->setQsoStatus(2);
    pb->autoReply = false;
    deliver(WsjtxPeer::heartbeat());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
}

// Every request carries the id and schema of the client it goes to, and the
// peer obeys those it implements. The same bytes under another id are ignored,
// as JTDX and older WSJT-X releases ignore them.
void TestWsjtxLink::outgoingMessages_data()
{
    QTest::addColumn<bool>("jtdx");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("obeyed");
    const QList<std::pair<const char*, int>> requests = {
        {"clear", 3},     {"reply", 4},     {"replay", 7},    {"halt", 8},
        {"free text", 9}, {"location", 11}, {"configure", 15}};
    for (const bool jtdx : {false, true}) {
        for (const auto& [request, type] : requests) {
            const bool obeyed = !jtdx || type == 4 || type == 7 || type == 8 || type == 9;
            QTest::addRow("%s %s", jtdx ? "JTDX" : "WSJT-X", request)
                << jtdx << QString(request) << type << obeyed;
        }
    }
}

void TestWsjtxLink::outgoingMessages()
{
    QFETCH(bool, jtdx);
    QFETCH(QString, request);
    QFETCH(int, type);
    QFETCH(bool, obeyed);
    start(jtdx ? Shape::Jtdx : Shape::Wsjtx);
    // JTDX after a server's heartbeat speaks schema 3; WSJT-X stays at 2.
    const quint32 schema = jtdx ? 3 : 2;
    connectPeer(schema);
    WsjtxPeer::DecodeFields decode;
    decode.message = "CQ POTA Q2XX FN31";
    const QMap<QString, std::function<void()>> send = {
        {"clear", [&] { pb->clearBand(); }},
        {"reply", [&] { pb->replyQso(WsjtxPeer::decode(decode, peer->shape, schema)); }},
        {"replay", [&] { pb->replayBand(); }},
        {"halt", [&] { pb->haltTx(); }},
        {"free text", [&] { pb->freeText(1, false); }},
        {"location", [&] { pb->sendLocation(); }},
        {"configure", [&] { pb->sendConfigure(); }}};
    send[request]();
    QTRY_COMPARE_WITH_TIMEOUT(peer->received.size() + peer->ignored.size(), 1, 5000);
    QCOMPARE(peer->received.size(), obeyed ? 1 : 0);
    const QByteArray sent = obeyed ? peer->received.first() : peer->ignored.first();
    const WsjtxCodec::Header header = WsjtxCodec::readHeader(sent);
    QCOMPARE(header.id, peer->id().toUtf8());
    QCOMPARE(header.schema, schema);
    QCOMPARE(int(header.type), type);

    for (const char* other : {"QQ7QQ", jtdx ? "jtdx" : "wsjt-x"}) {
        QUdpSocket stranger;
        stranger.writeDatagram(WsjtxPeer::header(header.type, other, schema) +
                                   sent.mid(header.bodyOffset),
                               QHostAddress::LocalHost, peer->localPort());
    }
    QTRY_COMPARE_WITH_TIMEOUT(peer->ignored.size(), obeyed ? 2 : 3, 5000);
    QCOMPARE(peer->received.size(), obeyed ? 1 : 0);
}

// Auto reply is on in every status but Idle (0).
void TestWsjtxLink::decodes_data()
{
    QTest::addColumn<bool>("jtdx");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("inLog");
    QTest::addColumn<QString>("search1");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("sent"); // type of the one datagram sent back, 0 for none

    auto row = [](const char* name, const char* message, int status, const char* inLog,
                  const char* search1, const char* prompt, const char* after, int sent,
                  bool jtdx = false) {
        QTest::newRow(name) << jtdx << QByteArray(message) << status << QString(inLog)
                            << QString(search1) << QString(prompt) << QString(after) << sent;
    };
    const char* cqPota = "CQ POTA Q2XX FN31";
    row("calling you", "Q1ABC Q2XX FN42", 1, "", "", "_Calling_You.mp3", "Ready", 9);
    row("report", "Q1ABC Q2XX -12", 2, "", "", "_Report.mp3", "Waiting Log", 9);
    row("report when ready", "Q1ABC Q2XX R+02", 1, "", "", "_Report.mp3", "Ready", 9);
    row("goodbye", "Q1ABC Q2XX RR73", 2, "", "", "_Goodbye.mp3", "Start QSO", 9);
    row("longer call", "Q1ABCD Q2XX FN42", 0, "", "", "_Calling_You.mp3", "Idle", 9);
    row("cq pota replied", cqPota, 1, "", "", "_CQ_POTA.mp3", "Start QSO", 4);
    row("cq pota replied to JTDX", cqPota, 1, "", "", "_CQ_POTA.mp3", "Start QSO", 4, true);
    row("cq pota after timeout", cqPota, 5, "", "", "_CQ_POTA.mp3", "Start QSO", 4);
    row("cq pota duplicate", cqPota, 1, "Q2XX", "", "_Possible_Duplicate.mp3", "Ready", 0);
    row("cq pota idle", cqPota, 0, "", "", "_CQ_POTA.mp3", "Idle", 0);
    row("cq pota busy", cqPota, 2, "Q2XX", "", "_CQ_POTA.mp3", "Start QSO", 0);
    row("pota", "Q3YY Q2XX POTA FN31", 1, "", "", "_POTA.mp3", "Ready", 0);
    row("ignored", "CQ Q1ABC FN42", 1, "", "", "", "Ready", 0);
    row("search one", "CQ Q1ABC FN42", 1, "", "CQ ", "_Search_One.mp3", "Ready", 0);
    row("search two", "CQ QQ7QQ FN42", 1, "", "QRP", "_Search_Two.mp3", "Ready", 0);
}

void TestWsjtxLink::decodes()
{
    QFETCH(bool, jtdx);
    QFETCH(QByteArray, message);
    QFETCH(int, status);
    QFETCH(QString, inLog);
    QFETCH(QString, search1);
    QFETCH(QString, prompt);
    QFETCH(QString, after);
    QFETCH(int, sent);

    start(jtdx ? Shape::Jtdx : Shape::Wsjtx);
    pb->wsjtx->ui->search1->setText(search1);
    pb->wsjtx->ui->search2->setText("QQ7QQ");
    if (!inLog.isEmpty())
        addToParkLog(inLog);
    connectPeer();
    pb->autoReply = status != 0;
    pb->setQsoStatus(status);

    WsjtxPeer::DecodeFields fields;
    fields.message = message;
    fields.time = 45000000;
    fields.snr = -7;
    const QByteArray decode = WsjtxPeer::decode(fields, peer->shape);
    deliver(decode);

    QCOMPARE(home->sound.started, prompt.isEmpty() ? QStringList() : QStringList{prompt});
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), after);
    QList<QByteArray> expected;
    if (sent == 4)
        expected << WsjtxCodec::replyMessage(decode);
    else if (sent == 9)
        expected << WsjtxCodec::freeTextMessage(client(), "DE K-0001 73", false);
    QCOMPARE(repliesSoFar(), expected);
    QCOMPARE(pb->wsjtx->ui->results->toPlainText(),
             prompt.isEmpty() ? QString() : "123000  -7 1200 " + QString::fromUtf8(message));
}

// JTDX sends no Tx message: the DX call and the report it transmits stand in
// for it.
void TestWsjtxLink::txMessageStartsQso_data()
{
    QTest::addColumn<bool>("jtdx");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("new station") << false << false;
    QTest::newRow("already worked") << false << true;
    QTest::newRow("new station, JTDX") << true << false;
    QTest::newRow("already worked, JTDX") << true << true;
}

void TestWsjtxLink::txMessageStartsQso()
{
    QFETCH(bool, jtdx);
    QFETCH(bool, duplicate);
    start(jtdx ? Shape::Jtdx : Shape::Wsjtx);
    connectPeer();
    if (duplicate)
        addToParkLog("Q2XX");
    WsjtxPeer::StatusFields f;
    f.txEnabled = true;
    f.txMessage = "CQ POTA Q1ABC FN42";
    deliver(WsjtxPeer::status(f, peer->shape));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));

    f.dxCall = "Q2XX";
    f.report = "-05";
    f.txMessage = "Q2XX Q1ABC -05";
    deliver(WsjtxPeer::status(f, peer->shape));
    QCOMPARE(pb->ui->call->text(), QString("Q2XX"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Start QSO"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->palette(), pb->blueText);
    QCOMPARE(repliesSoFar(),
             duplicate ? QList{WsjtxCodec::freeTextMessage(client(), "DUP Q1ABC 73", false)}
                       : QList<QByteArray>());
    const QStringList prompts = duplicate ? QStringList{"_Duplicate_Contact.mp3"} : QStringList();
    QCOMPARE(home->sound.started, prompts);

    // The same Tx message again, Tx switched off and on, does nothing beyond
    // the watchdog.
    pb->ui->call->clear();
    pb->setQsoStatus(1);
    f.txWatchdog = true;
    f.txEnabled = false;
    deliver(WsjtxPeer::status(f, peer->shape));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Tx Timeout"));
    f.txWatchdog = false;
    f.txEnabled = true;
    deliver(WsjtxPeer::status(f, peer->shape));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    QVERIFY(pb->ui->call->text().isEmpty());
    QCOMPARE(home->sound.started, prompts);
}

void TestWsjtxLink::loggedAdifOncePerActivePark()
{
    start();
    for (int slot = 1; slot <= 4; ++slot) {
        pb->station->parkRef(slot)->setText(QString("K-000%1").arg(slot));
        pb->station->parkNameEdit(slot)->setText(QString("Park %1").arg(slot));
        pb->station->activeBox(slot)->setChecked(slot <= 3);
    }
    pb->parkLog->show();
    pb->ui->call->setText("Q2XX");
    pb->setQsoStatus(4);
    const QString adif =
        "<adif_ver:5>3.1.0 <programid:6>WSJT-X <EOH> <call:4>Q2XX <gridsquare:4>FN42 "
        "<mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 <qso_date:8>20240601 <time_on:6>123000 "
        "<band:3>20m <station_callsign:5>Q1ABC <EOR>";
    deliver(WsjtxPeer::loggedAdif(adif));

    const QStringList logged = {"K-0001 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC",
                                "K-0002 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC",
                                "K-0003 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC"};
    const QString logSelect = "SELECT park, call, date, time, mode, band, sent, rcvd, grid, "
                              "operator FROM log ORDER BY park";
    const QString parksSelect = "SELECT park, name, date FROM parks WHERE date IN ('20240601', "
                                "'20240602') ORDER BY park";
    const QStringList parks = {"K-0001 Park 1 20240601", "K-0002 Park 2 20240601",
                               "K-0003 Park 3 20240601"};
    QCOMPARE(rows(logSelect), logged);
    QCOMPARE(rows(parksSelect), parks);

    // The open park log shows the new contact, the duplicate check knows it,
    // and the form is ready for the next QSO.
    QVERIFY(pb->parkLog->ui->log->toPlainText().contains("Q2XX"));
    QCOMPARE(rows("SELECT count(*) FROM mLog WHERE call = 'Q2XX'", "memory"), QStringList{"1"});
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    QVERIFY(pb->ui->call->text().isEmpty());

    // WSJT-X sends the same QSO again: the rows are updated, none is added.
    // A cut record carries no call: nothing is taken from it, yet the QSO is over.
    deliver(WsjtxPeer::loggedAdif(adif));
    pb->setQsoStatus(4);
    deliver(WsjtxPeer::loggedAdif("<qso_date:8>20240602 <time_on:6>130000 <mode:3>FT8 <EOR>"));
    QCOMPARE(rows(logSelect), logged);
    QCOMPARE(rows(parksSelect), parks);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
}

// A contact that cannot be written is said in one box for all its parks,
// when everything else for it is done. A logged contact that arrives while
// the box is open is handled after it, not in the box's event loop, and is
// not lost either.
void TestWsjtxLink::failedWritesSaidOnceAfterTheContact()
{
    ScriptedPrompter& prompter = home->prompter;
    start(Shape::Wsjtx);
    for (int slot = 1; slot <= 2; ++slot) {
        pb->station->parkRef(slot)->setText(QString("K-000%1").arg(slot));
        pb->station->activeBox(slot)->setChecked(true);
    }
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    db.close();
    db.setConnectOptions("QSQLITE_OPEN_READONLY");
    QVERIFY(db.open());
    auto record = [](const char* call) {
        return WsjtxPeer::loggedAdif(QString("<call:5>%1 <qso_date:8>20240601 <time_on:6>123000 "
                                             "<mode:3>FT8 <band:3>20m <EOR>")
                                         .arg(call));
    };
    prompter.whileShown = [&] {
        peer->sendTo(port, record("Q3YYY"));
        QTRY_VERIFY_WITH_TIMEOUT(pb->udpSocket->hasPendingDatagrams(), 5000);
        QCoreApplication::processEvents();
        QCOMPARE(prompter.count("WSJT-X Contact Not Logged"), 1);
    };
    peer->sendTo(port, record("Q2XXX"));
    QTRY_COMPARE_WITH_TIMEOUT(prompter.count("WSJT-X Contact Not Logged"), 2, 5000);
    const QString text = "The contact with %1 at K-0001, K-0002 logged by WSJT-X could not be "
                         "written to the database.";
    QStringList texts;
    for (const ScriptedPrompter::Shown& box : prompter.shown) {
        if (box.title == "WSJT-X Contact Not Logged")
            texts << box.text;
    }
    QCOMPARE(texts, QStringList({text.arg("Q2XXX"), text.arg("Q3YYY")}));
}

// A program that holds the port without sharing it keeps WSJT-X away: the
// panel says so, the error log once, and when the port is free the clock's
// watchdog binds it by itself within its five ticks.
void TestWsjtxLink::busyPortRecovers()
{
    auto holder = std::make_unique<QUdpSocket>();
    QVERIFY(holder->bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress));
    port = holder->localPort();
    {
        QSettings settings(home->iniPath(), QSettings::IniFormat);
        settings.setValue("WSJTx/UdpIp", "127.0.0.1");
        settings.setValue("WSJTx/UdpPort", QString::number(port));
    }
    pb = home->makeParkbook();
    pb->clockTimer->stop(); // the test ticks the clock
    const QString busy = QString("Port %1 Busy").arg(port);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), busy);
    pb->wsjtx->ui->autoReply->setChecked(true);
    pb->setAutoReply();
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), busy);

    for (int tick = 0; tick < 5; ++tick)
        pb->sysclkTimeout();
    const QString opened = QString("WSJT-X UDP port %1 could not be opened").arg(port);
    QCOMPARE(errorLines(opened).size(), 1);

    holder.reset();
    for (int tick = 0; tick < 5; ++tick)
        pb->sysclkTimeout();
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
    peer = std::make_unique<WsjtxPeer>();
    QVERIFY(peer->open());
    peer->sendTo(port, WsjtxPeer::heartbeat());
    QVERIFY(peer->waitForReceived(1));
    QCOMPARE(WsjtxPeer::typeOf(peer->received.first()), int(WsjtxCodec::Location));
    QCOMPARE(errorLines(opened).size(), 1);
}

void TestWsjtxLink::panel()
{
    start();
    QLineEdit* search = pb->wsjtx->ui->search1;
    search->clear();
    QTest::keyClicks(search, "cq pota");
    QCOMPARE(search->text(), QString("CQ POTA"));
    QCOMPARE(search->cursorPosition(), 7);
    search->setCursorPosition(2);
    QTest::keyClicks(search, "x");
    QCOMPARE(search->text(), QString("CQX POTA"));
    QCOMPARE(search->cursorPosition(), 3);
    pb->wsjtx->ui->search2->clear();
    QTest::keyClicks(pb->wsjtx->ui->search2, "qrp");
    QCOMPARE(pb->wsjtx->ui->search2->text(), QString("QRP"));
    pb->on_actionWSJT_X_Panel_triggered();
    QVERIFY(pb->wsjtx->isVisible());
    QCOMPARE(pb->wsjtx->ui->header->toPlainText(), WsjtxCodec::headerLine());

    pb->themeBlue = QColor(120, 180, 255); // as a dark theme would set it
    QPlainTextEdit* results = pb->wsjtx->ui->results;
    results->setPlainText("old line");
    QTest::mouseClick(pb->wsjtx->ui->clearBuffer, Qt::LeftButton);
    QVERIFY(results->toPlainText().isEmpty());
    peer->sendTo(port, WsjtxPeer::decode("Q1ABC Q2XX FN42", 52500000, -12));
    QTRY_COMPARE_WITH_TIMEOUT(results->toPlainText(), QString("143500 -12 1200 Q1ABC Q2XX FN42"),
                              5000);
    const QTextBlock block = results->document()->lastBlock();
    QCOMPARE(block.begin().fragment().charFormat().foreground().color(), QColor(120, 180, 255));
    QCOMPARE(results->textCursor().position(), block.position());
    // A burst of datagrams: every one is read and shown.
    for (int i = 0; i < 5; ++i)
        peer->sendTo(port, WsjtxPeer::decode("CQ POTA Q2X" + QByteArray::number(i) + " FN31"));
    QTRY_COMPARE_WITH_TIMEOUT(results->blockCount(), 6, 5000);

    pb->wsjtx->close();
    QSettings settings(home->iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("WSJTx/Search2").toString(), QString("QRP"));
    QCOMPARE(settings.value("WSJTx/UdpPort").toString(), QString::number(port));
}

void TestWsjtxLink::promptFilesInstalled()
{
    for (const char* name : {"Calling_You", "Goodbye", "Report", "CQ_POTA", "Possible_Duplicate",
                             "POTA", "Search_One", "Search_Two", "Duplicate_Contact"}) {
        QFile file(home->infoPath() + "/_" + name + ".mp3");
        QVERIFY2(file.open(QIODevice::ReadOnly), name);
        const QByteArray head = file.read(3);
        // An ID3 tag or an MPEG frame sync: something a media player can play.
        QVERIFY2(head == "ID3" || (head.size() == 3 && uchar(head[0]) == 0xff), name);
    }
}

QTEST_MAIN(TestWsjtxLink)
#include "tst_wsjtxlink.moc"
