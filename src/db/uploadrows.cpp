#include "db/uploadrows.h"

#include <QSqlQuery>
#include <QVariant>

namespace UploadRows
{
QList<Adif::UploadContact> contacts(QSqlDatabase db, const QString& park, const QString& startDate,
                                    const QString& endDate)
{
    QList<Adif::UploadContact> rows;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT date, time, call, band, mode, p2p FROM log WHERE date>=? and date<=? "
                  "and park=? ORDER BY date, time");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    query.addBindValue(park);
    if (query.exec()) {
        while (query.next()) {
            auto text = [&query](int column) { return query.value(column).toString(); };
            rows.append({text(0), text(1), text(2), text(3), text(4), text(5)});
        }
    }
    return rows;
}

std::optional<QSet<QString>> listedParks(QSqlDatabase db, const QStringList& references)
{
    QSqlQuery query(db);
    if (!query.exec("SELECT EXISTS (SELECT 1 FROM parkList)") || !query.next() ||
        !query.value(0).toBool())
        return std::nullopt;
    QSet<QString> listed;
    query.prepare("SELECT 1 FROM parkList WHERE reference=?");
    for (const QString& reference : references) {
        query.addBindValue(reference);
        if (query.exec() && query.next())
            listed.insert(reference);
    }
    return listed;
}
} // namespace UploadRows
