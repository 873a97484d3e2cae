#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/logtable.h"
#include "db/parklogmemory.h"
#include "db/parkstable.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "parks/textcase.h"
#include "qrz/contact.h"
#include "support/diagnostics.h"
#include "ui_contact.h"
#include "ui_parkbook.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

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
    stampContact();
    if (qrzConnected)
        lookUpContact();
    focusAll(ui->sent);
}

void Parkbook::stampContact()
{
    ui->utc->setText(clockTick.toString("hhmmss"));
    ui->mode->setText(station->ui->mode->currentText());
    ui->band->setText(station->ui->band->currentText());
    ui->frequency->setText(station->ui->frequency->text());
    ui->power->setText(station->ui->power->text());
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
    if (ParkLogMemory::contains(Database::memory(), currentLogId)) {
        logContact(2, ui->parkReference->text());
        if (!contactWriteFailed)
            ParksTable::storeCountsOf(Database::log(), currentLogId);
    } else {
        // A contact is filed under the park date: never under one still being
        // typed, and never under one the park log has not been loaded for.
        if (!confirmParkDate())
            return;
        if (ui->parkDate->text() != parkLogDate)
            loadParkLog();
        // The form is read once: every ticked park gets the same contact. A
        // park already written by an earlier F8 that failed half-way is not
        // written twice.
        takeContactFromForm();
        const ContactRow& c = contactRecord;
        const QString contactKey = QStringList{c.date, c.time, c.call, c.p2p}.join('|');
        if (contactKey != contactLoggedKey) {
            contactLoggedKey = contactKey;
            contactLoggedParks.clear();
        }
        for (int slot = 1; slot <= 5 && !contactWriteFailed; ++slot) {
            const QString park = station->parkRef(slot)->text();
            if (!station->activeBox(slot)->isChecked() || contactLoggedParks.contains(park))
                continue;
            writeContact(1, park);
            if (!contactWriteFailed)
                contactLoggedParks.append(park);
        }
        if (contactWriteFailed)
            currentLogId = 0; // what was written stays written; the rest waits for F8
    }
    if (contactWriteFailed) {
        // Keep everything the operator typed so the contact can be logged again.
        addP2PPending = false;
        return;
    }
    parkLogCount = displayParkLog(parkLogPosition);
    if (contactLog->isVisible())
        on_actionContact_Log_triggered();
    saveParks(true);
    on_clear_clicked();
}

void Parkbook::logContact(int type, QString park)
{
    takeContactFromForm();
    writeContact(type, park);
}

void Parkbook::takeContactFromForm()
{
    ContactRow& c = contactRecord;
    c.date = ui->parkDate->text();
    if (ui->utc->text().isEmpty())
        stampContact();

    c.time = ui->utc->text();
    c.call = ui->call->text().toUpper();
    c.name = ui->name->text();
    c.state = ui->state->text().toUpper();
    c.sent = ui->sent->text();
    c.rcvd = ui->rcvd->text();
    c.mode = ui->mode->text().toUpper();
    c.band = ui->band->text();
    c.frequency = ui->frequency->text();
    c.power = ui->power->text();
    c.p2p = ui->p2p->text().toUpper();
    c.comment = ui->comment->text();
    // The Contact window's details are stored only when they are this very
    // station's: a lookup still on its way, or another station's answer,
    // leaves them empty for the populate run to fill later.
    const bool ours = !c.call.isEmpty() && contactDetailsCall == c.call;
    const Ui::Contact* form = contact->ui;
    const std::pair<QString ContactRow::*, const QLineEdit*> details[] = {
        {&ContactRow::last, form->last},       {&ContactRow::born, form->born},
        {&ContactRow::city, form->city},       {&ContactRow::county, form->county},
        {&ContactRow::country, form->country}, {&ContactRow::dxcc, form->dxcc},
        {&ContactRow::lat, form->lat},         {&ContactRow::lon, form->lon},
        {&ContactRow::grid, form->grid},       {&ContactRow::license, form->license},
        {&ContactRow::expire, form->expire}};
    for (const auto& [member, field] : details)
        c.*member = ours ? field->text() : QString();
}

void Parkbook::writeContact(int type, const QString& park)
{
    const int logId = addToLog(park, currentLogId, type);
    if (contactWriteFailed)
        return;
    currentLogId = logId;
    parkLogPosition = addToMem(park, currentLogId, type);
}

int Parkbook::addToLog(QString park, int logId, int type)
{
    if (type != 1 && type != 2)
        return logId;
    ContactRow row = contactRecord;
    row.park = park;
    row.station = station->ui->station->text();
    row.operatorCall = station->ui->call->text();
    const DbResult written = type == 1 ? LogTable::insert(Database::log(), row)
                                       : LogTable::update(Database::log(), logId, row);
    // A contact that did not reach the database must never look logged: say
    // so, keep a trace in the error log, and leave the form for a retry.
    if (!written) {
        contactWriteFailed = true;
        prompt().critical(this, "Contact Not Logged",
                          "The contact with " + row.call + " for park " + park +
                              "\ncould not be written to the Parkbook database.\n" + written.error +
                              "\nThe contact is kept in the form; please try again.");
        logError("Contact " + row.call + " for park " + park +
                 " was not written to the log: " + written.error);
        return logId;
    }
    qCDebug(lcLogging) << (type == 1 ? "logged" : "updated") << row.call << "for" << park << "on"
                       << row.date << "as row" << (type == 1 ? written.id : logId);
    return type == 1 ? int(written.id) : logId;
}

int Parkbook::addToMem(QString park, int logId, int type)
{
    ++parkLogChanges;
    ContactRow row = contactRecord;
    row.park = park;
    DbResult copied;
    if (type == 1)
        copied =
            ParkLogMemory::add(Database::memory(), logId, row, park == ui->parkReference->text());
    else if (type == 2)
        copied = ParkLogMemory::update(Database::memory(), logId, row);
    else
        return 0;
    // The copy on screen is only a view of the log: a failure costs the line,
    // never the contact, which the next load of the park log brings back.
    return copied ? int(copied.id) : 0;
}

// ---- clearing ---------------------------------------------------------------

void Parkbook::on_clear_clicked()
{
    currentLogId = 0;
    contactLoggedParks.clear();
    if (addP2PPending) {
        addP2PPending = false;
        ui->p2p->setText("");
        ui->p2p->setFocus();
        return;
    }
    for (QString ContactRow::*member :
         {&ContactRow::call, &ContactRow::name, &ContactRow::last, &ContactRow::born,
          &ContactRow::city, &ContactRow::county, &ContactRow::state, &ContactRow::country,
          &ContactRow::dxcc, &ContactRow::lat, &ContactRow::lon, &ContactRow::grid,
          &ContactRow::license, &ContactRow::expire})
        (contactRecord.*member).clear();
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
    contact->ui->call->setText("");
    clearContactDetails();
}

void Parkbook::clearContactDetails()
{
    contactDetailsCall.clear();
    const Ui::Contact* form = contact->ui;
    for (QLineEdit* edit : {form->dist, form->bear, form->name, form->last, form->born,
                            form->license, form->expire, form->city, form->county, form->state,
                            form->country, form->dxcc, form->lat, form->lon, form->grid})
        edit->setText("");
}
