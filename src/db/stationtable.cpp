#include "db/stationtable.h"

#include <QSqlQuery>
#include <QVariant>

std::optional<StationRow> StationTable::load(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM station");
    if (!execute(query) || !query.first())
        return std::nullopt;
    auto text = [&query](const QString& column) { return query.value(column).toString(); };
    StationRow row{text("station"),
                   text("call"),
                   text("passwd"),
                   text("lat"),
                   text("lon"),
                   text("mode"),
                   text("band"),
                   text("frequency"),
                   text("power"),
                   text("county"),
                   text("state"),
                   text("location"),
                   {}};
    for (int n = 1; n <= 5; ++n)
        row.parkSlots[n - 1] = {text(QString("park%1").arg(n)), text(QString("name%1").arg(n)),
                                text(QString("mst%1").arg(n))};
    return row;
}

DbResult StationTable::save(QSqlDatabase db, const StationRow& row)
{
    QSqlQuery existing(db);
    existing.prepare("SELECT 1 FROM station");
    const bool haveRow = execute(existing) && existing.next();
    existing.finish();

    // The table holds one row, so the update needs no WHERE.
    QSqlQuery query(db);
    if (haveRow)
        query.prepare("UPDATE station SET station=?, call=?, passwd=?, lat=?, lon=?, mode=?, "
                      "band=?, frequency=?, power=?, county=?, state=?, location=?, park1=?, "
                      "name1=?, mst1=?, park2=?, name2=?, mst2=?, park3=?, name3=?, mst3=?, "
                      "park4=?, name4=?, mst4=?, park5=?, name5=?, mst5=? ");
    else
        query.prepare("INSERT INTO station (station, call, passwd, lat, lon, mode, band, "
                      "frequency, power, county, state, location, park1, name1, mst1, park2, "
                      "name2, mst2, park3, name3, mst3, park4, name4, mst4, park5, name5, mst5 ) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                      "?, ?, ?, ?, ?)");
    for (const QString& value :
         {row.station, row.call, row.passwd, row.lat, row.lon, row.mode, row.band, row.frequency,
          row.power, row.county, row.state, row.location})
        query.addBindValue(value);
    for (const StationRow::Slot& slot : row.parkSlots) {
        query.addBindValue(slot.park);
        query.addBindValue(slot.name);
        query.addBindValue(slot.multiState);
    }
    return execute(query);
}
