#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/logtable.h"
#include "db/parklogmemory.h"
#include "db/parkstable.h"
#include "logging/loglines.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <utility>

void Parkbook::on_actionLoad_Park_Log_triggered()
{
    on_clear_clicked();
    loadParkLog();
}

void Parkbook::loadParkLog()
{
    ++parkLogChanges;
    QSqlDatabase memory = Database::memory();
    (void)ParkLogMemory::clear(memory);
    parkLog->ui->log->clear();
    parkLogCount = 0;

    currentPark = ui->parkReference->text();
    parkLogDate = ui->parkDate->text();
    if (!currentPark.isEmpty()) {
        const QList<LogTable::Contact> contacts =
            LogTable::parkLog(Database::log(), parkLogDate, station->ui->call->text(), currentPark);
        const bool inTransaction = memory.transaction();
        for (const LogTable::Contact& contact : contacts)
            (void)ParkLogMemory::add(memory, contact.id, contact.row, true);
        if (inTransaction)
            memory.commit();
    }
    currentLogId = 0;
    parkLogCount = displayParkLog(parkLogPosition);
}

int Parkbook::displayParkLog(int activeID)
{
    QSqlDatabase memory = Database::memory();
    const qint64 activeLogId = ParkLogMemory::logIdAt(memory, activeID);
    QPlainTextEdit* list = parkLog->ui->log;
    const QString reference = ui->parkReference->text();

    // Every arrow key through the park log comes here: when its contacts are
    // the ones drawn, only the highlight moves.
    const ListDrawing drawing{parkLogChanges, reference + '\n' + ui->parkDate->text()};
    int contacts = int(parkLogLines.size());
    if (drawing == parkLogDrawn) {
        const int activeLine = int(parkLogLines.value(activeLogId));
        parkLog->moveHighlight(parkLogActiveLine, activeLine, themeBlue, themeGreen);
        parkLogActiveLine = activeLine;
    } else {
        list->setCenterOnScroll(true);
        QTextCharFormat normal = parkLog->ui->header->currentCharFormat();
        normal.setForeground(themeText);
        parkLog->ui->header->setCurrentCharFormat(normal);
        parkLog->ui->header->setPlainText(LogLines::parkLogHeader());

        contacts = 0;
        parkLogLines.clear();
        QStringList lines;
        for (const ParkLogMemory::Contact& contact : ParkLogMemory::ofPark(memory, reference)) {
            ++contacts;
            parkLogLines.insert(contact.logId, contacts);
            lines.append(LogLines::parkLogLine(contacts, contact.row));
        }
        parkLogActiveLine = activeLogId != 0 ? int(parkLogLines.value(activeLogId)) : 0;
        parkLog->setLines(lines, themeBlue, parkLogActiveLine, themeGreen);
        parkLogDrawn = drawing;
    }

    parkLog->setWindowTitle("Alt-P: Park Log Date = " + ui->parkDate->text() +
                            ",  Contacts = " + QString::number(contacts));
    parkLog->moveToLine(activeID);
    return contacts;
}

void Parkbook::displayContact(int logId)
{
    if (const std::optional<ContactRow> found = ParkLogMemory::find(Database::memory(), logId)) {
        const ContactRow& row = *found;
        contactRecord.call = row.call;
        currentPark = row.park;

        ui->call->setText(row.call);
        ui->utc->setText(row.time);
        ui->name->setText(row.name);
        {
            const QSignalBlocker blocker(ui->state);
            ui->state->setText(row.state);
        }
        ui->sent->setText(row.sent);
        ui->rcvd->setText(row.rcvd);
        ui->mode->setText(row.mode);
        ui->band->setText(row.band);
        ui->frequency->setText(row.frequency);
        ui->power->setText(row.power);
        ui->p2p->setText(row.p2p);
        ui->comment->setText(row.comment);

        Ui::Contact* form = contact->ui;
        const std::pair<QLineEdit*, QString> details[] = {
            {form->call, row.call},       {form->name, row.name},     {form->last, row.last},
            {form->city, row.city},       {form->county, row.county}, {form->state, row.state},
            {form->country, row.country}, {form->dxcc, row.dxcc},     {form->born, row.born},
            {form->license, row.license}, {form->expire, row.expire}, {form->lat, row.lat},
            {form->lon, row.lon},         {form->grid, row.grid}};
        for (const auto& [field, text] : details)
            field->setText(text);
        contactDetailsCall = row.call;
        contactLoggedParks.clear();
    }
    bearDist(station->ui->lat->text().toDouble(), station->ui->lon->text().toDouble(),
             contact->ui->lat->text().toDouble(), contact->ui->lon->text().toDouble());
    parkLogCount = displayParkLog(parkLogPosition);
}

void Parkbook::moveContact(Step step)
{
    const std::optional<ListEntry> entry =
        ParkLogMemory::step(Database::memory(), step, parkLogPosition);
    if (!entry)
        return;
    parkLogPosition = entry->line;
    currentLogId = int(entry->rowId);
    displayContact(currentLogId);
}

void Parkbook::topContact()
{
    moveContact(Step::First);
}

void Parkbook::previousContact()
{
    moveContact(parkLogPosition == 0 ? Step::First : Step::Previous);
}

void Parkbook::nextContact()
{
    moveContact(parkLogPosition == 0 ? Step::Last : Step::Next);
}

void Parkbook::endContact()
{
    moveContact(Step::Last);
}

void Parkbook::on_actionShow_Park_Log_triggered()
{
    parkLog->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    parkLog->setWindowTitle("Alt+P: Park Log Date = " + ui->parkDate->text() +
                            ",  Contacts = " + QString::number(parkLogCount));
    parkLog->ui->header->setFont(monoFont);
    parkLog->ui->log->setFont(monoFont);
    parkLog->show();
    parkLog->raise();
    activateWindow();
}

void Parkbook::on_deleteContact_clicked()
{
    const std::optional<ContactRow> shown = LogTable::find(Database::log(), currentLogId);
    if (!shown)
        return;
    const QString text = "Do you want to delete this Contact\nfrom the Parkbook Database?\n"
                         "   Contact: " +
                         shown->call + "\n   Park:    " + shown->park +
                         "\n   Date:    " + shown->date;
    const auto answer = prompt().question(this, "Delete Contact from Log", text,
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        const DbResult removed = LogTable::remove(Database::log(), currentLogId);
        if (!removed) {
            prompt().critical(this, "Contact Not Deleted",
                              "The contact could not be deleted from the Parkbook database.");
            logError("Contact log id " + QString::number(currentLogId) +
                     " was not deleted: " + removed.error);
        } else if (ParksTable::storeCounts(Database::log(), shown->date, shown->park)) {
            refreshActivationList();
        }
    }
    on_actionLoad_Park_Log_triggered();
    if (contactLog->isVisible())
        on_actionContact_Log_triggered();
}
