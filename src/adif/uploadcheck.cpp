#include "adif/uploadcheck.h"

#include "adif/adifcodec.h"

#include <QDate>
#include <QMap>
#include <QRegularExpression>
#include <utility>

namespace Adif
{
namespace
{
bool takenCall(const QString& call)
{
    static const QRegularExpression allowed("^[A-Z0-9/]+$");
    return allowed.match(call).hasMatch();
}

const QString callRule = QStringLiteral("has characters POTA does not take (only A-Z, 0-9 and /)");

// The park, then every other station's park, each once.
QStringList namedReferences(const Upload& upload)
{
    QStringList refs{upload.park};
    for (const UploadContact& c : upload.contacts) {
        for (const QString& item : c.p2p.split(',', Qt::SkipEmptyParts)) {
            const QString ref = item.trimmed();
            if (!ref.isEmpty() && !refs.contains(ref))
                refs << ref;
        }
    }
    return refs;
}
} // namespace

QList<UploadFinding> checkUpload(const Upload& upload)
{
    QList<UploadFinding> found;
    auto add = [&found](UploadFinding::Rule rule, const QString& text) {
        found.append({rule, text});
    };
    if (upload.stationCall.isEmpty())
        add(UploadFinding::MissingField, "The station call is empty");
    else if (!takenCall(upload.stationCall))
        add(UploadFinding::BadCall, "The station call " + upload.stationCall + " " + callRule);
    if (!upload.operatorCall.isEmpty() && !takenCall(upload.operatorCall))
        add(UploadFinding::BadCall, "The operator call " + upload.operatorCall + " " + callRule);

    QMap<QString, int> perDate;
    for (const UploadContact& c : upload.contacts) {
        ++perDate[c.date];
        const QString who = c.date + " " + c.time + " " + c.call + ": ";
        QStringList missing;
        const std::pair<const char*, QString> fields[] = {
            {"call", c.call}, {"band", c.band}, {"mode", c.mode}};
        for (const auto& [name, value] : fields) {
            if (value.trimmed().isEmpty())
                missing << name;
        }
        if (!missing.isEmpty())
            add(UploadFinding::MissingField, who + "no " + missing.join(", "));
        if (!c.call.isEmpty() && !takenCall(c.call))
            add(UploadFinding::BadCall, who + "the call " + callRule);
        const QDate date = QDate::fromString(c.date, "yyyyMMdd");
        if (c.date.size() != 8 || !date.isValid()) {
            add(UploadFinding::BadDate, who + "the date is not a real date");
            continue;
        }
        const QTime time = QTime::fromString(c.time, "hhmmss");
        if (QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC) > upload.now)
            add(UploadFinding::FutureDate, who + "the date is in the future");
    }

    for (const QString& ref : namedReferences(upload)) {
        const QString current = currentReferences(ref);
        if (current != ref)
            add(UploadFinding::RetiredPark,
                ref + " is a retired reference: POTA now names it " + current);
        if (upload.listedParks && !upload.listedParks->contains(ref) &&
            !upload.listedParks->contains(current))
            add(UploadFinding::UnknownPark, ref + " is not in the park list");
    }

    for (auto day = perDate.cbegin(); day != perDate.cend(); ++day) {
        if (day.value() < 10)
            add(UploadFinding::FewContacts,
                QString("%1: %2 contacts. An activation needs 10; the file still gives the "
                        "hunters their credit.")
                    .arg(day.key())
                    .arg(day.value()));
    }
    return found;
}

QStringList uploadReferences(const Upload& upload)
{
    QStringList refs;
    for (const QString& ref : namedReferences(upload)) {
        for (const QString& form : {ref, currentReferences(ref)}) {
            if (!refs.contains(form))
                refs << form;
        }
    }
    return refs;
}
} // namespace Adif
