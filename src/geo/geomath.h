#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// Position arithmetic shared by the station and contact displays. All angles
// are decimal degrees, north and east positive.
namespace Geo
{

// The 6-character Maidenhead locator "AA00aa" of a position.
//
// Inside the globe (-90 <= lat < 90, -180 <= lon < 180) the characters are
// exactly those of the usual field / square / subsquare split.
// Outside it the locator is still a valid one:
//  - a latitude is clamped to -90..+90, and +90 (the pole itself) falls in the
//    last row "R9x" instead of running past the alphabet;
//  - a longitude is wrapped around the globe into -180..+180 (so +180 is the
//    same meridian as -180 and 190 is -170);
//  - NaN, and an infinite longitude, read as 0, as unparsable text does.
QString maidenhead(double lat, double lon);

struct Path {
    int miles = 0;   // great-circle distance on a 3959-mile sphere, rounded
    int bearing = 0; // initial bearing from the first point, 0..359, rounded
};

// Distance and bearing from the station (lat1, lon1) to the contact
// (lat2, lon2). Empty when any coordinate lies within about 0.057 degrees of 0
// (a 0 means "position unknown") or is not a finite number.
std::optional<Path> path(double lat1, double lon1, double lat2, double lon2);

// The texts shown in the distance and bearing fields: the distance padded to
// 5 characters, the bearing to 3, both left-aligned; both empty without a path.
QString distanceText(const std::optional<Path>& p);
QString bearingText(const std::optional<Path>& p);

struct StateCentre {
    QString lat; // shortest decimal form, cut to 9 characters
    QString lon;
};

// The centre of a state from the `latlon` table of `db`; the code is bound as
// a parameter, so any text (quotes included) is only ever compared.
std::optional<StateCentre> stateCentre(const QSqlDatabase& db, const QString& state);

} // namespace Geo
