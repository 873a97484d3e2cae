#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/backups.h"
#include "db/database.h"

#include <QFileInfo>
#include <QMessageBox>

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

    QSqlDatabase db = QSqlDatabase::database(Database::logConnection, false);
    DbResult result = Database::open(db, fullPath);
    if (!result) {
        prompter->critical(this, "Cannot open Parkbook database",
                           "Unable to establish a Parkbook database connection.\n"
                           "This program needs SQLite support.",
                           QMessageBox::Cancel);
        logError("Unable to establish a Parkbook database connection.");
        return;
    }
    result = Database::createTables(db);
    // Before a table of an older version changes its layout, a copy of it as it was.
    if (result && Database::needsMigration(db))
        backUpLog();
    if (result)
        result = Database::migrate(db);
    if (!result)
        logError("The log " + fullPath + " could not be brought up to date: " + result.error);
    // The counters of every record are mended once the window is up
    // (finishStartup).
}

void Parkbook::setupDbMem()
{
    QSqlDatabase db = QSqlDatabase::database(Database::memoryConnection, false);
    const DbResult result = Database::openMemory(db);
    if (!result) {
        prompter->critical(this, "Cannot open database",
                           "Unable to establish a Memory database connection.\n"
                           "This program needs SQLite support.",
                           QMessageBox::Cancel);
        logError("Unable to establish a Memory database connection.");
        return;
    }
    if (!Database::loadStateCentres(db, programDir.path() + "/State_LatLon.csv")) {
        prompter->critical(this, "Cannot open State_LatLon.csv file",
                           "Unable to open State_LatLon.csv fileThis file needs to be in your '" +
                               programDir.path() + "' directory.");
        logError("Unable to open '" + programDir.path() + "/State_LatLon.csv' file.");
    }
}
