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
