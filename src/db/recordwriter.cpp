#include "db/recordwriter.h"

#include <QSqlError>
#include <QVariant>

namespace
{
// A duplicate keeps the date, call, mode and band it was first logged with.
const QStringList keptByDuplicate = {"date", "call", "mode", "band"};

// Rewrites a duplicate only where a value differs: a file imported again
// leaves its rows (and their pages) as they are.
QByteArray updateChangedSql()
{
    const QStringList columns = ContactColumns::names(keptByDuplicate);
    QStringList set, same;
    for (qsizetype n = 0; n < columns.size(); ++n) {
        set << columns[n] + "=?" + QString::number(n + 1);
        same << columns[n] + " IS ?" + QString::number(n + 1);
    }
    return ("UPDATE log SET " + set.join(", ") + " WHERE id=?" +
            QString::number(columns.size() + 1) + " AND NOT (" + same.join(" AND ") + ")")
        .toUtf8();
}
} // namespace

RecordWriter::RecordWriter(QSqlDatabase database)
    : db(database),
      find(db, "SELECT id FROM log WHERE park=? and date=? and call=? and ifnull(mode,'')=? "
               "COLLATE NOCASE and ifnull(band,'')=? COLLATE NOCASE and ifnull(p2p,'')=? "
               "ORDER BY id LIMIT 1"),
      insert(db, ContactColumns::insertSql("log").toUtf8().constData()),
      update(db, updateChangedSql().constData()), insertPark(db, ParksTable::insertAddedSql)
{
    for (const ContactColumns::Column& column : ContactColumns::all) {
        written.append(column.member);
        if (!keptByDuplicate.contains(QLatin1String(column.name)))
            rewritten.append(column.member);
    }
}

DbResult RecordWriter::begin()
{
    if (!db.transaction())
        return DbResult::failure(db.lastError().text());
    return DbResult::success();
}

DbResult RecordWriter::commit()
{
    if (firstFailure.isEmpty() && db.commit())
        return DbResult::success();
    const QString error = firstFailure.isEmpty() ? db.lastError().text() : firstFailure;
    db.rollback();
    return DbResult::failure(error);
}

void RecordWriter::rollback()
{
    db.rollback();
}

DbResult RecordWriter::write(const ContactRow& row)
{
    int place = 0;
    for (const QString* value : {&row.park, &row.date, &row.call, &row.mode, &row.band, &row.p2p})
        find.bindText(++place, *value);
    const bool found = find.next();
    const qint64 id = found ? find.integer(0) : 0;
    find.reset();

    // Every value is written as text, never as NULL, so that the duplicate
    // test finds rows written by an earlier import.
    SqliteStatement& statement = found ? update : insert;
    place = 0;
    for (QString ContactRow::*member : found ? rewritten : written)
        statement.bindText(++place, row.*member);
    if (found)
        statement.bindInt(++place, id);
    const DbResult result = statement.run()
                                ? DbResult::success(found ? id : statement.lastInsertId())
                                : DbResult::failure(statement.error());
    if (!result && firstFailure.isEmpty())
        firstFailure = result.error;
    return result;
}

DbResult RecordWriter::addParkRecord(const ParkRecord& r)
{
    int place = 0;
    for (const QString* value :
         {&r.date, &r.park, &r.name, &r.lat, &r.lon, &r.county, &r.state, &r.location})
        insertPark.bindText(++place, *value);
    const DbResult result = insertPark.run() ? DbResult::success(insertPark.lastInsertId())
                                             : DbResult::failure(insertPark.error());
    if (!result && firstFailure.isEmpty())
        firstFailure = result.error;
    return result;
}

bool RecordWriter::needsParkRecord(const QString& date, const QString& park)
{
    if (!knownParksRead) {
        knownParks = ParksTable::recordedPairs(db);
        knownParksRead = true;
    }
    const QString key = date + '\n' + park;
    if (knownParks.contains(key))
        return false;
    knownParks.insert(key);
    return true;
}
