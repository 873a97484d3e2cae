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
        struct {
            const char* name;
            double lat, lon;
            const char* grid;
        } const rows[] = {{"Orlando", 28.5, -81.4, "EL98hm"},
                          {"Connecticut", 41.714775, -72.727260, "FN31pr"},
                          {"London", 51.5, -0.1, "IO91wm"},
                          {"Sydney", -33.8688, 151.2093, "QF56od"},
                          {"north pole", 90.0, -81.4, "ER99hx"},
                          {"past south pole", -95.0, -81.4, "EA90ha"},
                          {"date line east", 28.5, 180.0, "AL08am"},
                          {"two turns west", 28.5, -801.4, "EL98hm"},
                          // Just below the edge, but the sum rounds up onto it.
                          {"last double below 90", std::nextafter(90.0, 0.0), -81.4, "ER99hx"},
                          {"last double below 180", 28.5, std::nextafter(180.0, 0.0), "RL98xm"},
                          {"NaN, infinite", notANumber, -inf, "JJ00aa"},
                          {"both huge", 1e300, -1e300, ""}};
        static const QRegularExpression valid("^[A-R]{2}[0-9]{2}[a-x]{2}$");
        for (const auto& row : rows) {
            const QString got = Geo::maidenhead(row.lat, row.lon);
            QVERIFY2(valid.match(got).hasMatch() && (!*row.grid || got == row.grid),
                     qPrintable(QString(row.name) + ": " + got));
        }
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
            QVERIFY(tx);
            QCOMPARE(tx->lat + ' ' + tx->lon, QString("31.054 -97.563"));
        }
        QSqlDatabase::removeDatabase("geotest");
    }
};

QTEST_GUILESS_MAIN(TstGeoMath)
#include "tst_geomath.moc"
