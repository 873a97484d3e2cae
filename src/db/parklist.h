#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

// POTA's list of every park (all_parks_ext.csv), kept in the table parkList of
// the log so that names, places and checks work without a network.
namespace ParkList
{
inline constexpr const char* createTable =
    "CREATE TABLE IF NOT EXISTS parkList (reference TEXT PRIMARY KEY, name TEXT, active TEXT, "
    "entityId TEXT, locationDesc TEXT, latitude TEXT, longitude TEXT, grid TEXT)";

struct Park {
    QString reference, name, active, entityId, locationDesc, latitude, longitude, grid;

    // POTA marks retired parks with active 0.
    bool isActive() const { return active.trimmed() != QLatin1String("0"); }
    // "US-ME,US-NH" gives US-ME and US-NH.
    QStringList locations() const;
};

struct [[nodiscard]] LoadResult {
    bool ok = false;
    int parks = 0;
    int active = 0;
    QString error; // why nothing was changed
};

// Replaces the whole list with the parks of `csv` in one transaction. A file
// without POTA's header, a malformed or cut-off row, or a refused write
// changes nothing.
LoadResult load(QSqlDatabase db, const QByteArray& csv);

// Whether a list with at least one park is loaded.
bool isLoaded(QSqlDatabase db);
std::optional<Park> find(QSqlDatabase db, const QString& reference);

// POTA renamed the US parks from K-nnnn to US-nnnn in 2024.
QString renamedReference(const QString& reference);

struct Lookup {
    enum Status { NoList, Unknown, Retired, Active, Renamed };
    Status status = NoList;
    Park park;            // for Retired, Active and Renamed (the park under its new name)
    QString newReference; // for Renamed
};
// What the list says about one reference typed by the operator.
Lookup lookup(QSqlDatabase db, const QString& reference);

struct History {
    bool workedPark = false;   // some contact has the park as `park` or `p2p`
    bool workedOnBand = false; // one of them on `band`
};
// The contacts of `log` other than `exceptId` that name `reference`.
History history(QSqlDatabase db, const QString& reference, const QString& band, qint64 exceptId);
} // namespace ParkList
