#include "db/activationlist.h"

#include "db/sqlitestatement.h"

#include <QVariant>
#include <optional>

DbResult ActivationList::rebuild(QSqlDatabase memory, const QList<qint64>& parkIds)
{
    QSqlQuery clear(memory);
    clear.prepare("DELETE FROM activationId");
    DbResult result = execute(clear);
    const bool inTransaction = memory.transaction();
    // Thousands of rows at each redraw of the list: through SQLite directly,
    // a hundred rows a statement (and one more statement for the rest).
    constexpr qsizetype perStatement = 100;
    auto insertSql = [](qsizetype rows) {
        QByteArray sql = "INSERT INTO activationId (parkId) VALUES (?)";
        for (qsizetype row = 1; row < rows; ++row)
            sql += ",(?)";
        return sql;
    };
    SqliteStatement full(memory, insertSql(perStatement).constData());
    for (qsizetype first = 0; result && first < parkIds.size(); first += perStatement) {
        const qsizetype rows = qMin(perStatement, parkIds.size() - first);
        std::optional<SqliteStatement> rest;
        if (rows < perStatement)
            rest.emplace(memory, insertSql(rows).constData());
        SqliteStatement& insert = rest ? *rest : full;
        for (qsizetype row = 0; row < rows; ++row)
            insert.bindInt(int(row + 1), parkIds.at(first + row));
        if (!insert.run())
            result = DbResult::failure(insert.error());
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
