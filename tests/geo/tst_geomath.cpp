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
    void locatorInRange_data();
    void locatorInRange();
    void locatorOutOfRange_data();
    void locatorOutOfRange();
    void locatorInRangeIsUntouchedByTheGuards();
    void path_data();
    void path();
    void pathTexts();
    void stateCentre();
};

void TstGeoMath::locatorInRange_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("grid");
    QTest::newRow("Orlando") << 28.5 << -81.4 << "EL98hm";
    QTest::newRow("Connecticut") << 41.714775 << -72.727260 << "FN31pr";
    QTest::newRow("London") << 51.5 << -0.1 << "IO91wm";
    QTest::newRow("Sydney") << -33.8688 << 151.2093 << "QF56od";
    QTest::newRow("origin") << 0.0 << 0.0 << "JJ00aa";
    QTest::newRow("south-west corner") << -90.0 << -180.0 << "AA00aa";
    QTest::newRow("just inside north-east") << 89.99 << 179.99 << "RR99xx";
    // Edges of a subsquare: 5 and 2.5 arc minutes past a square's corner.
    QTest::newRow("subsquare edge") << 0.125 << 0.25 << "JJ00dd";
}

void TstGeoMath::locatorInRange()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, grid);
    QCOMPARE(Geo::maidenhead(lat, lon), grid);
}

void TstGeoMath::locatorOutOfRange_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("grid");
    // Latitude clamps: the pole is the last row, beyond it stays there.
    QTest::newRow("north pole") << 90.0 << -81.4 << "ER99hx";
    QTest::newRow("past north pole") << 123.0 << -81.4 << "ER99hx";
    QTest::newRow("past south pole") << -95.0 << -81.4 << "EA90ha";
    QTest::newRow("infinite latitude") << inf << 0.0 << "JR09ax";
    // Longitude wraps around the globe.
    QTest::newRow("date line east") << 28.5 << 180.0 << "AL08am";
    QTest::newRow("one turn east") << 28.5 << 278.6 << "EL98hm";
    QTest::newRow("two turns west") << 28.5 << -801.4 << "EL98hm";
    QTest::newRow("190 east is 170 west") << 0.0 << 190.0 << "AJ50aa";
    // Just below the edge, but the sum rounds up onto it.
    QTest::newRow("last double below 90") << std::nextafter(90.0, 0.0) << -81.4 << "ER99hx";
    QTest::newRow("last double below 180") << 28.5 << std::nextafter(180.0, 0.0) << "RL98xm";
    // Unreadable numbers read as 0.
    QTest::newRow("NaN latitude") << nan << 0.0 << "JJ00aa";
    QTest::newRow("NaN longitude") << 0.0 << nan << "JJ00aa";
    QTest::newRow("infinite longitude") << 0.0 << -inf << "JJ00aa";
    QTest::newRow("both huge") << 1e300 << -1e300 << "";
}

void TstGeoMath::locatorOutOfRange()
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

// The plain field/square/subsquare split, with no guard at all, for values
// where it cannot leave the alphabet.
static QString unguardedLocator(double lat, double lon)
{
    double a = lon + 180.0;
    double b = lat + 90.0;
    const int i1 = int(a / 20.0);
    a -= 20.0 * i1;
    const int i2 = int(b / 10.0);
    b -= 10.0 * i2;
    const int i3 = int(a * 0.5);
    const int i4 = int(b);
    a -= 2 * i3;
    const int i5 = int(a / 0.08333333333333333);
    b -= i4;
    const int i6 = int(b / 0.041666666666666664);
    QString grid;
    for (int i : {'A' + i1, 'A' + i2, '0' + i3, '0' + i4, 'a' + i5, 'a' + i6})
        grid += QChar(i);
    return grid;
}

void TstGeoMath::locatorInRangeIsUntouchedByTheGuards()
{
    // Steps of 1/24 and 1/12 degree hit every subsquare edge exactly, the odd
    // offsets land in between; the last values sit just below +90 / +180.
    QList<double> lats, lons;
    for (int k = 0; k < 180 * 24; k += 7)
        lats << -90.0 + k / 24.0 << -90.0 + k / 24.0 + 0.0137;
    for (int k = 0; k < 360 * 12; k += 11)
        lons << -180.0 + k / 12.0 << -180.0 + k / 12.0 + 0.0311;
    lats << 89.999999;
    lons << 179.999999;
    for (double lat : std::as_const(lats)) {
        for (double lon : {lons.first(), lons.at(lons.size() / 3), lons.last(), -81.4}) {
            if (Geo::maidenhead(lat, lon) != unguardedLocator(lat, lon))
                QFAIL(qPrintable(QString("%1, %2").arg(lat, 0, 'g', 17).arg(lon, 0, 'g', 17)));
        }
    }
    for (double lon : std::as_const(lons)) {
        for (double lat : {lats.first(), 28.5, lats.last()}) {
            if (Geo::maidenhead(lat, lon) != unguardedLocator(lat, lon))
                QFAIL(qPrintable(QString("%1, %2").arg(lat, 0, 'g', 17).arg(lon, 0, 'g', 17)));
        }
    }
}

void TstGeoMath::path_data()
{
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("miles");
    QTest::addColumn<int>("bearing");
    QTest::newRow("Connecticut to Los Angeles")
        << 41.714775 << -72.727260 << 34.05 << -118.25 << true << 2508 << 273;
    QTest::newRow("Orlando to Connecticut")
        << 28.5 << -81.4 << 41.714775 << -72.727260 << true << 1035 << 26;
    QTest::newRow("due north, bearing 0 not 360")
        << 40.0 << -80.0 << 41.0 << -80.0 << true << 69 << 0;
    // Two equal points: rounding must not turn the distance into garbage.
    QTest::newRow("same point") << 41.714775 << -72.727260 << 41.714775 << -72.727260 << true << 0
                                << 0;
    QTest::newRow("contact longitude 0.05") << 41.7 << -72.7 << 34.05 << 0.05 << false << 0 << 0;
    QTest::newRow("contact latitude -0.057")
        << 41.7 << -72.7 << -0.057 << -118.25 << false << 0 << 0;
    QTest::newRow("station at 0,0") << 0.0 << 0.0 << 34.05 << -118.25 << false << 0 << 0;
    QTest::newRow("just past the blank zone")
        << 41.7 << -72.7 << 34.05 << 0.058 << true << 3885 << 72;
    QTest::newRow("NaN") << 41.7 << -72.7 << std::numeric_limits<double>::quiet_NaN() << -118.25
                         << false << 0 << 0;
    QTest::newRow("infinite") << 41.7 << std::numeric_limits<double>::infinity() << 34.05 << -118.25
                              << false << 0 << 0;
}

void TstGeoMath::path()
{
    QFETCH(double, lat1);
    QFETCH(double, lon1);
    QFETCH(double, lat2);
    QFETCH(double, lon2);
    QFETCH(bool, known);
    const auto p = Geo::path(lat1, lon1, lat2, lon2);
    QCOMPARE(p.has_value(), known);
    if (known) {
        QTEST(p->miles, "miles");
        QTEST(p->bearing, "bearing");
    }
}

void TstGeoMath::pathTexts()
{
    const auto p = Geo::path(41.714775, -72.727260, 34.05, -118.25);
    QCOMPARE(Geo::distanceText(p), QString("2508 "));
    QCOMPARE(Geo::bearingText(p), QString("273"));
    const auto near = Geo::path(40.0, -80.0, 41.0, -80.0);
    QCOMPARE(Geo::distanceText(near), QString("69   "));
    QCOMPARE(Geo::bearingText(near), QString("0  "));
    QCOMPARE(Geo::distanceText(std::nullopt), QString());
    QCOMPARE(Geo::bearingText(std::nullopt), QString());
}

void TstGeoMath::stateCentre()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "geotest");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE latlon (id INTEGER PRIMARY KEY NOT NULL, state TEXT, lat "
                       "REAL, lon REAL)"));
        q.prepare("INSERT INTO latlon (state, lat, lon) VALUES (?, ?, ?)");
        // Stored as the CSV loader stores them: read as float, kept as REAL.
        for (const auto& row :
             {std::tuple{"TX", 31.054f, -97.563f}, std::tuple{"AK", 64.069f, -152.278f}}) {
            q.addBindValue(std::get<0>(row));
            q.addBindValue(std::get<1>(row));
            q.addBindValue(std::get<2>(row));
            QVERIFY(q.exec());
        }

        const auto tx = Geo::stateCentre(db, "TX");
        QVERIFY(tx);
        QCOMPARE(tx->lat.size(), 9);
        QCOMPARE(tx->lon.size(), 9);
        QVERIFY2(std::fabs(tx->lat.toDouble() - 31.054) < 1e-5, qPrintable(tx->lat));
        QVERIFY2(std::fabs(tx->lon.toDouble() + 97.563) < 1e-5, qPrintable(tx->lon));

        QVERIFY(!Geo::stateCentre(db, "T"));
        QVERIFY(!Geo::stateCentre(db, "tx"));
        QVERIFY(!Geo::stateCentre(db, ""));
        // Quotes are only compared, never parsed as SQL.
        QVERIFY(!Geo::stateCentre(db, "'"));
        QVERIFY(!Geo::stateCentre(db, "X' OR '1'='1"));
        QVERIFY(!Geo::stateCentre(db, "TX'; DROP TABLE latlon; --"));
        QVERIFY(Geo::stateCentre(db, "AK"));
    }
    QSqlDatabase::removeDatabase("geotest");
}

QTEST_GUILESS_MAIN(TstGeoMath)
#include "tst_geomath.moc"
