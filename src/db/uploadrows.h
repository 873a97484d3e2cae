#pragma once

#include "adif/uploadcheck.h"

#include <QSqlDatabase>

// The log rows the POTA upload check reads.
namespace UploadRows
{
// The contacts of `park` from `startDate` to `endDate`, as the export selects them.
QList<Adif::UploadContact> contacts(QSqlDatabase db, const QString& park, const QString& startDate,
                                    const QString& endDate);
// Which of `references` the park list holds; nothing when no park list is
// loaded (the parkList table is missing or empty).
std::optional<QSet<QString>> listedParks(QSqlDatabase db, const QStringList& references);
} // namespace UploadRows
