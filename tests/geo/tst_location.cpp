#include "app/parkbook.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtx/wsjtxcodec.h"
#include "wsjtxpeer.h"

#include <QTest>
#include <QUdpSocket>

// The main window's location members working on the real Station, Contact and
// main forms, with the state centres loaded from the shipped table.
class TstLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void gridFollowsPositionAndEmptyLatitudeStillSends();
    void typedStateFillsContactWithCentre();
    void stationStateAndCountyReachMainWindow();

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
};

void TstLocation::init()
{
    home = std::make_unique<TempHome>();
    pb = home->makeParkbook();
}

void TstLocation::cleanup()
{
    pb.reset();
    home.reset();
}

void TstLocation::gridFollowsPositionAndEmptyLatitudeStillSends()
{
    // Typing the position is enough: the Station window reports each change.
    Ui::Station* s = pb->station->ui;
    s->lat->setText("north");
    s->lon->setText("west");
    QCOMPARE(pb->ui->parkGrid->text(), QString("JJ00aa")); // words read as 0
    s->lat->setText("41.714775");
    s->lon->setText("-72.727260");
    QCOMPARE(pb->ui->parkGrid->text(), QString("FN31pr"));
    QCOMPARE(s->grid->text(), QString("FN31pr"));
    s->lat->clear();

    // WSJT-X has to have spoken first, or Parkbook does not know where to
    // send; its heartbeat is answered with one Location already.
    WsjtxPeer peer;
    QVERIFY(peer.open());
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 port = probe.localPort();
    probe.close();
    pb->wsjtx->ui->udpIp->setText("127.0.0.1");
    pb->wsjtx->ui->udpPort->setValue(port);
    pb->initUdpSocket();
    peer.sendTo(port, WsjtxPeer::heartbeat());
    QVERIFY(peer.waitForReceived(1));

    pb->calculateGrid();
    QVERIFY(peer.waitForReceived(2));
    QCOMPARE(peer.received.size(), 2);
    QCOMPARE(peer.received.last(), WsjtxCodec::locationMessage({"WSJT-X", 2}, "FN31pr"));
    QCOMPARE(pb->ui->parkGrid->text(), QString("FN31pr"));
    QCOMPARE(s->grid->text(), QString("FN31pr"));
}

void TstLocation::typedStateFillsContactWithCentre()
{
    pb->station->ui->lat->setText("41.714775");
    pb->station->ui->lon->setText("-72.727260");
    Ui::Contact* c = pb->contact->ui;
    c->city->setText("Hartford");
    c->county->setText("Hartford");
    c->grid->setText("FN31pr");
    c->dist->setText("12   ");

    // A quote finds nothing: only distance and bearing are blanked.
    QTest::keyClicks(pb->ui->state, "'");
    QCOMPARE(pb->ui->state->text(), QString("'"));
    QCOMPARE(c->city->text(), QString("Hartford"));
    QCOMPARE(c->dist->text(), QString());

    // TX is stored as 31.476, -99.331 (read as float when the table is loaded).
    pb->ui->state->clear();
    QTest::keyClicks(pb->ui->state, "tx");
    QCOMPARE(pb->ui->state->text(), QString("TX"));
    QCOMPARE(pb->ui->state->cursorPosition(), 2);
    QVERIFY(pb->ui->state->isModified());
    QCOMPARE(c->city->text(), QString("StateCenter"));
    QCOMPARE(c->state->text(), QString("TX"));
    QCOMPARE(c->county->text(), QString());
    QCOMPARE(c->grid->text(), QString());
    QCOMPARE(c->lat->text(), QString("31.475999"));
    QCOMPARE(c->lon->text(), QString("-99.33100"));
    QCOMPARE(c->dist->text(), QString("1628 "));
    QCOMPARE(c->bear->text(), QString("253"));
}

void TstLocation::stationStateAndCountyReachMainWindow()
{
    Ui::Station* s = pb->station->ui;
    pb->ui->parkLocation->setText("US-CT");
    s->state->setCurrentIndex(s->state->findText("TX"));
    QCOMPARE(s->location->text(), QString("US-TX"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));
    // "?" is no state: the location stays as it was.
    s->state->setCurrentIndex(s->state->findText("?"));
    QCOMPARE(s->location->text(), QString("US-TX"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));
    // A typed location is shown in upper case and goes straight through.
    s->location->clear();
    pb->ui->parkLocation->clear();
    QTest::keyClicks(s->location, "us-tx");
    QCOMPARE(s->location->text(), QString("US-TX"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));

    s->county->clear();
    QTest::keyClicks(s->county, "travis");
    QVERIFY(!pb->ui->parkCounty->text().isEmpty());
    QCOMPARE(pb->ui->parkCounty->text(), s->county->text());
}

QTEST_MAIN(TstLocation)
#include "tst_location.moc"
