#pragma once

#include "db/contactrow.h"
#include "db/dbresult.h"
#include "db/parkstable.h"
#include "db/sqlitestatement.h"

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

// Writes the contacts another program hands over (an ADIF file, WSJT-X) by
// the duplicate rule: a contact already in the log with the same park, date,
// call, mode and band (these two without regard to case) and p2p is
// rewritten, not added again. An import keeps one writer for the whole file:
// its statements are prepared once, and it remembers the first refused write
// and the activation records it has already made sure of.
class RecordWriter
{
public:
    explicit RecordWriter(QSqlDatabase db);

    // A file is written in one transaction: every record or none.
    DbResult begin();
    // Commits, unless a write was refused (or the commit is): then nothing of
    // the file stays and the result says why.
    DbResult commit();
    // Takes back everything since begin().
    void rollback();

    DbResult write(const ContactRow& row);
    // True the first time a (date, park) pair without a `parks` record comes
    // by; the caller then adds the record.
    bool needsParkRecord(const QString& date, const QString& park);
    // Adds such a record with zero counters, for a file whose counters are
    // recounted from the log once it is in.
    DbResult addParkRecord(const ParkRecord& record);

    // The first write the database refused, empty while there is none.
    QString firstFailure;

private:
    QSqlDatabase db;
    // The hot path of an import: SQLite's own statements (see SqliteStatement).
    SqliteStatement find, insert, update, insertPark;
    // The values each statement binds, in its order.
    QList<QString ContactRow::*> written, rewritten;
    QSet<QString> knownParks;
    bool knownParksRead = false;
};
