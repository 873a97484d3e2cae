#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// What POTA's upload would reject or credit to the wrong station or park,
// found before the file is written. Pure: the rows come from the log, the
// park list and the clock from the caller.
namespace Adif
{
// One contact of the upload as the log holds it.
struct UploadContact {
    QString date, time, call, band, mode, p2p;
};

struct Upload {
    QString stationCall, operatorCall, park;
    QList<UploadContact> contacts;
    // The references found in the park list, when a park list is loaded.
    std::optional<QSet<QString>> listedParks;
    QDateTime now; // UTC
};

struct UploadFinding {
    enum Rule { BadCall, MissingField, BadDate, FutureDate, UnknownPark, RetiredPark, FewContacts };
    Rule rule;
    QString text;
    // Fewer than 10 contacts is worth knowing, but the file still gives
    // the hunters their credit.
    bool isError() const { return rule != FewContacts; }
};

// One finding per contact and rule, per reference, and per UTC date with
// fewer than 10 contacts.
QList<UploadFinding> checkUpload(const Upload& upload);
// The references the upload names (the park and the other stations' parks),
// each also in its current US- form: what to look up in the park list.
QStringList uploadReferences(const Upload& upload);
} // namespace Adif
