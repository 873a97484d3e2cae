#pragma once

#include "db/contactrow.h"
#include "db/dbresult.h"

#include <QByteArrayView>
#include <QList>
#include <QSqlDatabase>
#include <functional>
#include <limits>
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
// Every contact's listed columns, read a part at a time (a long log can be
// read over several turns of the event loop) and then handed over newest
// date first, then by park, time and id.
class NewestFirst
{
public:
    explicit NewestFirst(QSqlDatabase db);
    // Reads up to `count` more contacts in the order of their ids; false
    // once every contact is read.
    bool readMore(int count);
    // Sorts what was read, hands each contact to `each` and lets go of them.
    void each(const std::function<void(const ListedContact&)>& each);

private:
    static constexpr int columns = 8;
    struct Row {
        int start[columns + 1]; // offsets in `values`; the last one ends the row
        qint64 id;
        quint64 dateKey, parkKey, timeKey; // sortKey of date, park and time
    };
    QByteArrayView field(const Row& row, int column) const;

    QSqlDatabase db;
    qint64 lastId = std::numeric_limits<qint64>::min();
    QByteArray values; // the bytes of every column read, one after another
    QList<Row> rows;
};

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
