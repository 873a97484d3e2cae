#pragma once

#include "db/contactrow.h"
#include "db/dbresult.h"

#include <QByteArrayView>
#include <QList>
#include <QSqlDatabase>
#include <functional>
#include <optional>

// The persistent table `log`: one row per contact.
namespace LogTable
{
struct Contact {
    qint64 id = 0;
    ContactRow row;
};

// A new contact; the result holds its id.
DbResult insert(QSqlDatabase db, const ContactRow& row);
// Rewrites contact `id` with `row`; its date and park never change. Fails when
// there is no such contact.
DbResult update(QSqlDatabase db, qint64 id, const ContactRow& row);
DbResult remove(QSqlDatabase db, qint64 id);
std::optional<ContactRow> find(QSqlDatabase db, qint64 id);

// The contacts of one park and date logged under one operator call, by time.
QList<Contact> parkLog(QSqlDatabase db, const QString& date, const QString& operatorCall,
                       const QString& park);
// The contacts of a park from `startDate` to `endDate`, by date and time.
QList<ContactRow> forExport(QSqlDatabase db, const QString& startDate, const QString& endDate,
                            const QString& park);

// The columns the contact log shows, as SQLite stores them (UTF-8), valid
// until the call that hands them out returns.
struct ListedContact {
    QByteArrayView id, date, park, time, call, band, mode, p2p;
};
// Hands every contact to `each`, newest date first, then by park, time and id.
void eachNewestFirst(QSqlDatabase db, const std::function<void(const ListedContact&)>& each);

// Contacts with a date from `startDate` to `endDate`.
int countInRange(QSqlDatabase db, const QString& startDate, const QString& endDate);
// The first contact in that range with an id above `afterId`.
std::optional<Contact> nextInRange(QSqlDatabase db, const QString& startDate,
                                   const QString& endDate, qint64 afterId);
// Fills the empty details of contact `id` (name, last, city, county, state,
// country, dxcc, lat, lon, grid, license, expire, born) from `answer`; what
// is stored wins.
DbResult fillMissingDetails(QSqlDatabase db, qint64 id, const ContactRow& answer);
} // namespace LogTable
