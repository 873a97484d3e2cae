#include "app/parkbook.h"
#include "app/prompter.h"
#include "app/utcclock.h"
#include "db/activationlist.h"
#include "db/database.h"
#include "db/parkstable.h"
#include "parks/activationrecords.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "support/diagnostics.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QElapsedTimer>
#include <QSqlDatabase>

namespace
{
// The slot whose park the main window shows: the first of the first three
// selection buttons that is on; otherwise slot 5 unless slot 4 is on.
int shownSlot(const Station* station)
{
    for (int slot = 1; slot <= 3; ++slot)
        if (station->parkButton(slot)->isChecked())
            return slot;
    return station->parkButton(4)->isChecked() ? 4 : 5;
}

// A park date as a number; 0 when the text is not a number.
qlonglong dateNumber(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    return ok ? value : 0;
}
} // namespace

void Parkbook::calculateStatistics()
{
    QElapsedTimer timer;
    timer.start();
    ParksTable::recountAll(Database::log());
    qCDebug(lcParks) << "activation records recounted in" << timer.elapsed() << "ms";
}

// The record of one park on `date` as the Station window describes it now.
ParkRecord Parkbook::stationParkRecord(const QString& date, const QString& park,
                                       const QString& name) const
{
    Ui::Station* form = station->ui;
    ParkRecord record;
    record.date = date;
    record.park = park;
    record.name = name;
    record.lat = form->lat->text();
    record.lon = form->lon->text();
    record.county = form->county->text();
    record.state = form->state->currentText();
    record.location = form->location->text();
    return record;
}

void Parkbook::saveParks(bool autoSave)
{
    const QString date = ui->parkDate->text();
    QSqlDatabase db = Database::log();
    for (int n = 1; n <= 5; ++n) {
        const QString reference = station->parkRef(n)->text();
        if (reference.isEmpty())
            continue;
        ParkRecord record = stationParkRecord(date, reference, station->parkNameEdit(n)->text());
        record.multiSt = station->multiStateBox(n)->isChecked() ? "Yes" : "";

        const bool found = ParksTable::exists(db, date, reference);
        if (!found && !autoSave) {
            const auto answer = prompt().question(
                this, "New Park Activation Found!",
                "Do you want to add this new Park Activation to the Parkbook Database?\n"
                "   Park Reference:  " +
                    reference + "\n   Activation Date: " + date,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
            if (answer != QMessageBox::Yes)
                continue;
        }
        const DbResult written =
            found ? ParksTable::updateFromSlot(db, record) : ParksTable::insertFromSlot(db, record);
        if (!written)
            logError("Activation record " + reference + " " + date +
                     " could not be written: " + written.error);
        ParksTable::storeCounts(db, date, reference);
    }
    // Only redrawn: re-activating an entry here would overwrite the selected
    // slot and the park date in the middle of logging a contact.
    refreshActivationList();
}

void Parkbook::addToParks(QString date, QString park, QString name)
{
    QSqlDatabase db = Database::log();
    // An existing record only has its counters brought up to date with the
    // contact just written for it.
    if (ParksTable::exists(db, date, park)) {
        if (ParksTable::storeCounts(db, date, park))
            refreshActivationList();
        return;
    }
    const DbResult added = ParksTable::insertAdded(db, stationParkRecord(date, park, name));
    if (!added)
        logError("Activation record " + park + " " + date + " could not be added: " + added.error);
    ParksTable::storeCounts(db, date, park);
    refreshActivationList();
}

namespace
{
// Ticking a slot records its park for the start date; an empty slot cannot
// be activated, and the selected slot cannot be left out.
void slotChecked(Parkbook* parkbook, int slot, bool checked)
{
    Station* station = parkbook->station;
    QCheckBox* box = station->activeBox(slot);
    if (checked) {
        const QString reference = station->parkRef(slot)->text();
        if (reference.isEmpty())
            box->setChecked(false);
        else
            parkbook->addToParks(parkbook->ui->parkDate->text(), reference,
                                 station->parkNameEdit(slot)->text());
    } else if (station->parkButton(slot)->isChecked()) {
        box->setChecked(true);
    }
}
} // namespace

void Parkbook::act1Checked(bool checked)
{
    slotChecked(this, 1, checked);
}

void Parkbook::act2Checked(bool checked)
{
    slotChecked(this, 2, checked);
}

void Parkbook::act3Checked(bool checked)
{
    slotChecked(this, 3, checked);
}

void Parkbook::act4Checked(bool checked)
{
    slotChecked(this, 4, checked);
}

void Parkbook::act5Checked(bool checked)
{
    slotChecked(this, 5, checked);
}

void Parkbook::setPark()
{
    setParkFromStation();
    on_actionLoad_Park_Log_triggered();
}

void Parkbook::setParkFromStation()
{
    Ui::Station* form = station->ui;
    ui->parkLocation->setText(form->location->text());
    ui->parkCounty->setText(form->county->text());
    ui->parkGrid->setText(form->grid->text());
    const int slot = shownSlot(station);
    ui->parkReference->setText(station->parkRef(slot)->text());
    ui->parkName->setText(station->parkNameEdit(slot)->text());
    ui->mst->setChecked(station->multiStateBox(slot)->isChecked());
    currentPark = ui->parkReference->text();
}

void Parkbook::on_activate_clicked()
{
    const qint64 parkId = ActivationList::parkIdAt(Database::memory(), activationListId);
    const std::optional<ParkRecord> record = ParksTable::byId(Database::log(), parkId);
    if (!record)
        return;
    const bool multiState = record->multiSt == "Yes";

    // setText and setChecked send no textEdited/clicked, so no newParkSig.
    const int slot = shownSlot(station);
    station->parkNameEdit(slot)->setText(record->name);
    station->multiStateBox(slot)->setChecked(multiState);
    station->parkRef(slot)->setText(record->park);

    Ui::Station* form = station->ui;
    form->lat->setText(record->lat);
    form->lon->setText(record->lon);
    form->county->setText(record->county);
    const int stateIndex =
        form->state->findText(record->state, Qt::MatchExactly | Qt::MatchCaseSensitive);
    form->state->setCurrentIndex(stateIndex >= 0 ? stateIndex
                                                 : qMax(0, form->state->findText("?")));
    form->location->setText(record->location);

    ui->parkDate->setText(record->date);
    ui->endDate->setText(record->date);
    ui->parkReference->setText(record->park);
    ui->parkName->setText(record->name);
    ui->mst->setChecked(multiState);

    on_actionLoad_Park_Log_triggered();
    activateWindow();
}

namespace
{
void showActivationWindow(Parkbook* parkbook, const QString& title)
{
    SeeLog* window = parkbook->activationLog;
    if (!window->isHidden())
        return;
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    window->setWindowTitle(title);
    window->ui->header->setFont(parkbook->monoFont);
    window->ui->log->setFont(parkbook->monoFont);
    window->show();
    window->raise();
}
} // namespace

// After a mode switch: the new list from its first entry, which becomes the
// current park. An empty list is drawn empty and leaves no position behind,
// so that neither the other mode's lines nor its current record (which Alt+F10
// would delete) stay on show.
void Parkbook::showFirstActivation()
{
    if (loadActivations() == 0) {
        activationListId = 0;
        activationParkId = 0;
        displayActivations(0, 0);
    }
    topActivation();
    on_activate_clicked();
    activateWindow();
}

void Parkbook::refreshActivationList()
{
    // An import draws the list once, when its file is in.
    if (!activationLog->isVisible() || importRunning)
        return;
    loadActivations();
    // The list numbers its entries afresh; the current entry is the record of
    // the park on show when it has one, else the record that was current.
    const qint64 shown = ParksTable::findActivation(Database::log(), ui->parkDate->text(),
                                                    ui->parkReference->text());
    if (shown != 0)
        activationParkId = shown;
    activationListId = ActivationList::lineOf(Database::memory(), activationParkId);
    if (activationListId == 0)
        activationParkId = 0;
    displayActivations(activationListId, activationParkId);
}

void Parkbook::enterMode(const QString& mode)
{
    const bool hunting = mode != "Activating";
    showActivationWindow(this, hunting ? "Alt+H: Hunting Log,  Hunting Days = 0"
                                       : "Alt+A: Activation Log,  Parks = 0");
    potaMode = hunting ? "Hunting" : "Activating";
    QRadioButton* button = hunting ? ui->modeHunter : ui->modeActivator;
    {
        const QSignalBlocker blocker(button);
        button->setChecked(true);
    }
    button->setPalette(hunting ? redText : greenText);
    ui->parkReference->setPalette(hunting ? redText : blueText);
    if (!hunting)
        return;

    // Hunting days are logged under slot 1, which becomes the selected and
    // only ticked slot, so the park on show is HUNTER even before the first
    // hunting record exists.
    station->parkRef(1)->setText(hunterPark);
    station->parkNameEdit(1)->setText("Hunting for Activations");
    station->parkButton(1)->setChecked(true);
    for (int slot = 1; slot <= 5; ++slot)
        station->activeBox(slot)->setChecked(slot == 1);
    setPark();
}

void Parkbook::on_modeActivator_clicked()
{
    enterMode("Activating");
    showFirstActivation();
}

void Parkbook::on_modeHunter_clicked()
{
    enterMode("Hunting");
    showFirstActivation();
}

void Parkbook::on_actionShow_Activations_triggered()
{
    on_modeActivator_clicked();
}

void Parkbook::on_actionHunting_Log_triggered()
{
    on_modeHunter_clicked();
}

void Parkbook::on_parkDate_editingFinished()
{
    if (confirmParkDate())
        on_actionLoad_Park_Log_triggered();
}

bool Parkbook::confirmParkDate()
{
    const QString text = ui->parkDate->text();
    if (dateNumber(text) <= 20000100) {
        prompt().critical(this, "Error: Park Start Date",
                          "Park Start Date should be greater than 20000101.");
        return false;
    }
    // A date still being typed, or one the calendar does not have, would
    // file contacts under a day that never was.
    if (!isParkDate(text)) {
        prompt().critical(this, "Error: Park Start Date",
                          "Park Start Date " + text + " is not a date (yyyyMMdd).");
        return false;
    }
    return true;
}

void Parkbook::on_endDate_editingFinished()
{
    if (dateNumber(ui->parkDate->text()) > dateNumber(ui->endDate->text()))
        prompt().critical(this, "Error: Park End Date",
                          "Make Park End Date equal to or greater than Park Start Date.");
}

void Parkbook::on_setTodayData_pressed()
{
    utcDate = UtcClock::now().toString("yyyyMMdd");
    ui->parkDate->setText(utcDate);
    ui->endDate->setText(utcDate);
    on_actionLoad_Park_Log_triggered();
}
