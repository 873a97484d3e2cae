#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "app/prompter.h"
#include "app/utcclock.h"
#include "db/database.h"
#include "db/logtable.h"
#include "parks/station.h"
#include "ui_parkbook.h"

#include <algorithm>

namespace
{
// Station and park details as the windows show them right now: every record of
// one export carries these, whatever the rows' own station columns say.
Adif::ExportStation exportStation(const Parkbook& pb)
{
    Adif::ExportStation st;
    st.station = pb.station->ui->station->text();
    st.operatorCall = pb.station->ui->call->text();
    st.park = pb.ui->parkReference->text();
    if (pb.writeCurrentReferences)
        st.park = Adif::currentReferences(st.park);
    st.parkName = pb.ui->parkName->text();
    st.state = pb.station->ui->state->currentText();
    st.county = pb.station->ui->county->text();
    st.lat = pb.station->ui->lat->text();
    st.lon = pb.station->ui->lon->text();
    st.grid = pb.station->ui->grid->text();
    return st;
}

// Whether the export would write a retired K- reference: as the park, or as
// the other station's park of one of its contacts.
bool holdsRetiredReference(const QString& park, const QList<ContactRow>& contacts)
{
    if (Adif::hasRetiredReference(park))
        return true;
    return std::any_of(contacts.cbegin(), contacts.cend(), [](const ContactRow& contact) {
        return Adif::hasRetiredReference(contact.p2p);
    });
}
} // namespace

void Parkbook::on_actionExport_Park_Log_triggered()
{
    createLogFile("POTA");
}

void Parkbook::on_actionExport_Contact_Log_triggered()
{
    createLogFile("COMPLETE");
}

void Parkbook::createLogFile(QString type)
{
    const QString startDate = ui->parkDate->text();
    const QString endDate = ui->endDate->text();
    const QList<ContactRow> contacts =
        LogTable::forExport(Database::log(), startDate, endDate, ui->parkReference->text());
    // The log keeps what was logged; only the file may say it the new way. The
    // upload check offers that together with everything else POTA would refuse.
    if (type == "POTA") {
        if (!confirmUpload(startDate, endDate))
            return;
    } else {
        writeCurrentReferences =
            holdsRetiredReference(ui->parkReference->text(), contacts) &&
            prompt().question(this, "Retired Park Reference",
                              "This export holds park references of the retired form K-nnnn.\n"
                              "POTA no longer accepts them: the same parks are now US-nnnn.\n\n"
                              "Write US- references into the file?\n"
                              "Your log keeps its references as they are.",
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes) == QMessageBox::Yes;
    }
    const Adif::ExportStation st = exportStation(*this);
    const QString fileName = Adif::exportFileName(type, st.operatorCall, st.park, st.state,
                                                  startDate, ui->mst->isChecked());

    adifFile.close();
    adifFile.setFileName(dataDir.filePath(fileName));
    if (!adifFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        // The operator expects an upload file; say so instead of leaving nothing.
        logError("Could not open " + fileName + " for Park Log");
        prompt().critical(this, "Cannot Export Park Log",
                          "Could not open " + fileName + " for Park Log");
        writeCurrentReferences = false;
        return;
    }
    const QDateTime exportTime = clockTick.isValid() ? clockTick : UtcClock::now();
    adifFile.write(Adif::header(exportTime).toUtf8());
    for (const ContactRow& c : contacts) {
        if (type == "POTA")
            addPotaContactToFile(c.call, c.date, c.time, c.mode, c.band, c.p2p);
        else if (type == "COMPLETE")
            addContactToFile(c.call, c.date, c.time, c.name, c.county, c.state, c.sent, c.rcvd,
                             c.mode, c.band, c.frequency, c.power, c.lat, c.lon, c.grid, c.comment,
                             c.p2p, c.city);
    }
    writeCurrentReferences = false;
    // A full disk shows only here: every write went to the buffer, and the
    // flush is where the file system says no.
    const bool written = adifFile.error() == QFileDevice::NoError && adifFile.flush();
    const QString error = adifFile.errorString();
    adifFile.close();
    if (!written) {
        logError("Could not write " + fileName + ": " + error);
        prompt().critical(this, "Cannot Export Park Log",
                          "Could not write " + fileName + "\n" + error);
    }
}

void Parkbook::addPotaContactToFile(QString call, QString date, QString time, QString mode,
                                    QString band, QString p2p)
{
    Adif::ExportContact c;
    c.call = call;
    c.date = date;
    c.time = time;
    c.mode = mode;
    c.band = band;
    c.p2p = writeCurrentReferences ? Adif::currentReferences(p2p) : p2p;
    adifFile.write(Adif::potaRecord(exportStation(*this), c).toUtf8());
}

void Parkbook::addContactToFile(QString call, QString date, QString time, QString name,
                                QString city, QString state, QString sent, QString rcvd,
                                QString mode, QString band, QString frequency, QString power,
                                QString lat, QString lon, QString grid, QString comment,
                                QString p2p, QString contactCity)
{
    if (writeCurrentReferences)
        p2p = Adif::currentReferences(p2p);
    const Adif::ExportContact c{call,  date, time, name, city, contactCity,
                                state, sent, rcvd, mode, band, frequency,
                                power, lat,  lon,  grid, p2p,  comment};
    adifFile.write(Adif::completeRecord(exportStation(*this), c).toUtf8());
}
