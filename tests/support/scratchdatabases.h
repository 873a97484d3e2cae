#pragma once

#include "db/database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

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

    // The rows of a SELECT on the log, each as "value|value|...".
    QStringList rows(const QString& select) const
    {
        QSqlQuery query(log);
        query.exec(select);
        QStringList result;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i)
                row.append(query.value(i).toString());
            result.append(row.join('|'));
        }
        return result;
    }
};
