#pragma once

#include "db/dbresult.h"

#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

// One activation record: a `parks` row, every value as stored.
struct ParkRecord {
    qint64 id = 0;
    QString date, park, name, lat, lon, county, state, location, multiSt, qsos, lateQsos, p2ps;
};

// The counters of one activation record: contacts, late contacts and contacts
// that carry a park-to-park reference (however many references it holds).
struct ActivationCounts {
    int qsos = 0;
    int lateQsos = 0;
    int p2ps = 0;
};

// The persistent table `parks`: one row per park and UTC date.
namespace ParksTable
{
std::optional<ParkRecord> byId(QSqlDatabase db, qint64 id);
bool exists(QSqlDatabase db, const QString& date, const QString& park);
// The `parks` id of the record of `park` on `date`, else of the newest record
// of `park`; 0 when the park has none.
qint64 findActivation(QSqlDatabase db, const QString& date, const QString& park);

// A record made from a Station slot: name, position, location and
// multi-state flag, no counters (storeCounts gives them).
DbResult insertFromSlot(QSqlDatabase db, const ParkRecord& record);
// Refreshes name, position, location and multi-state flag of (date, park).
DbResult updateFromSlot(QSqlDatabase db, const ParkRecord& record);
// A record added for a contact that arrived (ticked slot, WSJT-X, a file):
// counters 0, no multi-state flag.
DbResult insertAdded(QSqlDatabase db, const ParkRecord& record);
extern const char* const insertAddedSql; // its statement, binding date to location
DbResult remove(QSqlDatabase db, qint64 id);

// The columns the activation list shows, as SQLite stores them (UTF-8),
// valid until the call that hands them out returns.
struct ListedRecord {
    qint64 id = 0;
    QByteArrayView date, park, name, lat, lon, county, state, location, qsos, lateQsos, p2ps;
};
// Hands the records of the activation list to `each` (hunting: only "HUNTER"
// days; else every other record), newest date first, records of one date in
// the order made; those without a date come last. False when the read failed.
bool eachListed(QSqlDatabase db, bool hunting,
                const std::function<void(const ListedRecord&)>& each);
// "date\npark" of every record.
QSet<QString> recordedPairs(QSqlDatabase db);

// Counts the contacts of one park and date in `log` (every operator's).
ActivationCounts count(QSqlDatabase db, const QString& date, const QString& park);
// Recounts the record of one park and date; writes only when a counter
// differs. True when something was written.
bool storeCounts(QSqlDatabase db, const QString& date, const QString& park);
// The same for the record that `log` row `logId` belongs to.
bool storeCountsOf(QSqlDatabase db, qint64 logId);
// Recounts every record in one transaction; returns how many there are.
int recountAll(QSqlDatabase db);
// The same for the records dated from `from` up to, not including, `to`
// (to the last one when `to` is empty); the first range, from "", also takes
// the records without a date.
int recountDates(QSqlDatabase db, const QString& from, const QString& to);
// Dates that cut the records into ranges of about `records` each, in order.
QStringList sliceDates(QSqlDatabase db, int records);
} // namespace ParksTable
