#include "db/logtable.h"

#include <QVariant>
#include <algorithm>

namespace
{
// The date and park of a contact are set when it is logged; an edit keeps them.
const QStringList keptByEdit = {"date", "park"};

} // namespace

DbResult LogTable::insert(QSqlDatabase db, const ContactRow& row)
{
    QSqlQuery query(db);
    query.prepare(ContactColumns::insertSql("log"));
    ContactColumns::bind(query, row);
    return execute(query);
}

DbResult LogTable::update(QSqlDatabase db, qint64 id, const ContactRow& row)
{
    QSqlQuery query(db);
    query.prepare(ContactColumns::updateSql("log", "id", keptByEdit));
    ContactColumns::bind(query, row, keptByEdit);
    query.addBindValue(id);
    DbResult result = execute(query);
    if (result && query.numRowsAffected() == 0)
        return DbResult::failure("There is no contact " + QString::number(id) + " in the log.");
    result.id = id;
    return result;
}

DbResult LogTable::remove(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("DELETE FROM log WHERE id = ?");
    query.addBindValue(id);
    return execute(query);
}

std::optional<ContactRow> LogTable::find(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM log WHERE id = ?");
    query.addBindValue(id);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return ContactColumns::read(query);
}

QList<LogTable::Contact> LogTable::parkLog(QSqlDatabase db, const QString& date,
                                           const QString& operatorCall, const QString& park)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM log WHERE date=? and  operator=? and park=? ORDER BY time");
    query.addBindValue(date);
    query.addBindValue(operatorCall);
    query.addBindValue(park);
    QList<Contact> contacts;
    if (!execute(query))
        return contacts;
    while (query.next())
        contacts.append({query.value("id").toLongLong(), ContactColumns::read(query)});
    return contacts;
}

QList<ContactRow> LogTable::forExport(QSqlDatabase db, const QString& startDate,
                                      const QString& endDate, const QString& park)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM log WHERE date>=? and date<=? and park=? ORDER BY date, time");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    query.addBindValue(park);
    QList<ContactRow> rows;
    if (!execute(query))
        return rows;
    while (query.next())
        rows.append(ContactColumns::read(query));
    return rows;
}

QList<LogTable::ListedContact> LogTable::newestFirst(QSqlDatabase db)
{
    // SQLite reads the (date, park, time) index backwards instead of sorting
    // every contact, so each date arrives with its parks and times reversed;
    // each date is turned round here.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // Only the columns shown: reading all 28 of 100,000 rows doubles the time.
    query.prepare("SELECT id, date, park, time, call, band, mode, p2p FROM log "
                  "ORDER BY date desc, park desc, time desc");
    QList<ListedContact> contacts;
    if (!execute(query))
        return contacts;
    qsizetype dayStart = 0;
    while (query.next()) {
        ListedContact contact{query.value(0).toString(), query.value(1).toString(),
                              query.value(2).toString(), query.value(3).toString(),
                              query.value(4).toString(), query.value(5).toString(),
                              query.value(6).toString(), query.value(7).toString()};
        if (dayStart < contacts.size() && contact.date != contacts.at(dayStart).date) {
            std::reverse(contacts.begin() + dayStart, contacts.end());
            dayStart = contacts.size();
        }
        contacts.append(std::move(contact));
    }
    std::reverse(contacts.begin() + dayStart, contacts.end());
    return contacts;
}

int LogTable::countInRange(QSqlDatabase db, const QString& startDate, const QString& endDate)
{
    QSqlQuery query(db);
    query.prepare("SELECT COUNT(*) FROM log WHERE date>=? and date<=?");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    return execute(query) && query.next() ? query.value(0).toInt() : 0;
}

std::optional<LogTable::Contact> LogTable::nextInRange(QSqlDatabase db, const QString& startDate,
                                                       const QString& endDate, qint64 afterId)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM log WHERE date>=? and date<=? and id>? ORDER BY id LIMIT 1");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    query.addBindValue(afterId);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return Contact{query.value("id").toLongLong(), ContactColumns::read(query)};
}

DbResult LogTable::fillMissingDetails(QSqlDatabase db, qint64 id, const ContactRow& answer)
{
    const std::optional<ContactRow> stored = find(db, id);
    if (!stored)
        return DbResult::failure("There is no contact " + QString::number(id) + " in the log.");
    static const QStringList details = {"name",    "last",   "city", "county", "state",
                                        "country", "dxcc",   "lat",  "lon",    "grid",
                                        "license", "expire", "born"};
    ContactRow merged = *stored;
    QStringList others;
    for (const ContactColumns::Column& column : ContactColumns::all) {
        if (!details.contains(QLatin1String(column.name)))
            others.append(QLatin1String(column.name));
        else if ((merged.*column.member).isEmpty())
            merged.*column.member = answer.*column.member;
    }
    QSqlQuery query(db);
    query.prepare(ContactColumns::updateSql("log", "id", others));
    ContactColumns::bind(query, merged, others);
    query.addBindValue(id);
    return execute(query);
}
