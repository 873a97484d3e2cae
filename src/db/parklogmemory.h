#pragma once

#include "db/contactrow.h"
#include "db/dbresult.h"
#include "db/listposition.h"

#include <QList>
#include <QSqlDatabase>
#include <optional>

// The park log on screen, in the in-memory database: `mLog` holds copies of
// `log` rows (with their `logId`), `parkLogId` the lines of the park shown, in
// order. Every function takes the "memory" connection.
namespace ParkLogMemory
{
struct Contact {
    qint64 logId = 0;
    ContactRow row;
};

DbResult clear(QSqlDatabase memory);
// Copies contact `logId`; when `listed` (the park is the one shown) it also
// becomes the last line, whose number the result's id holds (else 0).
DbResult add(QSqlDatabase memory, qint64 logId, const ContactRow& row, bool listed);
// Rewrites the copy of contact `logId`; the result's id is its line (0 for none).
DbResult update(QSqlDatabase memory, qint64 logId, const ContactRow& row);
bool contains(QSqlDatabase memory, qint64 logId);
std::optional<ContactRow> find(QSqlDatabase memory, qint64 logId);
// Whether a contact with this call is in the park log.
bool hasCall(QSqlDatabase memory, const QString& call);
// The copies of park `park`, in the order they were added.
QList<Contact> ofPark(QSqlDatabase memory, const QString& park);
// The contact shown on line `line` (0 when there is none).
qint64 logIdAt(QSqlDatabase memory, int line);
// The line reached by `step` from `line`; nothing past either end.
std::optional<ListEntry> step(QSqlDatabase memory, Step step, int line);
} // namespace ParkLogMemory
