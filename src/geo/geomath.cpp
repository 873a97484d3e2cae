#include "geo/geomath.h"

#include <QLocale>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace Geo
{

namespace
{

// Degrees to radians and back with the rounded values the distances and
// bearings have always been computed with.
constexpr double degToRad = 0.0174532925;
constexpr double piRounded = 3.14159265;
constexpr double earthMiles = 3959.0;
constexpr double unknownBelow = 0.001; // radians, about 0.057 degrees

int clampIndex(double value, int last)
{
    // Truncation toward zero, then kept inside the alphabet/digit range.
    const double truncated = std::trunc(value);
    if (!(truncated > 0))
        return 0;
    return truncated > last ? last : static_cast<int>(truncated);
}

} // namespace

QString maidenhead(double lat, double lon)
{
    if (std::isnan(lat))
        lat = 0.0;
    if (!std::isfinite(lon))
        lon = 0.0;
    lat = std::clamp(lat, -90.0, 90.0);
    if (lon < -180.0 || lon >= 180.0) {
        lon = std::fmod(lon + 180.0, 360.0);
        if (lon < 0.0)
            lon += 360.0;
        lon -= 180.0;
    }

    double a = lon + 180.0;
    double b = lat + 90.0;

    const int i1 = clampIndex(a / 20.0, 17);
    a -= 20.0 * i1;
    const int i2 = clampIndex(b / 10.0, 17);
    b -= 10.0 * i2;

    const int i3 = clampIndex(a * 0.5, 9);
    const int i4 = clampIndex(b, 9);

    a -= 2 * i3;
    const int i5 = clampIndex(a / 0.08333333333333333, 23); // 5 arc minutes
    b -= i4;
    const int i6 = clampIndex(b / 0.041666666666666664, 23); // 2.5 arc minutes

    QString grid;
    grid += QChar('A' + i1);
    grid += QChar('A' + i2);
    grid += QChar('0' + i3);
    grid += QChar('0' + i4);
    grid += QChar('a' + i5);
    grid += QChar('a' + i6);
    return grid;
}

std::optional<Path> path(double lat1, double lon1, double lat2, double lon2)
{
    lat1 *= degToRad;
    lon1 *= degToRad;
    lat2 *= degToRad;
    lon2 *= degToRad;
    for (double v : {lat1, lon1, lat2, lon2}) {
        if (!std::isfinite(v) || std::fabs(v) <= unknownBelow)
            return std::nullopt;
    }

    const double delta = lon2 - lon1;
    // Rounding can push the cosine a hair past 1 for two equal points; acos
    // would then give NaN instead of 0.
    const double cosC = std::clamp(std::cos(lat1) * std::cos(lat2) * std::cos(delta) +
                                       std::sin(lat1) * std::sin(lat2),
                                   -1.0, 1.0);
    const double c = std::acos(cosC);
    const double theta = std::atan2(std::sin(delta) * std::cos(lat2),
                                    std::cos(lat1) * std::sin(lat2) -
                                        std::sin(lat1) * std::cos(lat2) * std::cos(delta));

    Path p;
    p.bearing = static_cast<int>(theta / piRounded * 180.0 + 360.5) % 360;
    p.miles = static_cast<int>(c * earthMiles + 0.5);
    return p;
}

QString distanceText(const std::optional<Path>& p)
{
    return p ? QString("%1").arg(p->miles, -5) : QString();
}

QString bearingText(const std::optional<Path>& p)
{
    return p ? QString("%1").arg(p->bearing, -3) : QString();
}

std::optional<StateCentre> stateCentre(const QSqlDatabase& db, const QString& state)
{
    QSqlQuery query(db);
    query.prepare("SELECT lat, lon FROM latlon WHERE state = ?");
    query.addBindValue(state);
    if (!query.exec() || !query.next())
        return std::nullopt;
    auto text = [](const QVariant& v) {
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest).left(9);
    };
    return StateCentre{text(query.value(0)), text(query.value(1))};
}

} // namespace Geo
