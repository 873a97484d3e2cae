#include "db/parkstable.h"

#include "parks/activationrecords.h"
#include "parks/laterule.h"

#include <QStringList>
#include <QVariant>

namespace
{
ParkRecord readRecord(const QSqlQuery& query)
{
    auto text = [&query](const char* column) { return query.value(column).toString(); };
    return {query.value("id").toLongLong(),
            text("date"),
            text("park"),
            text("name"),
            text("lat"),
            text("lon"),
            text("county"),
            text("state"),
            text("location"),
            text("MultiSt"),
            text("QSOs"),
            text("LateQSOs"),
            text("P2Ps")};
}

ActivationCounts countFrom(QSqlQuery& contacts)
{
    ActivationCounts counts;
    while (contacts.next()) {
        ++counts.qsos;
        if (isLateContact(contacts.value(0).toString()))
            ++counts.lateQsos;
        if (!contacts.value(1).toString().isEmpty())
            ++counts.p2ps;
    }
    return counts;
}

const char* const countSql = "SELECT time, p2p FROM log WHERE date=? and park=?";
} // namespace

std::optional<ParkRecord> ParksTable::byId(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM parks WHERE id = ?");
    query.addBindValue(id);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return readRecord(query);
}

bool ParksTable::exists(QSqlDatabase db, const QString& date, const QString& park)
{
    QSqlQuery query(db);
    query.prepare("SELECT 1 FROM parks WHERE date=? AND park=?");
    query.addBindValue(date);
    query.addBindValue(park);
    return execute(query) && query.next();
}

qint64 ParksTable::findActivation(QSqlDatabase db, const QString& date, const QString& park)
{
    QSqlQuery query(db);
    query.prepare("SELECT id FROM parks WHERE park=? ORDER BY date=? DESC, date DESC, id LIMIT 1");
    query.addBindValue(park);
    query.addBindValue(date);
    return execute(query) && query.next() ? query.value(0).toLongLong() : 0;
}

DbResult ParksTable::insertFromSlot(QSqlDatabase db, const ParkRecord& r)
{
    QSqlQuery query(db);
    query.prepare("INSERT INTO parks (date, park, name, lat, lon, county, state, location, "
                  "MultiSt) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const QString& value :
         {r.date, r.park, r.name, r.lat, r.lon, r.county, r.state, r.location, r.multiSt})
        query.addBindValue(value);
    return execute(query);
}

DbResult ParksTable::updateFromSlot(QSqlDatabase db, const ParkRecord& r)
{
    QSqlQuery query(db);
    query.prepare("UPDATE parks SET name=?, lat=?, lon=?, county=?, state=?, location=?, "
                  "MultiSt=? WHERE park=? and date=?");
    for (const QString& value :
         {r.name, r.lat, r.lon, r.county, r.state, r.location, r.multiSt, r.park, r.date})
        query.addBindValue(value);
    return execute(query);
}

DbResult ParksTable::insertAdded(QSqlDatabase db, const ParkRecord& r)
{
    QSqlQuery query(db);
    query.prepare("INSERT INTO parks (date, park, name, lat, lon, county, state, location, QSOs, "
                  "LateQSOs, P2Ps) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0)");
    for (const QString& value :
         {r.date, r.park, r.name, r.lat, r.lon, r.county, r.state, r.location})
        query.addBindValue(value);
    return execute(query);
}

DbResult ParksTable::remove(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("DELETE FROM parks WHERE id = ?");
    query.addBindValue(id);
    return execute(query);
}

QList<qint64> ParksTable::listIds(QSqlDatabase db, bool hunting)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // Records of one date keep the order they were made in (a 2-fer's first
    // park first), whatever index SQLite reads.
    query.prepare("SELECT id, park FROM parks ORDER BY date DESC, id");
    QList<qint64> ids;
    if (!execute(query))
        return ids;
    while (query.next()) {
        if ((query.value(1).toString() == hunterPark) == hunting)
            ids.append(query.value(0).toLongLong());
    }
    return ids;
}

QHash<qint64, ParkRecord> ParksTable::allById(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM parks");
    QHash<qint64, ParkRecord> records;
    if (!execute(query))
        return records;
    while (query.next()) {
        ParkRecord record = readRecord(query);
        records.insert(record.id, std::move(record));
    }
    return records;
}

QSet<QString> ParksTable::recordedPairs(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT date, park FROM parks WHERE date NOT NULL AND park NOT NULL");
    QSet<QString> pairs;
    if (!execute(query))
        return pairs;
    while (query.next())
        pairs.insert(query.value(0).toString() + '\n' + query.value(1).toString());
    return pairs;
}

ActivationCounts ParksTable::count(QSqlDatabase db, const QString& date, const QString& park)
{
    QSqlQuery contacts(db);
    contacts.setForwardOnly(true);
    contacts.prepare(countSql);
    contacts.addBindValue(date);
    contacts.addBindValue(park);
    if (!execute(contacts))
        return {};
    return countFrom(contacts);
}

bool ParksTable::storeCounts(QSqlDatabase db, const QString& date, const QString& park)
{
    const ActivationCounts counts = count(db, date, park);
    const QStringList counted = {QString::number(counts.qsos), QString::number(counts.lateQsos),
                                 QString::number(counts.p2ps)};
    QSqlQuery update(db);
    update.prepare("UPDATE parks SET  QSOs=?, LateQSOs=?, P2Ps=? WHERE date=? and park=? and "
                   "(QSOs IS NOT ? or LateQSOs IS NOT ? or P2Ps IS NOT ?)");
    for (const QString& value : counted)
        update.addBindValue(value);
    update.addBindValue(date);
    update.addBindValue(park);
    for (const QString& value : counted)
        update.addBindValue(value);
    return execute(update) && update.numRowsAffected() > 0;
}

bool ParksTable::storeCountsOf(QSqlDatabase db, qint64 logId)
{
    QSqlQuery contact(db);
    contact.prepare("SELECT date, park FROM log WHERE id=?");
    contact.addBindValue(logId);
    if (!execute(contact) || !contact.next())
        return false;
    const QString date = contact.value(0).toString();
    const QString park = contact.value(1).toString();
    contact.finish();
    return storeCounts(db, date, park);
}

int ParksTable::recountAll(QSqlDatabase db)
{
    // Read the pairs first: updating `parks` while stepping through it would
    // let the statement see its own changes.
    struct Row {
        qint64 id;
        QString date, park;
        QString qsos, lateQsos, p2ps; // as stored
    };
    QList<Row> rows;
    {
        QSqlQuery parks(db);
        parks.setForwardOnly(true);
        parks.prepare("SELECT id, date, park, QSOs, LateQSOs, P2Ps FROM parks");
        if (!execute(parks))
            return 0;
        while (parks.next())
            rows.append({parks.value(0).toLongLong(), parks.value(1).toString(),
                         parks.value(2).toString(), parks.value(3).toString(),
                         parks.value(4).toString(), parks.value(5).toString()});
    }

    // One transaction: thousands of single-statement commits would each wait
    // for the disk.
    const bool inTransaction = db.transaction();
    QSqlQuery contacts(db);
    contacts.setForwardOnly(true);
    contacts.prepare(countSql);
    QSqlQuery update(db);
    // By row id: every row of a (date, park) pair gets the same counts, and no
    // update has to search the table.
    update.prepare("UPDATE parks SET  QSOs=?, LateQSOs=?, P2Ps=? WHERE id=?");
    for (const Row& row : rows) {
        contacts.addBindValue(row.date);
        contacts.addBindValue(row.park);
        if (!execute(contacts))
            continue;
        const ActivationCounts counts = countFrom(contacts);
        contacts.finish();
        // A record that already holds these counts is left alone: at every
        // start nearly all of them do, and then nothing is written at all.
        if (row.qsos == QString::number(counts.qsos) &&
            row.lateQsos == QString::number(counts.lateQsos) &&
            row.p2ps == QString::number(counts.p2ps))
            continue;
        update.addBindValue(counts.qsos);
        update.addBindValue(counts.lateQsos);
        update.addBindValue(counts.p2ps);
        update.addBindValue(row.id);
        (void)execute(update);
    }
    if (inTransaction)
        db.commit();
    return int(rows.size());
}
