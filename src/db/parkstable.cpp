#include "db/parkstable.h"

#include "db/sortkey.h"
#include "db/sqlitestatement.h"
#include "parks/activationrecords.h"
#include "parks/laterule.h"

#include <QByteArrayView>
#include <QHash>
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

const char* const ParksTable::insertAddedSql =
    "INSERT INTO parks (date, park, name, lat, lon, county, state, location, QSOs, LateQSOs, "
    "P2Ps) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0)";

DbResult ParksTable::insertAdded(QSqlDatabase db, const ParkRecord& r)
{
    QSqlQuery query(db);
    query.prepare(insertAddedSql);
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

bool ParksTable::eachListed(QSqlDatabase db, bool hunting,
                            const std::function<void(const ListedRecord&)>& each)
{
    // The list is read whole at each redraw. The records are read in the
    // order they are stored and sorted here: SQLite sorting every column of
    // them cost more than reading them. Their bytes go into one buffer.
    constexpr int columns = 11; // date ... P2Ps
    struct Row {
        int start[columns + 1]; // offsets in `values`; the last one ends the row
        qint64 id;
        bool dated;
        quint64 dateKey; // sortKey of the date
    };
    QByteArray values;
    QList<Row> rows;
    auto field = [&values](const Row& row, int c) {
        return QByteArrayView(values.constData() + row.start[c], row.start[c + 1] - row.start[c]);
    };
    {
        SqliteStatement query(db, "SELECT id, date, park, name, lat, lon, county, state, "
                                  "location, QSOs, LateQSOs, P2Ps FROM parks");
        const QByteArray hunter = hunterPark.toUtf8();
        while (query.next()) {
            const bool hunted = QByteArrayView(query.data(2), query.size(2)) == hunter;
            if (hunted != hunting)
                continue;
            Row row;
            row.id = query.integer(0);
            row.dated = !query.isNull(1);
            for (int c = 0; c < columns; ++c) {
                row.start[c] = int(values.size());
                values.append(query.data(c + 1), query.size(c + 1));
            }
            row.start[columns] = int(values.size());
            row.dateKey = sortKey(field(row, 0));
            rows.append(row);
        }
        if (!query.error().isEmpty())
            return false;
    }
    // As SQLite orders "date DESC, id": dates compared byte by byte, and
    // records without one after every other.
    std::sort(rows.begin(), rows.end(), [&field](const Row& a, const Row& b) {
        if (a.dated != b.dated)
            return a.dated;
        if (const int date = compareByKey(a.dateKey, field(a, 0), b.dateKey, field(b, 0));
            date != 0)
            return date > 0;
        return a.id < b.id;
    });
    for (const Row& row : std::as_const(rows))
        each({row.id, field(row, 0), field(row, 1), field(row, 2), field(row, 3), field(row, 4),
              field(row, 5), field(row, 6), field(row, 7), field(row, 8), field(row, 9),
              field(row, 10)});
    return true;
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
    return recountDates(db, QString(), QString());
}

QStringList ParksTable::sliceDates(QSqlDatabase db, int records)
{
    SqliteStatement dates(db, "SELECT date FROM parks WHERE date IS NOT NULL ORDER BY date");
    QStringList cuts;
    int inRange = 0;
    while (dates.next()) {
        const QString date = QString::fromUtf8(dates.bytes(0));
        // A range ends where a new date starts: one date's records stay together.
        if (++inRange > records && (cuts.isEmpty() || date != cuts.last())) {
            cuts.append(date);
            inRange = 1;
        }
    }
    return cuts;
}

int ParksTable::recountDates(QSqlDatabase db, const QString& from, const QString& to)
{
    // One pass over every contact in (date, park) order, read from the index
    // that holds these four columns, counts every record at once; looking
    // each record's contacts up on its own took thirty times as long.
    QHash<QByteArray, ActivationCounts> counted;
    {
        SqliteStatement contacts(db, to.isEmpty()
                                         ? "SELECT date, park, time, p2p FROM log WHERE date >= ?1 "
                                           "ORDER BY date, park"
                                         : "SELECT date, park, time, p2p FROM log WHERE date >= ?1 "
                                           "AND date < ?2 ORDER BY date, park");
        contacts.bindText(1, from);
        if (!to.isEmpty())
            contacts.bindText(2, to);
        QByteArray date, park;
        ActivationCounts* counts = nullptr;
        while (contacts.next()) {
            // A contact without a date or park belongs to no record.
            if (contacts.isNull(0) || contacts.isNull(1))
                continue;
            const QByteArrayView rowDate(contacts.data(0), contacts.size(0));
            const QByteArrayView rowPark(contacts.data(1), contacts.size(1));
            if (!counts || rowDate != date || rowPark != park) {
                date = rowDate.toByteArray();
                park = rowPark.toByteArray();
                counts = &counted[date + '\n' + park];
            }
            ++counts->qsos;
            if (isLateContact(QString::fromUtf8(contacts.data(2), contacts.size(2))))
                ++counts->lateQsos;
            if (contacts.size(3) > 0)
                ++counts->p2ps;
        }
    }

    struct Change {
        qint64 id;
        ActivationCounts counts;
    };
    QList<Change> changes;
    int records = 0;
    {
        SqliteStatement parks(db, "SELECT id, date, park, QSOs, LateQSOs, P2Ps FROM parks WHERE "
                                  "(date >= ?1 AND (?2 = '' OR date < ?2)) OR "
                                  "(?1 = '' AND date IS NULL)");
        parks.bindText(1, from);
        parks.bindText(2, to);
        while (parks.next()) {
            ++records;
            ActivationCounts counts;
            if (!parks.isNull(1) && !parks.isNull(2))
                counts = counted.value(parks.bytes(1) + '\n' + parks.bytes(2));
            // A record that already holds its counts is left alone: at every
            // start nearly all of them do, and then nothing is written at all.
            const bool same = parks.bytes(3) == QByteArray::number(counts.qsos) &&
                              parks.bytes(4) == QByteArray::number(counts.lateQsos) &&
                              parks.bytes(5) == QByteArray::number(counts.p2ps);
            if (!same)
                changes.append({parks.integer(0), counts});
        }
    }
    if (changes.isEmpty())
        return records;

    // One transaction: thousands of single-statement commits would each wait
    // for the disk.
    const bool inTransaction = db.transaction();
    {
        SqliteStatement update(db, "UPDATE parks SET  QSOs=?, LateQSOs=?, P2Ps=? WHERE id=?");
        for (const Change& change : std::as_const(changes)) {
            const QString qsos = QString::number(change.counts.qsos);
            const QString late = QString::number(change.counts.lateQsos);
            const QString p2ps = QString::number(change.counts.p2ps);
            update.bindText(1, qsos);
            update.bindText(2, late);
            update.bindText(3, p2ps);
            update.bindInt(4, change.id);
            update.run();
        }
    }
    if (inTransaction)
        db.commit();
    return records;
}
