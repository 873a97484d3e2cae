#include "db/database.h"

#include "db/csvreader.h"
#include "db/schema.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace
{
// Runs each statement; the result is the first failure (the one worth
// telling), or success.
template <typename Statements> DbResult runAll(QSqlDatabase db, const Statements& statements)
{
    DbResult result = DbResult::success();
    for (const char* statement : statements) {
        if (!statement)
            continue;
        QSqlQuery query(db);
        query.prepare(statement);
        const DbResult step = execute(query);
        if (!step && result)
            result = step;
    }
    return result;
}

bool hasColumn(QSqlDatabase db, const char* probe)
{
    QSqlQuery query(db);
    query.prepare(probe);
    return execute(query) && query.next();
}
} // namespace

DbResult Database::open(QSqlDatabase db, const QString& path)
{
    db.close();
    db.setDatabaseName(path);
    if (!db.open())
        return DbResult::failure(db.lastError().text());
    // A few years of contacts make a log of tens of megabytes; SQLite's
    // default page cache (2 MB) then reads the same pages from the file
    // again and again while the activations are recounted and the lists drawn.
    const char* const cache[] = {"PRAGMA cache_size=-32768"};
    return runAll(db, cache);
}

DbResult Database::createTables(QSqlDatabase db)
{
    const char* const tables[] = {Schema::createLog, Schema::createStation, Schema::createParks};
    return runAll(db, tables);
}

bool Database::needsMigration(QSqlDatabase db)
{
    for (const Schema::Migration& migration : Schema::migrations) {
        if (!hasColumn(db, migration.probe))
            return true;
    }
    return false;
}

DbResult Database::migrate(QSqlDatabase db)
{
    DbResult result = DbResult::success();
    for (const Schema::Migration& migration : Schema::migrations) {
        if (hasColumn(db, migration.probe))
            continue;
        const DbResult step = runAll(db, migration.statements);
        if (!step && result)
            result = step;
    }
    const DbResult indexes = runAll(db, Schema::indexes);
    return result ? indexes : result;
}

DbResult Database::openMemory(QSqlDatabase memory)
{
    memory.setDatabaseName(":memory:");
    if (!memory.open())
        return DbResult::failure(memory.lastError().text());
    return runAll(memory, Schema::memoryTables);
}

bool Database::loadStateCentres(QSqlDatabase memory, const QString& csvPath)
{
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        return false;
    QSqlQuery insert(memory);
    insert.prepare("INSERT INTO latlon (id, state, lat, lon) VALUES (NULL, :state, :lat, :lon)");
    csv.readLine(); // header
    QList<QString> fields;
    while (!csv.atEnd()) {
        Csv::processLine(csv, fields);
        if (fields.size() < 3)
            continue; // a short or blank line holds no state centre
        insert.bindValue(":state", fields[0]);
        insert.bindValue(":lat", fields[1].toFloat());
        insert.bindValue(":lon", fields[2].toFloat());
        (void)execute(insert);
    }
    return true;
}
