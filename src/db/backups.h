#pragma once

#include "db/dbresult.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// Copies of the log in <data directory>/Backups, named after the UTC time they
// were taken (parkbook-YYYYMMDD-HHMMSS.db). A copy is written by SQLite itself
// (VACUUM INTO), which reads one consistent snapshot of a database in use; a
// plain file copy could catch it half-written.
namespace Backups
{
QString folder(const QString& dataDir);

// Writes a copy of the database open on `db`. Nothing is deleted here, so a
// copy that cannot be written leaves the older ones as they are.
DbResult write(QSqlDatabase db, const QString& dataDir, const QDateTime& utc);
// Deletes all but the newest `kept` copies (at least one is always kept).
// Only files named like a copy are touched.
void rotate(const QString& dataDir, int kept);

struct Copy {
    QString path;
    QDateTime taken; // UTC, from the file name
    qint64 contacts; // rows of `log`, -1 when the copy cannot be read
};
// Every copy, the newest first.
QList<Copy> list(const QString& dataDir);

// PRAGMA integrity_check of a copy, which must also hold a `log` table.
DbResult check(const QString& path);
// Makes `dbPath` a consistent copy of the copy at `backupPath`. No connection
// may have `dbPath` open. The file is first written beside it and only then
// put in its place, so a failure leaves the old file whole.
DbResult restore(const QString& backupPath, const QString& dbPath);

// Rows changed through `db` since it was opened (SQLite's total_changes()).
qint64 totalChanges(QSqlDatabase db);
// Whether the file holds a table of an older layout that a migration would
// change. Asked after the tables are created: one made just now has the
// current layout.
bool migrationPending(QSqlDatabase db);
} // namespace Backups
