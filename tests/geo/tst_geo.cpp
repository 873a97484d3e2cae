// Locator and path maths, and the main window's location members working on
// the real Station, Contact and main forms.
#include "geo/geomath.h"
#include "journey.h"

#include <cmath>

const double notANumber = qQNaN(), inf = qInf();

class TestGeo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Latitude clamps (the pole is the last row, beyond it stays there),
    // longitude wraps round the globe, unreadable numbers read as 0.
    void locatorPathAndStateCentre()
    {
        // Orlando, Connecticut, London, Sydney, the north pole, past the south
        // pole, the date line east, two turns west, the edges (just below, but
        // their sums round up onto them), NaN; the last only has to be valid.
        const double edge = std::nextafter(90.0, 0.0), dateLine = std::nextafter(180.0, 0.0);
        const double latLon[] = {28.5,     -81.4,    41.714775,  -72.727260, 51.5,  -0.1,
                                 -33.8688, 151.2093, 90.0,       -81.4,      -95.0, -81.4,
                                 28.5,     180.0,    28.5,       -801.4,     edge,  -81.4,
                                 28.5,     dateLine, notANumber, -inf,       1e300, -1e300};
        QStringList grids;
        for (size_t i = 0; i < std::size(latLon); i += 2)
            grids << Geo::maidenhead(latLon[i], latLon[i + 1]);
        QCOMPARE(grids.filter(QRegularExpression("^[A-R]{2}[0-9]{2}[a-x]{2}$")), grids);
        QCOMPARE(grids.mid(0, 11).join(' '), QString("EL98hm FN31pr IO91wm QF56od ER99hx EA90ha "
                                                     "AL08am EL98hm ER99hx RL98xm JJ00aa"));

        // Distance and bearing as shown (padded to 5 and 3), empty when unknown.
        const std::tuple<double, double, double, double, const char*> rows[] = {
            {41.714775, -72.727260, 34.05, -118.25, "2508 |273"},
            {28.5, -81.4, 41.714775, -72.727260, "1035 |26 "},
            {40.0, -80.0, 41.0, -80.0, "69   |0  "}, // due north: 0, not 360
            // Two equal points: rounding must not make the distance NaN.
            {41.714775, -72.727260, 41.714775, -72.727260, "0    |0  "},
            {41.7, -72.7, 34.05, 0.05, "|"}, // a longitude near 0 is unknown
            {41.7, -72.7, 34.05, 0.058, "3885 |72 "},
            {41.7, -72.7, notANumber, -118.25, "|"}};
        for (const auto& [lat1, lon1, lat2, lon2, shown] : rows) {
            const auto p = Geo::path(lat1, lon1, lat2, lon2);
            QCOMPARE(Geo::distanceText(p) + '|' + Geo::bearingText(p), QString(shown));
        }

        // A state's centre: quotes are only compared, never parsed as SQL.
        ScratchDatabases db;
        rowsOf(db.memory, "INSERT INTO latlon (state, lat, lon) VALUES ('TX', 31.054, -97.563)");
        QVERIFY(!Geo::stateCentre(db.memory, "X' OR '1'='1"));
        QVERIFY(!Geo::stateCentre(db.memory, "TX'; DROP TABLE latlon; --"));
        const auto tx = Geo::stateCentre(db.memory, "TX");
        QCOMPARE(tx ? tx->lat + ' ' + tx->lon : QString(), QString("31.054 -97.563"));
    }

    // Typing the position is enough: the Station window reports each change;
    // without a latitude the grid stays (the WSJT-X tests see it sent again).
    // A state typed in the main window fills the Contact window with its
    // centre, and the Station window's state and county reach the main window.
    void locationReachesEveryWindow()
    {
        TempHome home;
        const auto pb = home.makeParkbook();
        Ui::Station* s = pb->station->ui;
        s->lat->setText("north");
        s->lon->setText("west");
        QCOMPARE(pb->ui->parkGrid->text(), QString("JJ00aa")); // words read as 0
        s->lat->setText("41.714775");
        s->lon->setText("-72.727260");
        s->lat->clear();
        QCOMPARE(pb->ui->parkGrid->text() + ' ' + s->grid->text(), QString("FN31pr FN31pr"));
        s->lat->setText("41.714775");

        Ui::Contact* c = pb->contact->ui;
        for (QLineEdit* field : {c->city, c->county, c->grid, c->dist})
            field->setText("x");
        // A quote finds nothing: only distance and bearing are blanked.
        QTest::keyClicks(pb->ui->state, "'");
        QCOMPARE(c->city->text() + c->dist->text(), QString("x"));
        // TX is stored as 31.476, -99.331 (read as float when the table is loaded).
        pb->ui->state->clear();
        QTest::keyClicks(pb->ui->state, "tx");
        QCOMPARE(pb->ui->state->text() + QString::number(pb->ui->state->cursorPosition()) +
                     QString::number(pb->ui->state->isModified()),
                 QString("TX21"));
        QCOMPARE(QStringList({c->city->text(), c->state->text(), c->county->text(), c->grid->text(),
                              c->lat->text(), c->lon->text(), c->dist->text(), c->bear->text()}),
                 QString("StateCenter|TX|||31.475999|-99.33100|1628 |253").split('|'));

        s->state->setCurrentIndex(s->state->findText("TX"));
        QTest::keyClicks(s->county, "travis");
        QCOMPARE(pb->ui->parkLocation->text() + ' ' + pb->ui->parkCounty->text(),
                 QString("US-TX Travis"));
    }
};

QTEST_MAIN(TestGeo)
#include "tst_geo.moc"
