#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/recordwriter.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "support/diagnostics.h"
#include "ui_contact.h"
#include "ui_parkbook.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTextStream>
#include <utility>

QString Parkbook::extractField(QString line, QString fieldName)
{
    return Adif::extractField(line, fieldName);
}

void Parkbook::on_actionImport_Contact_Log_triggered()
{
    const QString path = prompt().openFileName(this, "Select ADIF File", dataDir.path(),
                                               "ADIF Files (*.adi);;All Files (*.*)");
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();

    // Not in text mode: a value that spans a line counts a CR LF as two
    // characters in its declared length, and the reader must too.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        logError("Could not open " + path + " for ADIF import");
        prompt().critical(this, "Cannot Open ADIF File",
                          "File " + path + "\nCould not be Opened.\n");
        return;
    }

    // A long file shows its progress after a second and can be cancelled.
    // While the dialog takes the keyboard, WSJT-X and the QRZ answers wait
    // for the log (afterImport): a contact written into the open transaction
    // would go with a cancelled import.
    QProgressDialog progress("Importing " + name, "Cancel", 0, 1000, this);
    progress.setWindowTitle("ADIF Import");
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(1000);
    importRunning = true;

    // One transaction: a file of many thousand records is written in
    // seconds, and a failure leaves the log as it was before the import.
    RecordWriter writer(Database::log());
    const RecordDefaults defaults = recordDefaults();
    DbResult result = writer.begin();
    bool cancelled = false;
    if (result) {
        QTextStream in(&file);
        Adif::RecordReader reader(&in);
        QString record;
        const qint64 size = qMax<qint64>(1, file.size());
        int records = 0;
        while (writer.firstFailure.isEmpty() && reader.next(&record)) {
            importRecord(record, defaults, writer);
            if (++records % 500 == 0) {
                progress.setLabelText(QString("Importing %1: %2 records").arg(name).arg(records));
                progress.setValue(int(file.pos() * 1000 / size));
                if ((cancelled = progress.wasCanceled()))
                    break;
            }
        }
        if (cancelled)
            writer.rollback();
        else
            result = writer.commit();
        qCDebug(lcAdif) << name << ":" << records << "records read,"
                        << (cancelled ? "cancelled"
                            : result  ? "committed"
                                      : "rolled back");
    }
    progress.reset();
    importRunning = false;
    file.close();
    if (cancelled) {
        prompt().information(this, "ADIF Import Cancelled",
                             "The import of " + name + " was cancelled.\nThe log is unchanged.");
    } else if (!result) {
        logError("ADIF import of " + name + " failed: " + result.error);
        prompt().critical(this, "ADIF Import Failed",
                          "The contacts of " + name +
                              " could not be written.\nThe log is unchanged.");
    }

    // The lists are drawn again once, for the whole file.
    calculateStatistics();
    refreshActivationList();
    if (parkLog && parkLog->isVisible()) {
        ui->parkReference->setText(currentPark);
        on_actionLoad_Park_Log_triggered();
    }
    if (contactLog->isVisible())
        fillContactLog(true, nullptr);
    for (const std::function<void()>& write : std::exchange(afterImport, {}))
        write();
}

void Parkbook::whenLogIsFree(std::function<void()> write)
{
    if (importRunning)
        afterImport.append(std::move(write));
    else
        write();
}

void Parkbook::logFromADIF(QString record)
{
    RecordWriter writer(Database::log());
    importRecord(record, recordDefaults(), writer);
}

Parkbook::RecordDefaults Parkbook::recordDefaults() const
{
    RecordDefaults d;
    d.startDate = ui->parkDate->text();
    d.endDate = ui->endDate->text();
    d.startTime = ui->startTime->text();
    d.stopTime = ui->stopTime->text();
    d.shownPark = ui->parkReference->text();
    d.shownParkName = ui->parkName->text();
    for (int slot = 1; slot <= 5; ++slot) {
        d.active[slot - 1] = station->activeBox(slot)->isChecked();
        d.parks[slot - 1] = station->parkRef(slot)->text();
        d.parkNames[slot - 1] = station->parkNameEdit(slot)->text();
    }
    const Ui::Station* s = station->ui;
    d.power = s->power->text();
    d.station = s->station->text();
    d.operatorCall = s->call->text();
    return d;
}

void Parkbook::importRecord(const QString& record, const RecordDefaults& defaults,
                            RecordWriter& writer)
{
    const Adif::FieldIndex fields(record);
    const QString date = fields.value(u"QSO_DATE");
    const QString time = Adif::paddedTime(fields.value(u"TIME_ON"));
    // A file's records are counted once it is in (see the import), and a
    // record refused stops the file as a refused contact does; a single
    // contact from WSJT-X has its record counted and listed at once.
    auto ensurePark = [this, &date, &writer](const QString& park, const QString& name) {
        if (!writer.needsParkRecord(date, park))
            return;
        if (importRunning)
            (void)writer.addParkRecord(stationParkRecord(date, park, name));
        else
            addToParks(date, park, name);
    };

    const Adif::ActivationWindow window{defaults.startDate, defaults.endDate, defaults.startTime,
                                        defaults.stopTime};
    if (!window.contains(date, time))
        return;

    const QStringList parks = Adif::operatorParks(fields);
    if (!parks.isEmpty()) {
        for (const QString& park : parks) {
            if (!writer.firstFailure.isEmpty())
                return;
            // A park of the file is named as the window or a slot names it;
            // the park shown has nothing to say about another one.
            QString name;
            if (park == defaults.shownPark)
                name = defaults.shownParkName;
            for (int slot = 0; slot < 5 && name.isEmpty(); ++slot) {
                if (defaults.parks[slot] == park)
                    name = defaults.parkNames[slot];
            }
            logRecord(date, time, park, fields, RecordFallback::Empty, defaults, writer);
            ensurePark(park, name);
        }
        return;
    }
    for (int slot = 0; slot < 5 && writer.firstFailure.isEmpty(); ++slot) {
        if (!defaults.active[slot])
            continue;
        const QString& park = defaults.parks[slot];
        logRecord(date, time, park, fields, RecordFallback::Empty, defaults, writer);
        ensurePark(park, defaults.parkNames[slot]);
    }
}

bool Parkbook::logRecord(QString date, QString time, QString park, QString record)
{
    RecordWriter writer(Database::log());
    return logRecord(date, time, park, Adif::FieldIndex(record), RecordFallback::EntryWindows,
                     recordDefaults(), writer);
}

bool Parkbook::logRecord(const QString& date, const QString& time, const QString& park,
                         const Adif::FieldIndex& fields, RecordFallback fallback,
                         const RecordDefaults& defaults, RecordWriter& writer)
{
    auto read = [&fields](QStringView name, const QString& otherwise) {
        const QString v = fields.value(name);
        return v.isEmpty() ? otherwise : v;
    };
    // What the entry windows show stands in only for the contact they show.
    const bool windows = fallback == RecordFallback::EntryWindows;
    auto shown = [windows](const QLineEdit* field) { return windows ? field->text() : QString(); };
    const Ui::Contact* c = contact->ui;

    ContactRow row;
    row.date = date;
    row.time = time;
    row.park = park;
    row.call = read(u"CALL", QString());
    row.mode = read(u"MODE", QString());
    row.band = read(u"BAND", QString());
    const QString otherParks = Adif::otherParks(fields);
    row.p2p = otherParks.isEmpty() ? shown(ui->p2p) : otherParks;
    row.name = read(u"NAME", shown(c->name));
    row.county = read(u"CNTY", shown(c->county));
    row.state = read(u"STATE", shown(c->state));
    // Other loggers write COUNTRY; files of older Parkbook versions hold CNTRY.
    row.country = read(u"COUNTRY", read(u"CNTRY", shown(c->country)));
    row.dxcc = read(u"DXCC", shown(c->dxcc));
    row.lat = read(u"LAT", shown(c->lat));
    row.lon = read(u"LON", shown(c->lon));
    row.grid = read(u"GRIDSQUARE", shown(c->grid));
    row.sent = read(u"RST_SENT", QString());
    row.rcvd = read(u"RST_RCVD", QString());
    row.frequency = read(u"FREQ", QString());
    row.power = read(u"TX_PWR", defaults.power);
    row.last = shown(c->last);
    row.born = shown(c->born);
    row.city = shown(c->city);
    row.license = shown(c->license);
    row.expire = shown(c->expire);
    row.station = read(u"STATION_CALLSIGN", defaults.station);
    row.operatorCall = read(u"OPERATOR", defaults.operatorCall);
    row.comment = read(u"COMMENT", QString());
    if (!writer.write(row))
        return false;
    // What was just written is now the contact being entered.
    contactRecord = row;
    return true;
}
