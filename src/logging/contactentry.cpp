#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "parks/textcase.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_parkbook.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace
{
// Replaces the text of a field being typed in, keeping the cursor where it was
// and the field marked as edited by the operator.
void retype(QLineEdit* edit, const QString& text)
{
    const int position = edit->cursorPosition();
    edit->setText(text);
    edit->setCursorPosition(position);
    edit->setModified(true);
}

void focusAll(QLineEdit* edit)
{
    edit->setFocus();
    edit->selectAll();
}
} // namespace

// ---- typing aids ------------------------------------------------------------

void Parkbook::on_call_textEdited(QString arg1)
{
    retype(ui->call, arg1.toUpper());
}

void Parkbook::on_name_textEdited(QString arg1)
{
    retype(ui->name, TextCase::toCapitalize(arg1));
}

void Parkbook::on_p2p_textEdited(QString arg1)
{
    retype(ui->p2p, arg1.toUpper());
}

void Parkbook::on_mode_textEdited(QString arg1)
{
    retype(ui->mode, arg1.toUpper());
}

void Parkbook::on_band_textEdited(QString arg1)
{
    retype(ui->band, arg1.toLower());
}

// ---- Enter in each field ----------------------------------------------------

void Parkbook::on_sent_returnPressed()
{
    focusAll(ui->rcvd);
}

void Parkbook::on_rcvd_returnPressed()
{
    // With a QRZ session the state and name arrive from the lookup.
    if (qrzConnected)
        ui->comment->setFocus();
    else
        ui->state->setFocus();
}

void Parkbook::on_state_returnPressed()
{
    ui->name->setFocus();
}

void Parkbook::on_name_returnPressed()
{
    ui->comment->setFocus();
}

void Parkbook::on_p2p_returnPressed()
{
    focusAll(ui->sent);
}

void Parkbook::on_call_returnPressed()
{
    callReturn();
}

void Parkbook::on_lookUpContact_pressed()
{
    callReturn();
}

void Parkbook::callReturn()
{
    ui->utc->setText(clockTick.toString("hhmmss"));
    ui->mode->setText(station->ui->mode->currentText());
    ui->band->setText(station->ui->band->currentText());
    ui->frequency->setText(station->ui->frequency->text());
    ui->power->setText(station->ui->power->text());
    if (qrzConnected)
        lookUpContact();
    focusAll(ui->sent);
}

void Parkbook::on_goP2P_clicked()
{
    ui->p2p->setFocus();
}

// ---- logging ----------------------------------------------------------------

void Parkbook::on_logContact_pressed()
{
    logOperation();
}

void Parkbook::on_comment_returnPressed()
{
    logOperation();
}

void Parkbook::on_addP2P_clicked()
{
    addP2PPending = true;
    logOperation();
}

void Parkbook::logOperation()
{
    contactWriteFailed = false;
    QSqlQuery shown(QSqlDatabase::database("memory"));
    shown.prepare("Select logId FROM mLog WHERE logId = ?");
    shown.addBindValue(currentLogId);
    shown.exec();
    if (shown.next()) {
        logContact(2, ui->parkReference->text());
    } else {
        for (int slot = 1; slot <= 5 && !contactWriteFailed; ++slot) {
            if (station->activeBox(slot)->isChecked())
                logContact(1, station->parkRef(slot)->text());
        }
    }
    if (contactWriteFailed) {
        // Keep everything the operator typed so the contact can be logged again.
        addP2PPending = false;
        return;
    }
    on_clear_clicked();
}

void Parkbook::logContact(int type, QString park)
{
    date = ui->parkDate->text();
    if (ui->utc->text().isEmpty())
        callReturn();
    else if (qrzConnected)
        lookUpContact();

    time = ui->utc->text();
    call = ui->call->text().toUpper();
    name = ui->name->text();
    state = ui->state->text().toUpper();
    sent = ui->sent->text();
    rcvd = ui->rcvd->text();
    mode = ui->mode->text().toUpper();
    band = ui->band->text();
    frequency = ui->frequency->text();
    power = ui->power->text();
    p2p = ui->p2p->text().toUpper();
    comment = ui->comment->text();
    const Ui::Contact* form = contact->ui;
    last = form->last->text();
    born = form->born->text();
    city = form->city->text();
    county = form->county->text();
    country = form->country->text();
    dxcc = form->dxcc->text();
    lat = form->lat->text();
    lon = form->lon->text();
    grid = form->grid->text();
    license = form->license->text();
    expire = form->expire->text();

    const int logId = addToLog(park, currentLogId, type);
    if (contactWriteFailed)
        return;
    currentLogId = logId;
    parkLogPosition = addToMem(park, currentLogId, type);
    parkLogCount = displayParkLog(parkLogPosition);
    if (contactLog->isVisible())
        on_actionContact_Log_triggered();
    saveParks(true);
}

int Parkbook::addToLog(QString park, int logId, int type)
{
    if (type != 1 && type != 2)
        return logId;

    QSqlQuery query(QSqlDatabase::database("parkbook"));
    if (type == 1) {
        query.prepare("INSERT INTO log (id, date, time, park, call, name, last, born, city, "
                      "county, state, country, dxcc, lat, lon, grid, license, expire, sent, "
                      "rcvd, mode, band, frequency, power, p2p, station, operator, comment) "
                      "VALUES (NULL, ?, ?, ?, ?, ?,   ?, ?, ?, ?, ?,   ?, ?, ?, ?, ?,  ?, ?, ?, "
                      "?, ?,   ?, ?, ?, ?, ?,  ?, ?)");
        for (const QString& value :
             {date, time, park, call,    name,   last, born, city, county, state,     country, dxcc,
              lat,  lon,  grid, license, expire, sent, rcvd, mode, band,   frequency, power,   p2p})
            query.addBindValue(value);
        query.addBindValue(station->ui->station->text());
        query.addBindValue(station->ui->call->text());
        query.addBindValue(comment);
    } else {
        query.prepare("UPDATE log SET time=?, call=?, name=?, last=?, born=?, city=?, county=?, "
                      "state=?, country=?, dxcc=?, lat=?, lon=?, grid=?, license=?, expire=?, "
                      "sent=?, rcvd=?, mode=?, band=?, frequency=?, power=?, p2p=?, station=?,  "
                      "operator=?, comment=?  WHERE id=?");
        for (const QString& value :
             {time, call, name,    last,   born, city, county, state, country,   dxcc,  lat,
              lon,  grid, license, expire, sent, rcvd, mode,   band,  frequency, power, p2p})
            query.addBindValue(value);
        query.addBindValue(station->ui->station->text());
        query.addBindValue(station->ui->call->text());
        query.addBindValue(comment);
        query.addBindValue(logId);
    }

    // A contact that did not reach the database must never look logged: say
    // so, keep a trace in the error log, and leave the form for a retry.
    if (!query.exec() || (type == 2 && query.numRowsAffected() == 0)) {
        contactWriteFailed = true;
        const QString reason = query.lastError().text();
        prompt().critical(this, "Contact Not Logged",
                          "The contact with " + call + " for park " + park +
                              "\ncould not be written to the Parkbook database.\n" + reason +
                              "\nThe contact is kept in the form; please try again.");
        logError("Contact " + call + " for park " + park +
                 " was not written to the log: " + reason);
        return logId;
    }
    return type == 1 ? query.lastInsertId().toInt() : logId;
}

int Parkbook::addToMem(QString park, int logId, int type)
{
    QSqlDatabase memory = QSqlDatabase::database("memory");
    QSqlQuery query(memory);
    if (type == 1) {
        query.prepare("INSERT INTO mLog (id, logId, date, time, park, call, name, last, born, "
                      "city, county, state, country, dxcc, lat, lon, grid, license, expire, "
                      "sent, rcvd, mode, band, frequency, power, p2p, comment) VALUES (NULL, ?, "
                      "?, ?, ?, ?,   ?, ?, ?, ?, ?,  ?, ?, ?, ?, ?,   ?, ?, ?, ?, ?,   ?, ?, ?, "
                      "?, ?,  ?)");
        query.addBindValue(logId);
        for (const QString& value :
             {date,  time,    park, call,      name,  last, born,    city,   county,
              state, country, dxcc, lat,       lon,   grid, license, expire, sent,
              rcvd,  mode,    band, frequency, power, p2p,  comment})
            query.addBindValue(value);
        query.exec();
        if (park != ui->parkReference->text())
            return 0;
        QSqlQuery position(memory);
        position.prepare("INSERT INTO parkLogId (id, logId) VALUES (NULL, ?)");
        position.addBindValue(logId);
        position.exec();
        return position.lastInsertId().toInt();
    }
    if (type == 2) {
        query.prepare("UPDATE mLog SET time=?, call=?, name=?, last=?, born=?, city=?, county=?, "
                      "state=?, country=?, dxcc=?, lat=?, lon=?, grid=?, license=?, expire=?, "
                      "sent=?, rcvd=?, mode=?, band=?, frequency=?, power=?, p2p=?, comment=?  "
                      "WHERE logId = ?");
        for (const QString& value : {time,    call, name, last,      born,  city,    county, state,
                                     country, dxcc, lat,  lon,       grid,  license, expire, sent,
                                     rcvd,    mode, band, frequency, power, p2p,     comment})
            query.addBindValue(value);
        query.addBindValue(logId);
        query.exec();
        QSqlQuery position(memory);
        position.prepare("SELECT * FROM parkLogId WHERE logId = ?");
        position.addBindValue(logId);
        position.exec();
        return position.next() ? position.value("id").toInt() : 0;
    }
    return 0;
}

// ---- clearing ---------------------------------------------------------------

void Parkbook::on_clear_clicked()
{
    currentLogId = 0;
    if (addP2PPending) {
        addP2PPending = false;
        ui->p2p->setText("");
        ui->p2p->setFocus();
        return;
    }
    for (QString* member : {&call, &name, &last, &born, &city, &county, &state, &country, &dxcc,
                            &lat, &lon, &grid, &license, &expire})
        member->clear();
    ui->call->setText("");
    // With an empty call the lookup does nothing but clear, which is done here.
    clearContactForm();
    ui->call->setFocus();
}

void Parkbook::clearContactForm()
{
    for (QLineEdit* edit : {ui->call, ui->utc, ui->name, ui->mode, ui->band, ui->frequency,
                            ui->power, ui->comment, ui->p2p})
        edit->setText("");
    {
        // Emptying the state must not start the state-centre lookup.
        const QSignalBlocker blocker(ui->state);
        ui->state->setText("");
    }
    ui->sent->setText("59");
    ui->rcvd->setText("59");
    const Ui::Contact* form = contact->ui;
    for (QLineEdit* edit : {form->dist, form->bear, form->call, form->name, form->last, form->born,
                            form->license, form->expire, form->city, form->county, form->state,
                            form->country, form->dxcc, form->lat, form->lon, form->grid})
        edit->setText("");
}
