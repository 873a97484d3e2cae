#include "db/listposition.h"

#include "support/diagnostics.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

std::optional<ListEntry> stepThrough(QSqlDatabase memory, const char* table, const char* rowColumn,
                                     Step step, int line)
{
    const QString select = QString("SELECT id, %1 FROM %2 ").arg(rowColumn, table);
    QSqlQuery query(memory);
    switch (step) {
    case Step::First:
        query.prepare(select + "ORDER BY id LIMIT 1");
        break;
    case Step::Previous:
        query.prepare(select + "WHERE id < ? ORDER BY id DESC LIMIT 1");
        query.addBindValue(line);
        break;
    case Step::Next:
        query.prepare(select + "WHERE id > ? ORDER BY id LIMIT 1");
        query.addBindValue(line);
        break;
    case Step::Last:
        query.prepare(select + "ORDER BY id DESC LIMIT 1");
        break;
    }
    if (!query.exec()) {
        qCWarning(lcDb) << query.lastQuery() << "failed:" << query.lastError().text();
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return ListEntry{query.value(0).toInt(), query.value(1).toLongLong()};
}
