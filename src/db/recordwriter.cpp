#include "db/recordwriter.h"

#include "db/parkstable.h"

#include <QSqlError>
#include <QVariant>

namespace
{
// A duplicate keeps the date, call, mode and band it was first logged with.
const QStringList keptByDuplicate = {"date", "call", "mode", "band"};

// Every value is written as text, never as NULL, so that the duplicate test
// finds rows written by an earlier import.
ContactRow withoutNulls(ContactRow row)
{
    for (const ContactColumns::Column& column : ContactColumns::all) {
        if ((row.*column.member).isNull())
            row.*column.member = QStringLiteral("");
    }
    return row;
}
} // namespace

RecordWriter::RecordWriter(QSqlDatabase database) : db(database), find(db), insert(db), update(db)
{
    find.prepare("SELECT id FROM log WHERE park=? and date=? and call=? and ifnull(mode,'')=? "
                 "COLLATE NOCASE and ifnull(band,'')=? COLLATE NOCASE and ifnull(p2p,'')=? "
                 "ORDER BY id LIMIT 1");
    insert.prepare(ContactColumns::insertSql("log"));
    update.prepare(ContactColumns::updateSql("log", "id", keptByDuplicate));
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

DbResult RecordWriter::write(const ContactRow& contact)
{
    const ContactRow row = withoutNulls(contact);
    for (const QString& value : {row.park, row.date, row.call, row.mode, row.band, row.p2p})
        find.addBindValue(value);
    const bool found = execute(find) && find.next();
    const qint64 id = found ? find.value(0).toLongLong() : 0;
    find.finish();

    DbResult result;
    if (found) {
        ContactColumns::bind(update, row, keptByDuplicate);
        update.addBindValue(id);
        result = execute(update);
        result.id = id;
    } else {
        ContactColumns::bind(insert, row);
        result = execute(insert);
    }
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
