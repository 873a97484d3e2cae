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
#include <utility>

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

    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
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
            QSet<QString> parks;
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
    const QString date = fields.value("QSO_DATE");
    const QString time = Adif::paddedTime(fields.value("TIME_ON"));
    const QString mySigInfo = fields.value("MY_SIG_INFO");
    auto ensurePark = [this, &date](const QString& park, const QString& name) {
        const QString key = date + '\n' + park;
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

    if (!mySigInfo.isEmpty()) {
        logRecord(date, time, mySigInfo, record);
        ensurePark(mySigInfo, ui->parkName->text());
        return;
    }
    const Ui::Station* s = station->ui;
    const QCheckBox* active[] = {s->act1, s->act2, s->act3, s->act4, s->act5};
    const QLineEdit* refs[] = {s->pRef1, s->pRef2, s->pRef3, s->pRef4, s->pRef5};
    const QLineEdit* names[] = {s->name1, s->name2, s->name3, s->name4, s->name5};
    for (int slot = 0; slot < 5 && importFailure.isEmpty(); ++slot) {
        if (!active[slot]->isChecked())
            continue;
        const QString park = refs[slot]->text();
        logRecord(date, time, park, record);
        ensurePark(park, names[slot]->text());
    }
}

bool Parkbook::logRecord(QString date, QString time, QString park, QString record)
{
    // Every value is bound as text, never as NULL, so that the duplicate test
    // below finds rows written by an earlier import.
    auto text = [](const QString& v) { return v.isNull() ? QString("") : v; };
    const Adif::FieldIndex fields(record);
    auto read = [&](const char* name, const QString& fallback) {
        const QString v = fields.value(QLatin1String(name));
        return text(v.isEmpty() ? fallback : v);
    };
    const Ui::Contact* c = contact->ui;
    const Ui::Station* s = station->ui;

    const QString call = read("CALL", QString());
    const QString mode = read("MODE", QString());
    const QString band = read("BAND", QString());
    const QString p2p = read("SIG_INFO", ui->p2p->text());

    std::unique_ptr<RecordStatements> own;
    if (!importStatements)
        own = std::make_unique<RecordStatements>(QSqlDatabase::database("parkbook"));
    RecordStatements& statements = importStatements ? *importStatements : *own;

    // Band and mode are compared without case: "20M" from one logger is the
    // same band as "20m" typed or logged from WSJT-X.
    QSqlQuery& find = statements.find;
    find.bindValue(":1", text(park));
    find.bindValue(":2", text(date));
    find.bindValue(":3", call);
    find.bindValue(":4", mode);
    find.bindValue(":5", band);
    find.bindValue(":6", p2p);
    const bool found = find.exec() && find.next();
    const QVariant id = found ? find.value(0) : QVariant();
    find.finish();

    QSqlQuery& write = found ? statements.update : statements.insert;
    if (!found) {
        write.bindValue(":dat", text(date));
        write.bindValue(":cll", call);
        write.bindValue(":mod", mode);
        write.bindValue(":bnd", band);
    } else {
        write.bindValue(":id", id);
    }
    write.bindValue(":tim", text(time));
    write.bindValue(":prk", text(park));
    write.bindValue(":nam", read("NAME", c->name->text()));
    write.bindValue(":cnt", read("CNTY", c->county->text()));
    write.bindValue(":stt", read("STATE", c->state->text()));
    write.bindValue(":cry", read("CNTRY", c->country->text()));
    write.bindValue(":dxc", read("DXCC", c->dxcc->text()));
    write.bindValue(":lat", read("LAT", c->lat->text()));
    write.bindValue(":lon", read("LON", c->lon->text()));
    write.bindValue(":grd", read("GRIDSQUARE", c->grid->text()));
    write.bindValue(":snt", read("RST_SENT", QString()));
    write.bindValue(":rcv", read("RST_RCVD", QString()));
    write.bindValue(":frq", read("FREQ", QString()));
    write.bindValue(":pwr", read("TX_PWR", s->power->text()));
    write.bindValue(":lst", text(c->last->text()));
    write.bindValue(":brn", text(c->born->text()));
    write.bindValue(":cty", text(c->city->text()));
    write.bindValue(":lic", text(c->license->text()));
    write.bindValue(":exp", text(c->expire->text()));
    write.bindValue(":p2p", p2p);
    write.bindValue(":stn", read("STATION_CALLSIGN", s->station->text()));
    write.bindValue(":mcl", read("OPERATOR", s->call->text()));
    write.bindValue(":cmt", read("COMMENT", QString()));
    if (!write.exec()) {
        if (importStatements && importFailure.isEmpty())
            importFailure = write.lastError().text();
        return false;
    }

    // What was just written is now the contact being entered.
    this->call = call;
    this->mode = mode;
    this->band = band;
    for (auto [member, placeholder] : {std::pair{&name, ":nam"},
                                       {&state, ":stt"},
                                       {&lat, ":lat"},
                                       {&lon, ":lon"},
                                       {&grid, ":grd"},
                                       {&sent, ":snt"},
                                       {&rcvd, ":rcv"},
                                       {&comment, ":cmt"},
                                       {&last, ":lst"},
                                       {&born, ":brn"},
                                       {&city, ":cty"},
                                       {&license, ":lic"},
                                       {&expire, ":exp"}})
        *member = write.boundValue(placeholder).toString();
    return true;
}
