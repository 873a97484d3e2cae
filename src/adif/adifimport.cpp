#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_parkbook.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>
#include <memory>

namespace
{
const char* const findSql =
    "SELECT id FROM log WHERE park=:1 and date=:2 and call=:3 and ifnull(mode,'')=:4 COLLATE "
    "NOCASE and ifnull(band,'')=:5 COLLATE NOCASE and ifnull(p2p,'')=:6 ORDER BY id LIMIT 1";
const char* const insertSql =
    "INSERT INTO log (id, date, time, park, call, name, county, state, country, dxcc, lat, lon, "
    "grid, sent, rcvd, mode, band, frequency, power, last, born, city, license, expire, p2p, "
    "station, operator, comment) VALUES (NULL, :dat, :tim, :prk, :cll, :nam, :cnt, :stt, :cry, "
    ":dxc, :lat, :lon, :grd, :snt, :rcv, :mod, :bnd, :frq, :pwr, :lst, :brn, :cty, :lic, :exp, "
    ":p2p, :stn, :mcl, :cmt)";
const char* const updateSql =
    "UPDATE log SET time=:tim, park=:prk, name=:nam, county=:cnt, state=:stt, country=:cry, "
    "dxcc=:dxc, lat=:lat, lon=:lon, grid=:grd, sent=:snt, rcvd=:rcv, frequency=:frq, power=:pwr, "
    "last=:lst, born=:brn, city=:cty, license=:lic, expire=:exp, p2p=:p2p, station=:stn,  "
    "operator=:mcl, comment=:cmt WHERE id=:id";

// While a file is imported the three statements are prepared once and reused
// for every record; a single contact from WSJT-X prepares its own.
struct RecordStatements {
    explicit RecordStatements(const QSqlDatabase& db) : find(db), insert(db), update(db)
    {
        find.prepare(findSql);
        insert.prepare(insertSql);
        update.prepare(updateSql);
    }
    QSqlQuery find, insert, update;
};
RecordStatements* importStatements = nullptr;
// The date and park pairs an import has already made sure of in `parks`: a
// second look-up of the same pair finds the row and changes nothing.
QSet<QString>* importParks = nullptr;
// The first write of the running import that the database refused; the
// import stops there and takes nothing of the file.
QString importFailure;

QString parkKey(const QString& date, const QString& park)
{
    return date + '\n' + park;
}
} // namespace

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

    // Not in text mode: a value that spans a line counts a CR LF as two
    // characters in its declared length, and the reader must too.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QSqlDatabase db = QSqlDatabase::database("parkbook");
        if (!db.isOpen() && !db.open())
            prompt().critical(this, "Cannot open Parkbook database",
                              "Unable to establish a Parkbook database connection.\nThis "
                              "program needs SQLite support.",
                              QMessageBox::Cancel);
        // One transaction: a file of many thousand records is written in
        // seconds, and a failure leaves the log as it was before the import.
        if (!db.transaction()) {
            const QString error = db.lastError().text();
            logError("ADIF import of " + QFileInfo(path).fileName() + " failed: " + error);
            prompt().critical(this, "ADIF Import Failed",
                              "The contacts of " + QFileInfo(path).fileName() +
                                  " could not be written.\nThe log is unchanged.");
            return;
        }
        importFailure.clear();
        {
            RecordStatements statements(db);
            importStatements = &statements;
            // The pairs already recorded need no look-up per record.
            QSet<QString> parks;
            QSqlQuery recorded(db);
            recorded.setForwardOnly(true);
            recorded.exec("SELECT date, park FROM parks WHERE date NOT NULL AND park NOT NULL");
            while (recorded.next())
                parks.insert(parkKey(recorded.value(0).toString(), recorded.value(1).toString()));
            importParks = &parks;
            QTextStream in(&file);
            Adif::RecordReader reader(&in);
            QString record;
            while (importFailure.isEmpty() && reader.next(&record))
                logFromADIF(record);
            importStatements = nullptr;
            importParks = nullptr;
        }
        QString failure = importFailure;
        if (failure.isEmpty() && !db.commit())
            failure = db.lastError().text();
        if (!failure.isEmpty()) {
            db.rollback();
            logError("ADIF import of " + QFileInfo(path).fileName() + " failed: " + failure);
            prompt().critical(this, "ADIF Import Failed",
                              "The contacts of " + QFileInfo(path).fileName() +
                                  " could not be written.\nThe log is unchanged.");
        }
        calculateStatistics();
        file.close();
    } else {
        logError("Could not open " + path + " for ADIF import");
        prompt().critical(this, "Cannot Open ADIF File",
                          "File " + path + "\nCould not be Opened.\n");
    }
    if (parkLog && parkLog->isVisible()) {
        ui->parkReference->setText(currentPark);
        on_actionLoad_Park_Log_triggered();
    }
}

void Parkbook::logFromADIF(QString record)
{
    const Adif::FieldIndex fields(record);
    const QString date = fields.value(u"QSO_DATE");
    const QString time = Adif::paddedTime(fields.value(u"TIME_ON"));
    auto ensurePark = [this, &date](const QString& park, const QString& name) {
        const QString key = parkKey(date, park);
        if (importParks && importParks->contains(key))
            return;
        addToParks(date, park, name);
        if (importParks)
            importParks->insert(key);
    };

    const Adif::ActivationWindow window{ui->parkDate->text(), ui->endDate->text(),
                                        ui->startTime->text(), ui->stopTime->text()};
    if (!window.contains(date, time))
        return;

    const Ui::Station* s = station->ui;
    const QCheckBox* active[] = {s->act1, s->act2, s->act3, s->act4, s->act5};
    const QLineEdit* refs[] = {s->pRef1, s->pRef2, s->pRef3, s->pRef4, s->pRef5};
    const QLineEdit* names[] = {s->name1, s->name2, s->name3, s->name4, s->name5};
    const QStringList parks = Adif::operatorParks(fields);
    if (!parks.isEmpty()) {
        for (const QString& park : parks) {
            if (!importFailure.isEmpty())
                return;
            // A park of the file is named as the window or a slot names it;
            // the park shown has nothing to say about another one.
            QString name;
            if (park == ui->parkReference->text())
                name = ui->parkName->text();
            for (int slot = 0; slot < 5 && name.isEmpty(); ++slot) {
                if (refs[slot]->text() == park)
                    name = names[slot]->text();
            }
            logRecord(date, time, park, fields, RecordFallback::Empty);
            ensurePark(park, name);
        }
        return;
    }
    for (int slot = 0; slot < 5 && importFailure.isEmpty(); ++slot) {
        if (!active[slot]->isChecked())
            continue;
        const QString park = refs[slot]->text();
        logRecord(date, time, park, fields, RecordFallback::Empty);
        ensurePark(park, names[slot]->text());
    }
}

bool Parkbook::logRecord(QString date, QString time, QString park, QString record)
{
    return logRecord(date, time, park, Adif::FieldIndex(record), RecordFallback::EntryWindows);
}

bool Parkbook::logRecord(const QString& date, const QString& time, const QString& park,
                         const Adif::FieldIndex& fields, RecordFallback fallback)
{
    // Every value is bound as text, never as NULL, so that the duplicate test
    // below finds rows written by an earlier import.
    auto text = [](const QString& v) { return v.isNull() ? QString("") : v; };
    auto read = [&fields, &text](QStringView name, const QString& otherwise) {
        const QString v = fields.value(name);
        return text(v.isEmpty() ? otherwise : v);
    };
    // What the entry windows show stands in only for the contact they show.
    const bool windows = fallback == RecordFallback::EntryWindows;
    auto shown = [windows](const QLineEdit* field) { return windows ? field->text() : QString(); };
    const Ui::Contact* c = contact->ui;
    const Ui::Station* s = station->ui;

    const QString call = read(u"CALL", QString());
    const QString mode = read(u"MODE", QString());
    const QString band = read(u"BAND", QString());
    const QString otherParks = Adif::otherParks(fields);
    const QString p2p = text(otherParks.isEmpty() ? shown(ui->p2p) : otherParks);
    const QString name = read(u"NAME", shown(c->name));
    const QString state = read(u"STATE", shown(c->state));
    const QString lat = read(u"LAT", shown(c->lat));
    const QString lon = read(u"LON", shown(c->lon));
    const QString grid = read(u"GRIDSQUARE", shown(c->grid));
    const QString sent = read(u"RST_SENT", QString());
    const QString rcvd = read(u"RST_RCVD", QString());
    const QString comment = read(u"COMMENT", QString());
    const QString last = text(shown(c->last));
    const QString born = text(shown(c->born));
    const QString city = text(shown(c->city));
    const QString license = text(shown(c->license));
    const QString expire = text(shown(c->expire));
    // Other loggers write COUNTRY; files of older Parkbook versions hold CNTRY.
    QString country = fields.value(u"COUNTRY");
    if (country.isEmpty())
        country = fields.value(u"CNTRY");

    std::unique_ptr<RecordStatements> own;
    if (!importStatements)
        own = std::make_unique<RecordStatements>(QSqlDatabase::database("parkbook"));
    RecordStatements& statements = importStatements ? *importStatements : *own;

    // Band and mode are compared without case: "20M" from one logger is the
    // same band as "20m" typed or logged from WSJT-X.
    QSqlQuery& find = statements.find;
    find.bindValue(QStringLiteral(":1"), text(park));
    find.bindValue(QStringLiteral(":2"), text(date));
    find.bindValue(QStringLiteral(":3"), call);
    find.bindValue(QStringLiteral(":4"), mode);
    find.bindValue(QStringLiteral(":5"), band);
    find.bindValue(QStringLiteral(":6"), p2p);
    const bool found = find.exec() && find.next();
    const QVariant id = found ? find.value(0) : QVariant();
    find.finish();

    QSqlQuery& write = found ? statements.update : statements.insert;
    if (!found) {
        write.bindValue(QStringLiteral(":dat"), text(date));
        write.bindValue(QStringLiteral(":cll"), call);
        write.bindValue(QStringLiteral(":mod"), mode);
        write.bindValue(QStringLiteral(":bnd"), band);
    } else {
        write.bindValue(QStringLiteral(":id"), id);
    }
    write.bindValue(QStringLiteral(":tim"), text(time));
    write.bindValue(QStringLiteral(":prk"), text(park));
    write.bindValue(QStringLiteral(":nam"), name);
    write.bindValue(QStringLiteral(":cnt"), read(u"CNTY", shown(c->county)));
    write.bindValue(QStringLiteral(":stt"), state);
    write.bindValue(QStringLiteral(":cry"), text(country.isEmpty() ? shown(c->country) : country));
    write.bindValue(QStringLiteral(":dxc"), read(u"DXCC", shown(c->dxcc)));
    write.bindValue(QStringLiteral(":lat"), lat);
    write.bindValue(QStringLiteral(":lon"), lon);
    write.bindValue(QStringLiteral(":grd"), grid);
    write.bindValue(QStringLiteral(":snt"), sent);
    write.bindValue(QStringLiteral(":rcv"), rcvd);
    write.bindValue(QStringLiteral(":frq"), read(u"FREQ", QString()));
    write.bindValue(QStringLiteral(":pwr"), read(u"TX_PWR", s->power->text()));
    write.bindValue(QStringLiteral(":lst"), last);
    write.bindValue(QStringLiteral(":brn"), born);
    write.bindValue(QStringLiteral(":cty"), city);
    write.bindValue(QStringLiteral(":lic"), license);
    write.bindValue(QStringLiteral(":exp"), expire);
    write.bindValue(QStringLiteral(":p2p"), p2p);
    write.bindValue(QStringLiteral(":stn"), read(u"STATION_CALLSIGN", s->station->text()));
    write.bindValue(QStringLiteral(":mcl"), read(u"OPERATOR", s->call->text()));
    write.bindValue(QStringLiteral(":cmt"), comment);
    if (!write.exec()) {
        if (importStatements && importFailure.isEmpty())
            importFailure = write.lastError().text();
        return false;
    }

    // What was just written is now the contact being entered.
    this->call = call;
    this->mode = mode;
    this->band = band;
    this->name = name;
    this->state = state;
    this->lat = lat;
    this->lon = lon;
    this->grid = grid;
    this->sent = sent;
    this->rcvd = rcvd;
    this->comment = comment;
    this->last = last;
    this->born = born;
    this->city = city;
    this->license = license;
    this->expire = expire;
    return true;
}
