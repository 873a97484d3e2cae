#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/parklist.h"
#include "parks/activationrecords.h"
#include "parks/station.h"
#include "ui_parkbook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStatusBar>

namespace
{
QSqlDatabase logDatabase()
{
    return Database::log();
}

QString described(const ParkList::Park& park)
{
    return park.reference + " " + park.name + " (" + park.locationDesc + ")";
}

// A K-nnnn reference POTA has renamed: the operator decides whether to take
// the new one. Takes it into `found` (now Active or Retired) when agreed.
bool takeRenamed(Prompter& prompter, QWidget* parent, const QString& reference,
                 ParkList::Lookup& found)
{
    const auto answer = prompter.question(parent, "Park Renamed",
                                          reference + " is now " + found.newReference + "\n\nUse " +
                                              described(found.park) + " instead?",
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    found.status = found.park.isActive() ? ParkList::Lookup::Active : ParkList::Lookup::Retired;
    return true;
}
} // namespace

void Parkbook::checkStationPark(int slot)
{
    QLineEdit* ref = station->parkRef(slot);
    if (!ref)
        return;
    if (!ParkList::isLoaded(logDatabase()))
        return;
    // Enter and leaving the field both end the editing, and so does a question
    // box taking the focus: check each text once.
    const QString text = ref->text().trimmed().toUpper();
    if (text == checkedStationParks.value(slot))
        return;
    checkedStationParks[slot] = text;
    if (text.isEmpty() || text == hunterPark) { // hunting days have no park
        ref->setPalette(greenText);
        return;
    }

    ParkList::Lookup found = ParkList::lookup(logDatabase(), text);
    const bool renamed = found.status == ParkList::Lookup::Renamed;
    if (renamed) {
        statusBar()->showMessage(text + " is now " + found.newReference);
        if (!takeRenamed(prompt(), station, text, found)) {
            ref->setPalette(redText);
            return;
        }
        ref->setText(found.newReference);
        checkedStationParks[slot] = found.newReference;
        if (station->parkButton(slot)->isChecked())
            setPark();
    }
    switch (found.status) {
    case ParkList::Lookup::Unknown:
        ref->setPalette(redText);
        statusBar()->showMessage("Unknown park reference: " + text);
        return;
    case ParkList::Lookup::Retired:
        ref->setPalette(redText);
        statusBar()->showMessage(found.park.reference + " is no longer an active POTA park");
        break;
    default:
        ref->setPalette(greenText);
        if (!renamed)
            statusBar()->showMessage(described(found.park));
        break;
    }
    fillStationPark(slot, found.park);
}

void Parkbook::fillStationPark(int slot, const ParkList::Park& park)
{
    Ui::Station* form = station->ui;
    bool parkChanged = false;
    QLineEdit* name = station->parkNameEdit(slot);
    if (name->text().trimmed().isEmpty() && !park.name.isEmpty()) {
        name->setText(park.name);
        parkChanged = true;
    }
    const QStringList places = park.locations();
    if (places.size() > 1 && !station->multiStateBox(slot)->isChecked()) {
        station->multiStateBox(slot)->setChecked(true);
        parkChanged = true;
    }
    if (parkChanged && station->parkButton(slot)->isChecked())
        setPark();

    if (!places.isEmpty()) {
        const QString first = places.first();
        if (form->state->currentText() == "?" && first.startsWith("US-")) {
            const int index = form->state->findText(first.mid(3));
            // The location is filled below, or kept when the operator set one.
            const QSignalBlocker blocker(form->state);
            if (index > 0)
                form->state->setCurrentIndex(index);
        }
        if (form->location->text().trimmed().isEmpty())
            form->location->setText(first);
    }

    if ((form->lat->text().trimmed().isEmpty() || form->lon->text().trimmed().isEmpty()) &&
        !park.latitude.isEmpty() && !park.longitude.isEmpty()) {
        const auto answer = prompt().question(
            station, "Use Park Position",
            "The station has no position yet.\nUse the position of " + described(park) +
                ",\nlatitude " + park.latitude + ", longitude " + park.longitude + "?",
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes) {
            form->lat->setText(park.latitude);
            form->lon->setText(park.longitude);
        }
    }
}

void Parkbook::on_p2p_editingFinished()
{
    // Enter moves on to the next field, so the editing ends twice: once is enough.
    if (!ui->p2p->isModified())
        return;
    ui->p2p->setModified(false);
    QStringList references;
    for (const QString& item : ui->p2p->text().split(',')) {
        if (!item.trimmed().isEmpty())
            references << item.trimmed().toUpper();
    }
    const QSqlDatabase db = logDatabase();
    if (references.isEmpty() || !ParkList::isLoaded(db))
        return;

    QString band = ui->band->text().trimmed();
    if (band.isEmpty() && station->ui->band->currentText() != "?")
        band = station->ui->band->currentText();
    QStringList hints;
    bool renamed = false;
    for (QString& reference : references) {
        ParkList::Lookup found = ParkList::lookup(db, reference);
        if (found.status == ParkList::Lookup::Renamed) {
            if (!takeRenamed(prompt(), this, reference, found)) {
                hints << reference + " is now " + found.newReference;
                continue;
            }
            reference = found.newReference;
            renamed = true;
        }
        if (found.status == ParkList::Lookup::Unknown) {
            hints << "Unknown park reference: " + reference;
        } else if (found.status == ParkList::Lookup::Retired) {
            hints << reference + " is no longer an active POTA park";
        } else {
            const ParkList::History worked = ParkList::history(db, reference, band, currentLogId);
            QString hint = described(found.park);
            if (!worked.workedPark)
                hint += " - New park";
            else if (!band.isEmpty() && !worked.workedOnBand)
                hint += " - New band";
            hints << hint;
        }
    }
    if (renamed)
        ui->p2p->setText(references.join(','));
    statusBar()->showMessage(hints.join("; "));
}
