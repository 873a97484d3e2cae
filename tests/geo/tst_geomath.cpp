#include "geo/geomath.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <cmath>
#include <limits>

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

class TstGeoMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Latitude clamps (the pole is the last row, beyond it stays there),
    // longitude wraps round the globe, unreadable numbers read as 0; an
    // empty grid only has to be a valid locator.
    void locator()
    {
        // The 9th and 10th are just below the edge, but their sums round up onto it.
        const double lats[] = {
            28.5, 41.714775,  51.5, -33.8688, 90.0, -95.0, 28.5, 28.5, std::nextafter(90.0, 0.0),
            28.5, notANumber, 1e300};
        const double lons[] = {-81.4, -72.727260, -0.1,   151.2093, -81.4,
                               -81.4, 180.0,      -801.4, -81.4,    std::nextafter(180.0, 0.0),
                               -inf,  -1e300};
        QStringList grids;
        for (int i = 0; i < 12; ++i)
            grids << Geo::maidenhead(lats[i], lons[i]);
        QCOMPARE(grids.filter(QRegularExpression("^[A-R]{2}[0-9]{2}[a-x]{2}$")), grids);
        // Orlando, Connecticut, London, Sydney, the north pole, past the south
        // pole, the date line east, two turns west, the edges, NaN.
        QCOMPARE(grids.mid(0, 11).join(' '), QString("EL98hm FN31pr IO91wm QF56od ER99hx EA90ha "
                                                     "AL08am EL98hm ER99hx RL98xm JJ00aa"));
    }

    // Distance and bearing as shown (padded to 5 and 3), empty when unknown.
    void path()
    {
        struct {
            double lat1, lon1, lat2, lon2;
            const char* shown;
        } const rows[] = {{41.714775, -72.727260, 34.05, -118.25, "2508 |273"},
                          {28.5, -81.4, 41.714775, -72.727260, "1035 |26 "},
                          {40.0, -80.0, 41.0, -80.0, "69   |0  "}, // due north: 0, not 360
                          // Two equal points: rounding must not make the distance NaN.
                          {41.714775, -72.727260, 41.714775, -72.727260, "0    |0  "},
                          {41.7, -72.7, 34.05, 0.05, "|"}, // a longitude near 0 is unknown
                          {41.7, -72.7, 34.05, 0.058, "3885 |72 "},
                          {41.7, -72.7, notANumber, -118.25, "|"}};
        for (const auto& row : rows) {
            const auto p = Geo::path(row.lat1, row.lon1, row.lat2, row.lon2);
            QCOMPARE(Geo::distanceText(p) + '|' + Geo::bearingText(p), QString(row.shown));
            QCOMPARE(p.has_value(), QString(row.shown) != "|");
        }
    }

    // Quotes are only compared, never parsed as SQL.
    void stateCentre()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "geotest");
            db.setDatabaseName(":memory:");
            QSqlQuery q(db);
            QVERIFY(db.open() && q.exec("CREATE TABLE latlon (state TEXT, lat REAL, lon REAL)"));
            QVERIFY(q.exec("INSERT INTO latlon VALUES ('TX', 31.054, -97.563)"));
            QVERIFY(!Geo::stateCentre(db, "X' OR '1'='1"));
            QVERIFY(!Geo::stateCentre(db, "TX'; DROP TABLE latlon; --"));
            const auto tx = Geo::stateCentre(db, "TX");
            QCOMPARE(tx ? tx->lat + ' ' + tx->lon : QString(), QString("31.054 -97.563"));
        }
        QSqlDatabase::removeDatabase("geotest");
    }
};

QTEST_GUILESS_MAIN(TstGeoMath)
#include "tst_geomath.moc"
