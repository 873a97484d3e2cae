#pragma once

#include "db/dbresult.h"
#include "db/listposition.h"

#include <QList>
#include <QSqlDatabase>

// The activation or hunting list on screen, in the in-memory table
// `activationId`: line n shows the `parks` row `parkId`.
namespace ActivationList
{
// Replaces the list with these `parks` ids, in order; the lines count from 1 again.
DbResult rebuild(QSqlDatabase memory, const QList<qint64>& parkIds);
// The `parks` id shown on `line`, 0 for none.
qint64 parkIdAt(QSqlDatabase memory, int line);
// The line that shows `parks` row `parkId`, 0 for none.
int lineOf(QSqlDatabase memory, qint64 parkId);
std::optional<ListEntry> step(QSqlDatabase memory, Step step, int line);
} // namespace ActivationList
