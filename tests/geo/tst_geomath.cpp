#include "geo/geomath.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <cmath>
#include <limits>

class TstGeoMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void locator_data();
    void locator();
    void path_data();
    void path();
    void stateCentre();
};

void TstGeoMath::locator_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("grid"); // empty: only has to be a valid locator
    QTest::newRow("Orlando") << 28.5 << -81.4 << "EL98hm";
    QTest::newRow("Connecticut") << 41.714775 << -72.727260 << "FN31pr";
    QTest::newRow("London") << 51.5 << -0.1 << "IO91wm";
    QTest::newRow("Sydney") << -33.8688 << 151.2093 << "QF56od";
    // Latitude clamps: the pole is the last row, beyond it stays there.
    QTest::newRow("north pole") << 90.0 << -81.4 << "ER99hx";
    QTest::newRow("past south pole") << -95.0 << -81.4 << "EA90ha";
    // Longitude wraps around the globe.
    QTest::newRow("date line east") << 28.5 << 180.0 << "AL08am";
    QTest::newRow("two turns west") << 28.5 << -801.4 << "EL98hm";
    // Just below the edge, but the sum rounds up onto it.
    QTest::newRow("last double below 90") << std::nextafter(90.0, 0.0) << -81.4 << "ER99hx";
    QTest::newRow("last double below 180") << 28.5 << std::nextafter(180.0, 0.0) << "RL98xm";
    // Unreadable numbers read as 0.
    QTest::newRow("NaN latitude, infinite longitude")
        << std::numeric_limits<double>::quiet_NaN() << -std::numeric_limits<double>::infinity()
        << "JJ00aa";
    QTest::newRow("both huge") << 1e300 << -1e300 << "";
}

void TstGeoMath::locator()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, grid);
    const QString got = Geo::maidenhead(lat, lon);
    static const QRegularExpression valid("^[A-R]{2}[0-9]{2}[a-x]{2}$");
    QVERIFY2(valid.match(got).hasMatch(), qPrintable(got));
    if (!grid.isEmpty())
        QCOMPARE(got, grid);
}

void TstGeoMath::path_data()
{
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<QString>("dist"); // as shown: padded to 5 and 3, empty when unknown
    QTest::addColumn<QString>("bear");
    QTest::newRow("Connecticut to Los Angeles")
        << 41.714775 << -72.727260 << 34.05 << -118.25 << QString("2508 ") << "273";
    QTest::newRow("Orlando to Connecticut")
        << 28.5 << -81.4 << 41.714775 << -72.727260 << QString("1035 ") << "26 ";
    QTest::newRow("due north, bearing 0 not 360")
        << 40.0 << -80.0 << 41.0 << -80.0 << QString("69   ") << "0  ";
    // Two equal points: rounding must not turn the distance into NaN.
    QTest::newRow("same point") << 41.714775 << -72.727260 << 41.714775 << -72.727260
                                << QString("0    ") << "0  ";
    QTest::newRow("contact longitude 0.05") << 41.7 << -72.7 << 34.05 << 0.05 << QString() << "";
    QTest::newRow("just past the blank zone")
        << 41.7 << -72.7 << 34.05 << 0.058 << QString("3885 ") << "72 ";
    QTest::newRow("NaN") << 41.7 << -72.7 << std::numeric_limits<double>::quiet_NaN() << -118.25
                         << QString() << "";
}

void TstGeoMath::path()
{
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);
    QFETCH(QString, dist);
    const auto p = Geo::path(lat1, lon1, lat2, lon2);
    QCOMPARE(p.has_value(), !dist.isEmpty());
    QCOMPARE(Geo::distanceText(p), dist);
    QTEST(Geo::bearingText(p), "bear");
}

void TstGeoMath::stateCentre()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "geotest");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE latlon (id INTEGER PRIMARY KEY, state TEXT, lat REAL, lon "
                       "REAL)"));
        QVERIFY(q.exec("INSERT INTO latlon (state, lat, lon) VALUES ('TX', 31.054, -97.563)"));
        // Quotes are only compared, never parsed as SQL.
        QVERIFY(!Geo::stateCentre(db, "X' OR '1'='1"));
        QVERIFY(!Geo::stateCentre(db, "TX'; DROP TABLE latlon; --"));
        const auto tx = Geo::stateCentre(db, "TX");
        QVERIFY(tx);
        QCOMPARE(tx->lat, QString("31.054"));
        QCOMPARE(tx->lon, QString("-97.563"));
    }
    QSqlDatabase::removeDatabase("geotest");
}

QTEST_GUILESS_MAIN(TstGeoMath)
#include "tst_geomath.moc"
