#pragma once

#include <QSqlDatabase>
#include <QString>

// The counters of one activation record: contacts, late contacts and contacts
// that carry a park-to-park reference (however many references it holds).
struct ActivationCounts {
    int qsos = 0;
    int lateQsos = 0;
    int p2ps = 0;
};

// Recounts every `parks` row from the contacts in `log` with the same date and
// park (every operator's contacts count). All updates run in one transaction;
// returns the number of `parks` rows recounted.
int recountActivations(QSqlDatabase db);

// Counts the contacts of one park and date in `log`.
ActivationCounts countActivation(QSqlDatabase db, const QString& date, const QString& park);

// Recounts the record of one park and date from `log` after its contacts
// changed; writes only when a counter differs. True when something was written.
bool storeActivationCounts(QSqlDatabase db, const QString& date, const QString& park);
// The same for the record that the `log` row `logId` belongs to.
bool storeActivationCountsOf(QSqlDatabase db, int logId);

// The `parks` id of the record of `park` on `date`, else of the newest record
// of `park`; 0 when the park has none.
int findActivation(QSqlDatabase db, const QString& date, const QString& park);

// The entry of the activation list (`activationId` of the in-memory database)
// that shows the `parks` row `parkId`; 0 when the list does not show it.
int activationListEntry(QSqlDatabase memory, int parkId);

// A complete park date: eight digits "yyyyMMdd" naming a day of the calendar.
bool isParkDate(const QString& text);

// The reserved park reference of hunting days, and whether a park reference
// belongs to the list of the given mode ("Activating" lists every park but
// the hunting days, "Hunting" only the hunting days, any other mode nothing).
inline const QString hunterPark = QStringLiteral("HUNTER");
bool belongsToMode(const QString& park, const QString& mode);

// The columns of a `parks` row that the activation/hunting list shows, as stored.
struct ActivationListRow {
    QString date, park, state, qsos, lateQsos, p2ps, lat, lon, location, name, county;
};

// Header and line of the activation/hunting list.
QString activationHeader();
QString activationLine(const ActivationListRow& row);
