#pragma once

#include "db/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

// The rows a statement gives on `db`, each as "value|value|..."; a statement
// that cannot run fails the test.
inline QStringList rowsOf(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        QTest::qFail(qPrintable(statement + ": " + query.lastError().text()), __FILE__, __LINE__);
    QStringList rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row.append(query.value(i).toString());
        rows.append(row.join('|'));
    }
    return rows;
}

// The program's two databases without a window: the log in a temporary
// directory and the in-memory lists, each on a connection of its own, laid
// out by the program's own schema and migration code.
struct ScratchDatabases {
    QTemporaryDir dir;
    QSqlDatabase log = QSqlDatabase::addDatabase("QSQLITE", "scratch-log");
    QSqlDatabase memory = QSqlDatabase::addDatabase("QSQLITE", "scratch-memory");

    ScratchDatabases()
    {
        if (!Database::open(log, dir.filePath("parkbook.db")) || !Database::createTables(log) ||
            !Database::migrate(log) || !Database::openMemory(memory))
            qFatal("The scratch databases cannot be made");
    }
    ~ScratchDatabases()
    {
        log = memory = QSqlDatabase();
        QSqlDatabase::removeDatabase("scratch-log");
        QSqlDatabase::removeDatabase("scratch-memory");
    }

    // Runs `statement` on the log once for each row of values; the id of the last row made.
    qint64 run(const QString& statement, const QList<QVariantList>& rows = {{}}) const
    {
        QSqlQuery query(log);
        query.prepare(statement);
        for (const QVariantList& row : rows) {
            for (const QVariant& value : row)
                query.addBindValue(value);
            if (!query.exec())
                qFatal("%s", qPrintable(statement));
        }
        return query.lastInsertId().toLongLong();
    }
    QStringList rows(const QString& select) const { return rowsOf(log, select); }
};
