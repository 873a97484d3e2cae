#include "db/parklogmemory.h"

#include <QVariant>

namespace
{
// `mLog` has no station or operator columns.
const QStringList notInMemory = {"station", "operator"};

int lineOf(QSqlDatabase memory, qint64 logId)
{
    QSqlQuery query(memory);
    query.prepare("SELECT id FROM parkLogId WHERE logId = ?");
    query.addBindValue(logId);
    return execute(query) && query.next() ? query.value(0).toInt() : 0;
}
} // namespace

DbResult ParkLogMemory::clear(QSqlDatabase memory)
{
    QSqlQuery contacts(memory);
    contacts.prepare("DELETE FROM mLog");
    QSqlQuery lines(memory);
    lines.prepare("DELETE FROM parkLogId");
    const DbResult result = execute(contacts);
    return result ? execute(lines) : result;
}

DbResult ParkLogMemory::add(QSqlDatabase memory, qint64 logId, const ContactRow& row, bool listed)
{
    QSqlQuery copy(memory);
    copy.prepare(ContactColumns::insertSql("mLog", notInMemory, {"logId"}));
    copy.addBindValue(logId);
    ContactColumns::bind(copy, row, notInMemory);
    const DbResult copied = execute(copy);
    if (!copied || !listed)
        return copied ? DbResult::success(0) : copied;
    QSqlQuery line(memory);
    line.prepare("INSERT INTO parkLogId (logId) VALUES (?)");
    line.addBindValue(logId);
    return execute(line);
}

DbResult ParkLogMemory::update(QSqlDatabase memory, qint64 logId, const ContactRow& row)
{
    static const QStringList kept = notInMemory + QStringList{"date", "park"};
    QSqlQuery query(memory);
    query.prepare(ContactColumns::updateSql("mLog", "logId", kept));
    ContactColumns::bind(query, row, kept);
    query.addBindValue(logId);
    const DbResult result = execute(query);
    return result ? DbResult::success(lineOf(memory, logId)) : result;
}

bool ParkLogMemory::contains(QSqlDatabase memory, qint64 logId)
{
    QSqlQuery query(memory);
    query.prepare("SELECT 1 FROM mLog WHERE logId = ?");
    query.addBindValue(logId);
    return execute(query) && query.next();
}

std::optional<ContactRow> ParkLogMemory::find(QSqlDatabase memory, qint64 logId)
{
    QSqlQuery query(memory);
    query.prepare("SELECT * FROM mLog WHERE logId = ?");
    query.addBindValue(logId);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return ContactColumns::read(query);
}

bool ParkLogMemory::hasCall(QSqlDatabase memory, const QString& call)
{
    QSqlQuery query(memory);
    query.prepare("SELECT 1 FROM mLog WHERE call = ? LIMIT 1");
    query.addBindValue(call);
    return execute(query) && query.next();
}

QList<ParkLogMemory::Contact> ParkLogMemory::ofPark(QSqlDatabase memory, const QString& park)
{
    QSqlQuery query(memory);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM mLog WHERE park=? ORDER BY id");
    query.addBindValue(park);
    QList<Contact> contacts;
    if (!execute(query))
        return contacts;
    while (query.next())
        contacts.append({query.value("logId").toLongLong(), ContactColumns::read(query)});
    return contacts;
}

qint64 ParkLogMemory::logIdAt(QSqlDatabase memory, int line)
{
    QSqlQuery query(memory);
    query.prepare("SELECT logId FROM parkLogId WHERE id = ?");
    query.addBindValue(line);
    return execute(query) && query.next() ? query.value(0).toLongLong() : 0;
}

std::optional<ListEntry> ParkLogMemory::step(QSqlDatabase memory, Step step, int line)
{
    return stepThrough(memory, "parkLogId", "logId", step, line);
}
