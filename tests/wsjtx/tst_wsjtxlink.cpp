#include "app/parkbook.h"
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
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTextBlock>
#include <QUdpSocket>

// Drives a whole Parkbook through its UDP server with a fake WSJT-X on
// 127.0.0.1.
class TestWsjtxLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaultsAndBinding();
    void wrongMagicStillSetsReplyAddress();
    void decodes_data();
    void decodes();
    void decodeTimeAndColour();
    void burstOfDecodesAllShown();
    void txMessageStartsQso_data();
    void txMessageStartsQso();
    void repeatedTxMessageOnlyRunsWatchdog();
    void heartbeatSendsLocationAndDropsStaleQso();
    void loggedAdifOncePerActivePark();
    void loggedRecordBecomesCurrentContact();
    void cutDatagramsThroughHandlers();
    void searchTextsUpperCase();
    void promptFilesInstalled();

private:
    void start(bool quiet = true);
    QLineEdit* stationEdit(const QString& name);
    QCheckBox* stationBox(const QString& name);
    void deliver(const QByteArray& datagram);
    void deliver(const WsjtxPeer::StatusFields& status);
    QList<QByteArray> repliesSoFar();
    void addToParkLog(const QString& call);
    static int count(const QString& sql);

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
    std::unique_ptr<WsjtxPeer> peer;
    quint16 port = 0;
    WsjtxPeer::StatusFields lastStatus;
};

void TestWsjtxLink::init()
{
    home = std::make_unique<TempHome>();
    lastStatus = WsjtxPeer::StatusFields();
    peer = std::make_unique<WsjtxPeer>();
    QVERIFY(peer->open());
}

void TestWsjtxLink::cleanup()
{
    pb.reset();
    peer.reset();
    home.reset();
}

void TestWsjtxLink::start(bool quiet)
{
    if (quiet)
        home->writeQuietSettings();
    pb = home->makeParkbook();
    // A free port of our own, and the loopback address as the "group".
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    port = probe.localPort();
    probe.close();
    pb->wsjtx->ui->udpIp->setText("127.0.0.1");
    pb->wsjtx->ui->udpPort->setValue(port);
    pb->initUdpSocket();
    QCOMPARE(pb->udpSocket->localPort(), port);
    stationEdit("call")->setText("Q1ABC");
    stationEdit("grid")->setText("FN31pr");
    pb->ui->parkReference->setText("K-0001");
    pb->potaMode = "Activating";
}

// The Station window's fields, created on a bare Station window as well.
QLineEdit* TestWsjtxLink::stationEdit(const QString& name)
{
    auto* edit = pb->station->findChild<QLineEdit*>(name);
    if (!edit) {
        edit = new QLineEdit(pb->station);
        edit->setObjectName(name);
    }
    return edit;
}

QCheckBox* TestWsjtxLink::stationBox(const QString& name)
{
    auto* box = pb->station->findChild<QCheckBox*>(name);
    if (!box) {
        box = new QCheckBox(pb->station);
        box->setObjectName(name);
    }
    return box;
}

// Sends one datagram and waits until Parkbook has handled it: the last status
// again with Tx enabled flipped follows it (so it changes nothing else), and
// datagrams on loopback keep their order.
void TestWsjtxLink::deliver(const QByteArray& datagram)
{
    peer->sendTo(port, datagram);
    WsjtxPeer::StatusFields barrier = lastStatus;
    barrier.txEnabled = !pb->txEnabled;
    peer->sendTo(port, WsjtxPeer::status(barrier));
    QTRY_COMPARE_WITH_TIMEOUT(pb->txEnabled, barrier.txEnabled, 5000);
}

void TestWsjtxLink::deliver(const WsjtxPeer::StatusFields& status)
{
    lastStatus = status;
    deliver(WsjtxPeer::status(status));
}

// Everything Parkbook sent back so far: a Clear marks the end.
QList<QByteArray> TestWsjtxLink::repliesSoFar()
{
    const qsizetype before = peer->received.size();
    pb->clearBand();
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

void TestWsjtxLink::defaultsAndBinding()
{
    pb = home->makeParkbook(); // no settings file at all
    QCOMPARE(pb->wsjtx->ui->udpIp->text(), QString("224.0.0.1"));
    QCOMPARE(pb->wsjtx->ui->udpPort->value(), 2237);
    QCOMPARE(pb->wsjtx->ui->search1->text(), QString("CQ QRP"));
    QCOMPARE(pb->wsjtx->ui->search2->text(), QString("QQ7QQ"));
    QCOMPARE(pb->udpSocket->state(), QAbstractSocket::BoundState);
    QCOMPARE(pb->udpSocket->localAddress(), QHostAddress(QHostAddress::AnyIPv4));
    QCOMPARE(pb->udpSocket->localPort(), quint16(2237));
    QVERIFY(!pb->autoReply);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->palette(), pb->redText);

    // Restarting twice must not hand one datagram to the handlers twice.
    pb->initUdpSocket();
    pb->initUdpSocket();
    pb->wsjtx->ui->search1->setText("CQ ");
    peer->sendTo(2237, WsjtxPeer::decode("CQ Q1ABC FN42"));
    QTRY_COMPARE_WITH_TIMEOUT(home->sound.started.size(), 1, 5000);
    QTest::qWait(50);
    QCOMPARE(pb->wsjtx->ui->results->blockCount(), 1);
}

void TestWsjtxLink::wrongMagicStillSetsReplyAddress()
{
    start();
    pb->sendConfigure(); // no address yet: dropped silently
    QCOMPARE(pb->wsjtxPort, quint16(0));
    QByteArray bad = WsjtxPeer::decode("CQ POTA Q2XX FN31");
    bad[3] = char(0xdb);
    pb->setAutoReply();
    pb->wsjtx->ui->autoReply->setChecked(true);
    pb->setAutoReply();
    peer->sendTo(port, bad);
    QTRY_COMPARE_WITH_TIMEOUT(pb->wsjtxPort, peer->localPort(), 5000);
    QCOMPARE(pb->wsjtxAddress, QHostAddress(QHostAddress::LocalHost));
    pb->sendLocation();
    QVERIFY(peer->waitForReceived(1));
    QCOMPARE(peer->received.first(), WsjtxCodec::locationMessage("FN31pr"));
    QVERIFY(home->sound.started.isEmpty());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
}

void TestWsjtxLink::decodes_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("autoReply");
    QTest::addColumn<QString>("inLog");
    QTest::addColumn<QString>("search1");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QList<int>>("sent");

    const QList<int> none;
    const QList<int> deText{9};
    QTest::newRow("calling you") << QByteArray("Q1ABC Q2XX FN42") << 1 << true << ""
                                 << ""
                                 << "_Calling_You.mp3"
                                 << "Ready" << deText;
    QTest::newRow("report") << QByteArray("Q1ABC Q2XX -12") << 2 << true << ""
                            << ""
                            << "_Report.mp3"
                            << "Waiting Log" << deText;
    QTest::newRow("report when ready") << QByteArray("Q1ABC Q2XX R+02") << 1 << true << ""
                                       << ""
                                       << "_Report.mp3"
                                       << "Ready" << deText;
    QTest::newRow("goodbye") << QByteArray("Q1ABC Q2XX RR73") << 2 << true << ""
                             << ""
                             << "_Goodbye.mp3"
                             << "Start QSO" << deText;
    QTest::newRow("longer call") << QByteArray("Q1ABCD Q2XX FN42") << 0 << false << ""
                                 << ""
                                 << "_Calling_You.mp3"
                                 << "Idle" << deText;
    QTest::newRow("cq pota replied") << QByteArray("CQ POTA Q2XX FN31") << 1 << true << ""
                                     << ""
                                     << "_CQ_POTA.mp3"
                                     << "Start QSO" << QList<int>{4};
    QTest::newRow("cq pota after timeout") << QByteArray("CQ POTA Q2XX FN31") << 5 << true << ""
                                           << ""
                                           << "_CQ_POTA.mp3"
                                           << "Start QSO" << QList<int>{4};
    QTest::newRow("cq pota duplicate") << QByteArray("CQ POTA Q2XX FN31") << 1 << true << "Q2XX"
                                       << ""
                                       << "_Possible_Duplicate.mp3"
                                       << "Ready" << none;
    QTest::newRow("cq pota other call logged")
        << QByteArray("CQ POTA Q2XX FN31") << 1 << true << "Q2XXX"
        << ""
        << "_CQ_POTA.mp3"
        << "Start QSO" << QList<int>{4};
    QTest::newRow("cq pota idle") << QByteArray("CQ POTA Q2XX FN31") << 0 << false << ""
                                  << ""
                                  << "_CQ_POTA.mp3"
                                  << "Idle" << none;
    QTest::newRow("cq pota busy") << QByteArray("CQ POTA Q2XX FN31") << 2 << true << "Q2XX"
                                  << ""
                                  << "_CQ_POTA.mp3"
                                  << "Start QSO" << none;
    QTest::newRow("pota") << QByteArray("Q3YY Q2XX POTA FN31") << 1 << true << ""
                          << ""
                          << "_POTA.mp3"
                          << "Ready" << none;
    QTest::newRow("ignored") << QByteArray("CQ Q1ABC FN42") << 1 << true << ""
                             << ""
                             << ""
                             << "Ready" << none;
    QTest::newRow("search one") << QByteArray("CQ Q1ABC FN42") << 1 << true << ""
                                << "CQ "
                                << "_Search_One.mp3"
                                << "Ready" << none;
    QTest::newRow("search two") << QByteArray("CQ QQ7QQ FN42") << 1 << true << ""
                                << "QRP"
                                << "_Search_Two.mp3"
                                << "Ready" << none;
    QTest::newRow("not utf-8") << QByteArray("Q1ABC \xff\xfe -07") << 1 << true << ""
                               << ""
                               << "_Report.mp3"
                               << "Ready" << deText;
}

void TestWsjtxLink::decodes()
{
    QFETCH(QByteArray, message);
    QFETCH(int, status);
    QFETCH(bool, autoReply);
    QFETCH(QString, inLog);
    QFETCH(QString, search1);
    QFETCH(QString, prompt);
    QFETCH(QString, after);
    QFETCH(QList<int>, sent);

    start();
    pb->wsjtx->ui->search1->setText(search1);
    pb->wsjtx->ui->search2->setText("QQ7QQ");
    if (!inLog.isEmpty())
        addToParkLog(inLog);
    deliver(WsjtxPeer::heartbeat()); // gives Parkbook our address
    peer->received.clear();
    pb->autoReply = autoReply;
    pb->setQsoStatus(status);

    const QByteArray decode = WsjtxPeer::decode(message, 45000000, -7);
    deliver(decode);

    QCOMPARE(home->sound.started, prompt.isEmpty() ? QStringList() : QStringList{prompt});
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), after);
    const QList<QByteArray> replies = repliesSoFar();
    QList<int> types;
    for (const QByteArray& datagram : replies)
        types << WsjtxPeer::typeOf(datagram);
    QCOMPARE(types, sent);
    if (sent == QList<int>{4})
        QCOMPARE(replies.first(), WsjtxCodec::replyMessage(decode));
    if (sent == QList<int>{9})
        QCOMPARE(replies.first(), WsjtxCodec::freeTextMessage("DE K-0001 73", false));
    const QString shown = pb->wsjtx->ui->results->toPlainText();
    if (prompt.isEmpty())
        QVERIFY(shown.isEmpty());
    else
        QVERIFY2(shown.startsWith("123000  -7 1200 "), qPrintable(shown));
}

void TestWsjtxLink::decodeTimeAndColour()
{
    start();
    pb->themeBlue = QColor(120, 180, 255); // as a dark theme would set it
    pb->wsjtx->ui->results->setPlainText("old line");
    pb->clearResults();
    QVERIFY(pb->wsjtx->ui->results->toPlainText().isEmpty());
    WsjtxPeer::DecodeFields f;
    f.time = 52500000;
    f.snr = -12;
    f.deltaFrequency = 733;
    f.isNew = false; // replayed decodes count alike
    f.message = "Q1ABC Q2XX FN42";
    deliver(WsjtxPeer::decode(f));
    QPlainTextEdit* results = pb->wsjtx->ui->results;
    QCOMPARE(results->toPlainText(), QString("143500 -12  733 Q1ABC Q2XX FN42"));
    const QTextBlock block = results->document()->lastBlock();
    QCOMPARE(block.begin().fragment().charFormat().foreground().color(), QColor(120, 180, 255));
    QCOMPARE(results->textCursor().position(), block.position());
}

void TestWsjtxLink::burstOfDecodesAllShown()
{
    start();
    for (int i = 0; i < 5; ++i)
        peer->sendTo(port, WsjtxPeer::decode("CQ POTA Q2X" + QByteArray::number(i) + " FN31"));
    QTRY_COMPARE_WITH_TIMEOUT(pb->wsjtx->ui->results->blockCount(), 5, 5000);
}

void TestWsjtxLink::txMessageStartsQso_data()
{
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("new station") << false;
    QTest::newRow("already worked") << true;
}

void TestWsjtxLink::txMessageStartsQso()
{
    QFETCH(bool, duplicate);
    start();
    if (duplicate)
        addToParkLog("Q2XX");
    WsjtxPeer::StatusFields f;
    f.txEnabled = true;
    f.txMessage = "CQ POTA Q1ABC FN42";
    deliver(f);
    QCOMPARE(pb->previousTxMessage, QString("CQ POTA Q1ABC FN42"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));

    f.txMessage = "Q2XX Q1ABC -05";
    deliver(f);
    QCOMPARE(pb->ui->call->text(), QString("Q2XX"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Start QSO"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->palette(), pb->blueText);
    const QList<QByteArray> replies = repliesSoFar();
    if (duplicate) {
        QCOMPARE(home->sound.started, QStringList{"_Duplicate_Contact.mp3"});
        QCOMPARE(replies, QList<QByteArray>{WsjtxCodec::freeTextMessage("DUP Q1ABC 73", false)});
    } else {
        QVERIFY(home->sound.started.isEmpty());
        QVERIFY(replies.isEmpty());
    }
}

void TestWsjtxLink::repeatedTxMessageOnlyRunsWatchdog()
{
    start();
    WsjtxPeer::StatusFields f;
    f.txMessage = "Q2XX Q1ABC -05";
    deliver(f);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Start QSO"));
    pb->ui->call->clear();
    pb->setQsoStatus(1);

    f.txWatchdog = true;
    deliver(f);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Tx Timeout"));
    QVERIFY(pb->ui->call->text().isEmpty());
    f.txWatchdog = false;
    deliver(f);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    QVERIFY(pb->ui->call->text().isEmpty());
}

void TestWsjtxLink::heartbeatSendsLocationAndDropsStaleQso()
{
    start();
    pb->wsjtx->ui->autoReply->setChecked(true);
    pb->setAutoReply();
    pb->setQsoStatus(2);
    pb->txEnabled = true; // still calling: the QSO goes on
    deliver(WsjtxPeer::heartbeat("ABCDEF"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Start QSO"));
    QVERIFY(peer->received.contains(WsjtxCodec::locationMessage("FN31pr")));
    pb->txEnabled = false; // WSJT-X gave up
    deliver(WsjtxPeer::heartbeat());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    pb->setQsoStatus(2);
    pb->autoReply = false;
    pb->txEnabled = false;
    deliver(WsjtxPeer::heartbeat());
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Idle"));
    pb->wsjtx->ui->autoReply->setChecked(true);
    pb->setAutoReply();
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
}

int TestWsjtxLink::count(const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

void TestWsjtxLink::loggedAdifOncePerActivePark()
{
    start();
    for (int slot = 1; slot <= 4; ++slot) {
        stationEdit(QString("pRef%1").arg(slot))->setText(QString("K-000%1").arg(slot));
        stationEdit(QString("name%1").arg(slot))->setText(QString("Park %1").arg(slot));
    }
    for (int slot = 1; slot <= 3; ++slot)
        stationBox(QString("act%1").arg(slot))->setChecked(true);
    stationBox("act4")->setChecked(false);
    pb->parkLog->show();
    pb->ui->call->setText("Q2XX");
    pb->setQsoStatus(4);
    const QString adif =
        "<adif_ver:5>3.1.0 <programid:6>WSJT-X <EOH> <call:4>Q2XX <gridsquare:4>FN42 "
        "<mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 <qso_date:8>20240601 <time_on:6>123000 "
        "<band:3>20m <station_callsign:5>Q1ABC <EOR>";
    deliver(WsjtxPeer::loggedAdif(adif));

    QSqlQuery rows(QSqlDatabase::database("parkbook"));
    QVERIFY(rows.exec("SELECT park, call, date, time, mode, band, sent, rcvd, grid, operator "
                      "FROM log ORDER BY park"));
    QStringList got;
    while (rows.next()) {
        QStringList row;
        for (int i = 0; i < 10; ++i)
            row << rows.value(i).toString();
        got << row.join(' ');
    }
    QCOMPARE(got, QStringList({"K-0001 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC",
                               "K-0002 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC",
                               "K-0003 Q2XX 20240601 123000 FT8 20m -10 -12 FN42 Q1ABC"}));
    QCOMPARE(count("SELECT count(*) FROM parks WHERE date = '20240601'"), 3);
    QCOMPARE(count("SELECT count(*) FROM parks WHERE date = '20240601' AND "
                   "((park = 'K-0001' AND name = 'Park 1') OR (park = 'K-0002' AND name = "
                   "'Park 2') OR (park = 'K-0003' AND name = 'Park 3'))"),
             3);

    // The contact date is the logged one, the open park log shows that day
    // of the current park with the new contact, and the form is ready for
    // the next QSO.
    QCOMPARE(pb->date, QString("20240601"));
    QCOMPARE(pb->ui->parkDate->text(), QString("20240601"));
    QCOMPARE(pb->ui->endDate->text(), QString("20240601"));
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0001"));
    QVERIFY(pb->parkLog->ui->log->toPlainText().contains("Q2XX"));
    QSqlQuery mLog(QSqlDatabase::database("memory"));
    QVERIFY(mLog.exec("SELECT count(*) FROM mLog WHERE call = 'Q2XX'") && mLog.next());
    QCOMPARE(mLog.value(0).toInt(), 1);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
    QVERIFY(pb->ui->call->text().isEmpty());

    // WSJT-X sends the same QSO again: the rows are updated, none is added.
    pb->setQsoStatus(4);
    deliver(WsjtxPeer::loggedAdif(adif));
    QCOMPARE(count("SELECT count(*) FROM log"), 3);
    QCOMPARE(count("SELECT count(*) FROM parks WHERE date = '20240601'"), 3);
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));

    // A cut record carries no call: nothing is taken from it, yet the QSO is over.
    pb->setQsoStatus(4);
    deliver(WsjtxPeer::loggedAdif("<qso_date:8>20240602 <time_on:6>130000 <mode:3>FT8 <EOR>"));
    QCOMPARE(count("SELECT count(*) FROM log"), 3);
    QCOMPARE(count("SELECT count(*) FROM parks WHERE date = '20240602'"), 0);
    QCOMPARE(pb->date, QString("20240601"));
    QCOMPARE(pb->wsjtx->ui->qsoStatus->text(), QString("Ready"));
}

void TestWsjtxLink::loggedRecordBecomesCurrentContact()
{
    start();
    stationEdit("pRef1")->setText("K-0001");
    stationBox("act1")->setChecked(true);
    pb->logFromWSJT("<call:4>Q3YY <gridsquare:4>EM12 <mode:3>FT4 <rst_sent:3>-03 "
                    "<rst_rcvd:3>+02 <qso_date:8>20240603 <time_on:6>010203 <EOR>");
    QCOMPARE(count("SELECT count(*) FROM log WHERE call = 'Q3YY' AND park = 'K-0001'"), 1);
    QCOMPARE(pb->date, QString("20240603"));
    QCOMPARE(pb->call, QString("Q3YY"));
    QCOMPARE(pb->grid, QString("EM12"));
    QCOMPARE(pb->mode, QString("FT4"));
    QCOMPARE(pb->sent, QString("-03"));
    QCOMPARE(pb->rcvd, QString("+02"));
}

void TestWsjtxLink::cutDatagramsThroughHandlers()
{
    start();
    WsjtxPeer::StatusFields f;
    f.txEnabled = true;
    f.txWatchdog = true;
    f.txMessage = "Q2XX Q1ABC -05";
    const QByteArray status = WsjtxPeer::status(f);
    const QByteArray decode = WsjtxPeer::decode("Q1ABC Q2XX -12", 52500000, -12);
    const QByteArray adif = WsjtxPeer::loggedAdif("<call:4>Q2XX <qso_date:8>20240601 <EOR>");
    for (const QByteArray& whole : {status, decode, adif, WsjtxPeer::heartbeat()}) {
        for (qsizetype n = 0; n < whole.size(); ++n) {
            const QByteArray cut(whole.constData(), n);
            pb->dispatchDatagram(cut);
            pb->statusMessage(cut);
            pb->decodeMessage(cut);
            pb->logADIF(cut);
            pb->heartBeat(cut);
        }
    }
    // A decode cut after its message (in the two flags) is still shown; cut
    // anywhere earlier it has no message and is not.
    const QString line = "143500 -12 1200 Q1ABC Q2XX -12";
    // Each cut is handed over twice: through the dispatch and directly.
    QCOMPARE(pb->wsjtx->ui->results->toPlainText(), QStringList(4, line).join('\n'));
    QCOMPARE(count("SELECT count(*) FROM log"), 0);
}

void TestWsjtxLink::searchTextsUpperCase()
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
    QLineEdit* search2 = pb->wsjtx->ui->search2;
    search2->clear();
    QTest::keyClicks(search2, "qrp");
    QCOMPARE(search2->text(), QString("QRP"));

    QSignalSpy spy(pb->wsjtx, &Wsjtx::clearResultsSig);
    pb->wsjtx->ui->results->setPlainText("line");
    QTest::mouseClick(pb->wsjtx->ui->clearBuffer, Qt::LeftButton);
    QCOMPARE(spy.size(), 1);
    QVERIFY(pb->wsjtx->ui->results->toPlainText().isEmpty());

    pb->on_actionWSJT_X_Panel_triggered();
    QVERIFY(pb->wsjtx->isVisible());
    QCOMPARE(pb->wsjtx->ui->header->toPlainText(), WsjtxCodec::headerLine());
    pb->wsjtx->close();
    QVERIFY(!pb->wsjtx->isVisible());
    QSettings settings(home->iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("WSJTx/Search2").toString(), QString("QRP"));
    QCOMPARE(settings.value("WSJTx/UdpPort").toString(), QString::number(port));
}

void TestWsjtxLink::promptFilesInstalled()
{
    for (const char* name : {"/_Calling_You.mp3", "/_Goodbye.mp3", "/_Report.mp3", "/_CQ_POTA.mp3",
                             "/_Possible_Duplicate.mp3", "/_POTA.mp3", "/_Search_One.mp3",
                             "/_Search_Two.mp3", "/_Duplicate_Contact.mp3"}) {
        QFile file(home->infoPath() + name);
        QVERIFY2(file.open(QIODevice::ReadOnly), name);
        const QByteArray head = file.read(3);
        // An ID3 tag or an MPEG frame sync: something a media player can play.
        QVERIFY2(head == "ID3" || (head.size() == 3 && uchar(head[0]) == 0xff), name);
    }
}

QTEST_MAIN(TestWsjtxLink)
#include "tst_wsjtxlink.moc"
