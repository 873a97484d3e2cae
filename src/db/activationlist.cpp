#include "db/activationlist.h"

#include "db/sqlitestatement.h"

#include <QVariant>

DbResult ActivationList::rebuild(QSqlDatabase memory, const QList<qint64>& parkIds)
{
    QSqlQuery clear(memory);
    clear.prepare("DELETE FROM activationId");
    DbResult result = execute(clear);
    const bool inTransaction = memory.transaction();
    // Thousands of rows at each redraw of the list: through SQLite directly.
    SqliteStatement insert(memory, "INSERT INTO activationId (parkId) VALUES (?)");
    if (result && !insert.isValid())
        result = DbResult::failure(insert.error());
    for (const qint64 id : parkIds) {
        if (!result)
            break;
        insert.bindInt(1, id);
        if (!insert.run())
            result = DbResult::failure(insert.error());
        insert.reset();
    }
    if (inTransaction)
        memory.commit();
    return result;
}

qint64 ActivationList::parkIdAt(QSqlDatabase memory, int line)
{
    QSqlQuery query(memory);
    query.prepare("SELECT parkId FROM activationId WHERE id = ?");
    query.addBindValue(line);
    return execute(query) && query.next() ? query.value(0).toLongLong() : 0;
}

int ActivationList::lineOf(QSqlDatabase memory, qint64 parkId)
{
    if (parkId == 0)
        return 0;
    QSqlQuery query(memory);
    query.prepare("SELECT id FROM activationId WHERE parkId = ? ORDER BY id LIMIT 1");
    query.addBindValue(parkId);
    return execute(query) && query.next() ? query.value(0).toInt() : 0;
}

std::optional<ListEntry> ActivationList::step(QSqlDatabase memory, Step step, int line)
{
    return stepThrough(memory, "activationId", "parkId", step, line);
}
