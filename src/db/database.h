#pragma once

#include "db/dbresult.h"

#include <QSqlDatabase>
#include <QString>

// Opening the two databases and bringing the log file to today's layout.
namespace Database
{
// The program's two connections: the log file and the in-memory lists.
inline const QString logConnection = QStringLiteral("parkbook");
inline const QString memoryConnection = QStringLiteral("memory");
inline QSqlDatabase log()
{
    return QSqlDatabase::database(logConnection);
}
inline QSqlDatabase memory()
{
    return QSqlDatabase::database(memoryConnection);
}

// Points `db` at the file `path` and opens it (SQLite creates a missing file).
DbResult open(QSqlDatabase db, const QString& path);
// The three tables of the log, where missing.
DbResult createTables(QSqlDatabase db);
// Whether the file lacks columns that later versions added.
bool needsMigration(QSqlDatabase db);
// Adds the missing columns (at the end of their tables) and the indexes.
DbResult migrate(QSqlDatabase db);

// Opens `memory` as a new in-memory database with its working tables.
DbResult openMemory(QSqlDatabase memory);
// Loads the state centres of `csvPath` (a header line, then state, latitude,
// longitude); false when the file cannot be read.
bool loadStateCentres(QSqlDatabase memory, const QString& csvPath);
} // namespace Database
