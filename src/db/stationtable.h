#pragma once

#include "db/dbresult.h"

#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

// The station record: the single row of `station`.
struct StationRow {
    QString station, call, passwd, lat, lon, mode, band, frequency, power, county, state, location;
    struct Slot {
        QString park, name, multiState; // multiState: "Yes" or ""
    };
    std::array<Slot, 5> parkSlots;
};

namespace StationTable
{
std::optional<StationRow> load(QSqlDatabase db);
// Writes the record over the stored one, or as the first one.
DbResult save(QSqlDatabase db, const StationRow& row);
} // namespace StationTable
