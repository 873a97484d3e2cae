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

#include <QComboBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
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

    void gridFollowsStationPosition_data();
    void gridFollowsStationPosition();
    void emptyCoordinateKeepsGridButStillSends_data();
    void emptyCoordinateKeepsGridButStillSends();
    void bearDistFillsContact_data();
    void bearDistFillsContact();
    void typedStateFillsContactWithCentre_data();
    void typedStateFillsContactWithCentre();
    void typedQuoteFindsNothingAndBreaksNothing();
    void stationStateAndCountyReachMainWindow();

private:
    void setStation(const QString& lat, const QString& lon);
    void fillContact();

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
};

void TstLocation::init()
{
    home = std::make_unique<TempHome>();
    home->writeQuietSettings();
    pb = home->makeParkbook();
}

void TstLocation::cleanup()
{
    pb.reset();
    home.reset();
}

void TstLocation::setStation(const QString& lat, const QString& lon)
{
    pb->station->ui->lat->setText(lat);
    pb->station->ui->lon->setText(lon);
}

void TstLocation::fillContact()
{
    Ui::Contact* c = pb->contact->ui;
    c->city->setText("Hartford");
    c->state->setText("CT");
    c->county->setText("Hartford");
    c->grid->setText("FN31pr");
    c->lat->setText("41.7");
    c->lon->setText("-72.7");
    c->dist->setText("12   ");
    c->bear->setText("90 ");
}

void TstLocation::gridFollowsStationPosition_data()
{
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("grid");
    QTest::newRow("Orlando") << "28.5"
                             << "-81.4"
                             << "EL98hm";
    QTest::newRow("Connecticut") << "41.714775"
                                 << "-72.727260"
                                 << "FN31pr";
    QTest::newRow("London") << "51.5"
                            << "-0.1"
                            << "IO91wm";
    QTest::newRow("Sydney") << "-33.8688"
                            << "151.2093"
                            << "QF56od";
    QTest::newRow("date line stays a locator") << "28.5"
                                               << "180"
                                               << "AL08am";
    QTest::newRow("pole stays a locator") << "90"
                                          << "-81.4"
                                          << "ER99hx";
    QTest::newRow("words read as 0") << "north"
                                     << "west"
                                     << "JJ00aa";
}

void TstLocation::gridFollowsStationPosition()
{
    QFETCH(QString, lat);
    QFETCH(QString, lon);
    QFETCH(QString, grid);
    // Typing the position is enough: the Station window reports each change.
    setStation(lat, lon);
    QCOMPARE(pb->ui->parkGrid->text(), grid);
    QCOMPARE(pb->station->ui->grid->text(), grid);
}

void TstLocation::emptyCoordinateKeepsGridButStillSends_data()
{
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("lon");
    QTest::newRow("lat empty") << ""
                               << "-81.4";
    QTest::newRow("lon empty") << "28.5"
                               << "";
    QTest::newRow("both empty") << ""
                                << "";
}

void TstLocation::emptyCoordinateKeepsGridButStillSends()
{
    QFETCH(QString, lat);
    QFETCH(QString, lon);
    setStation("41.714775", "-72.727260");
    QCOMPARE(pb->ui->parkGrid->text(), QString("FN31pr"));

    // Empty the blank coordinate first, so that no step in between holds
    // two filled coordinates that would rightly move the grid.
    if (lat.isEmpty()) {
        pb->station->ui->lat->setText(lat);
        pb->station->ui->lon->setText(lon);
    } else {
        pb->station->ui->lon->setText(lon);
        pb->station->ui->lat->setText(lat);
    }
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
    QCOMPARE(peer.received.last(), WsjtxCodec::locationMessage("FN31pr"));
    QCOMPARE(pb->ui->parkGrid->text(), QString("FN31pr"));
    QCOMPARE(pb->station->ui->grid->text(), QString("FN31pr"));
}

void TstLocation::bearDistFillsContact_data()
{
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<QString>("dist");
    QTest::addColumn<QString>("bear");
    QTest::newRow("Connecticut to Los Angeles")
        << 41.714775 << -72.727260 << 34.05 << -118.25 << "2508 "
        << "273";
    QTest::newRow("Orlando to Connecticut") << 28.5 << -81.4 << 41.714775 << -72.727260 << "1035 "
                                            << "26 ";
    QTest::newRow("contact longitude 0.05 blanks") << 41.714775 << -72.727260 << 34.05 << 0.05 << ""
                                                   << "";
    QTest::newRow("station unknown blanks") << 0.0 << 0.0 << 34.05 << -118.25 << ""
                                            << "";
}

void TstLocation::bearDistFillsContact()
{
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);
    fillContact();
    pb->bearDist(lat1, lon1, lat2, lon2);
    QTEST(pb->contact->ui->dist->text(), "dist");
    QTEST(pb->contact->ui->bear->text(), "bear");
}

void TstLocation::typedStateFillsContactWithCentre_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("dist");
    QTest::addColumn<QString>("bear");
    // TX is stored as 31.476, -99.331 (read as float when the table is loaded).
    QTest::newRow("tx") << "tx"
                        << "TX"
                        << "31.475999"
                        << "-99.33100"
                        << "1628 "
                        << "253";
    QTest::newRow("Hi") << "Hi"
                        << "HI"
                        << "20.292999"
                        << "-156.3739"
                        << "4978 "
                        << "282";
}

void TstLocation::typedStateFillsContactWithCentre()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    setStation("41.714775", "-72.727260");
    fillContact();
    Ui::Contact* c = pb->contact->ui;

    // First letter: no state has a one-letter code, so only distance and
    // bearing are blanked.
    QTest::keyClicks(pb->ui->state, typed.left(1));
    QCOMPARE(pb->ui->state->text(), shown.left(1));
    QCOMPARE(c->dist->text(), QString());
    QCOMPARE(c->bear->text(), QString());
    QCOMPARE(c->city->text(), QString("Hartford"));
    QCOMPARE(c->county->text(), QString("Hartford"));
    QCOMPARE(c->lat->text(), QString("41.7"));

    QTest::keyClicks(pb->ui->state, typed.mid(1));
    QCOMPARE(pb->ui->state->text(), shown);
    QCOMPARE(pb->ui->state->cursorPosition(), 2);
    QVERIFY(pb->ui->state->isModified());
    QCOMPARE(c->city->text(), QString("StateCenter"));
    QCOMPARE(c->state->text(), shown);
    QCOMPARE(c->county->text(), QString());
    QCOMPARE(c->grid->text(), QString());
    QTEST(c->lat->text(), "lat");
    QTEST(c->lon->text(), "lon");
    QTEST(c->dist->text(), "dist");
    QTEST(c->bear->text(), "bear");
}

void TstLocation::typedQuoteFindsNothingAndBreaksNothing()
{
    setStation("41.714775", "-72.727260");
    fillContact();
    QTest::keyClicks(pb->ui->state, "'");
    QCOMPARE(pb->ui->state->text(), QString("'"));
    QCOMPARE(pb->contact->ui->city->text(), QString("Hartford"));
    QCOMPARE(pb->contact->ui->dist->text(), QString());

    QSqlQuery count(QSqlDatabase::database("memory"));
    QVERIFY(count.exec("SELECT COUNT(*) FROM latlon"));
    QVERIFY(count.next());
    QVERIFY(count.value(0).toInt() > 50);

    // The table still answers a real code afterwards.
    pb->ui->state->clear();
    QTest::keyClicks(pb->ui->state, "CT");
    QCOMPARE(pb->contact->ui->city->text(), QString("StateCenter"));
    QCOMPARE(pb->contact->ui->lat->text().left(6), QString("41.622"));
}

void TstLocation::stationStateAndCountyReachMainWindow()
{
    Ui::Station* s = pb->station->ui;
    pb->ui->parkLocation->setText("US-CT");

    s->state->setCurrentIndex(s->state->findText("TX"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));

    s->county->clear();
    QTest::keyClicks(s->county, "travis");
    QCOMPARE(pb->ui->parkCounty->text(), s->county->text());
    QVERIFY(pb->ui->parkCounty->text().startsWith("T", Qt::CaseInsensitive));

    // "?" is no state: the location stays as it was.
    s->state->setCurrentIndex(s->state->findText("?"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));

    // Typing the location goes straight through too.
    s->location->clear();
    QTest::keyClicks(s->location, "us-nm");
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-NM"));
}

QTEST_MAIN(TstLocation)
#include "tst_location.moc"
