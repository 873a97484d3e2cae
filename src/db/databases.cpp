#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/backups.h"
#include "db/csvreader.h"
#include "db/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSqlQuery>

void Parkbook::setupDbLog()
{
    const QString fileName = "parkbook.db";
    const QString fullPath = dataDir.path() + "/" + fileName;
    if (!QFileInfo::exists(fullPath)) {
        prompter->information(
            this, "New parkbook Database",
            "Parkbook database file " + fileName + " was not found.\nA new database file " +
                fileName + " will be created\nin the '" + dataDir.path() + "' subdirectory.");
        logError("Parkbook database file '" + dataDir.path() + "/parkbook.db' was not found.");
    }

    QSqlDatabase db = QSqlDatabase::database("parkbook", false);
    db.close();
    db.setDatabaseName(fullPath);
    if (db.open()) {
        QSqlQuery query(db);
        // A few years of contacts make a log of tens of megabytes; SQLite's
        // default page cache (2 MB) then reads the same pages from the file
        // again and again while the activations are recounted and the lists drawn.
        query.exec("PRAGMA cache_size=-32768");
        query.exec(Schema::createLog);
        query.exec(Schema::createStation);
        query.exec(Schema::createParks);
    } else {
        prompter->critical(this, "Cannot open Parkbook database",
                           "Unable to establish a Parkbook database connection.\n"
                           "This program needs SQLite support.",
                           QMessageBox::Cancel);
        logError("Unable to establish a Parkbook database connection.");
    }

    // Before a table of an older version changes its layout, a copy of it as it was.
    if (db.isOpen() && Backups::migrationPending(db))
        backUpLog();
    for (const Schema::Migration& migration : Schema::migrations) {
        QSqlQuery probe(db);
        probe.exec(migration.probe);
        if (probe.next())
            continue;
        for (const char* statement : migration.statements) {
            if (statement)
                QSqlQuery(db).exec(statement);
        }
    }
    for (const char* statement : Schema::indexes)
        QSqlQuery(db).exec(statement);

    calculateStatistics();
}

void Parkbook::setupDbMem()
{
    QFile csv(programDir.path() + "/State_LatLon.csv");

    QSqlDatabase db = QSqlDatabase::database("memory", false);
    db.setDatabaseName(":memory:");
    if (!db.open()) {
        prompter->critical(this, "Cannot open database",
                           "Unable to establish a Memory database connection.\n"
                           "This program needs SQLite support.",
                           QMessageBox::Cancel);
        logError("Unable to establish a Memory database connection.");
        return;
    }
    for (const char* statement : Schema::memoryTables)
        QSqlQuery(db).exec(statement);

    if (!csv.open(QIODevice::ReadOnly)) {
        prompter->critical(this, "Cannot open State_LatLon.csv file",
                           "Unable to open State_LatLon.csv fileThis file needs to be in your '" +
                               programDir.path() + "' directory.");
        logError("Unable to open '" + programDir.path() + "/State_LatLon.csv' file.");
        return;
    }
    QSqlQuery insert(db);
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
        insert.exec();
    }
}
