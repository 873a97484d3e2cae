#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/database.h"
#include "db/stationtable.h"
#include "parks/station.h"
#include "ui_parkbook.h"

namespace
{
// Selects the entry whose text matches exactly (case-sensitive) and falls
// back to entry 0 ("?") when there is none.
void selectEntry(QComboBox* box, const QString& text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index < 0 ? 0 : index);
}
} // namespace

void Parkbook::on_actionStation_Details_triggered()
{
    if (station->isHidden()) {
        station->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        station->setWindowTitle("Alt+S: Station Details");
        station->show();
        station->raise();
    }
    station->activateWindow();
    station->ui->station->setFocus();
}

void Parkbook::setStationDetails()
{
    Ui::Station* form = station->ui;
    if (const std::optional<StationRow> row = StationTable::load(Database::log())) {
        form->station->setText(row->station);
        form->call->setText(row->call);
        form->pwd->setText(row->passwd);
        form->lat->setText(row->lat);
        form->lon->setText(row->lon);
        form->frequency->setText(row->frequency);
        form->power->setText(row->power);
        form->county->setText(row->county);
        for (int n = 1; n <= 5; ++n) {
            const StationRow::Slot& slot = row->parkSlots[n - 1];
            station->parkRef(n)->setText(slot.park);
            station->parkNameEdit(n)->setText(slot.name);
            station->multiStateBox(n)->setChecked(slot.multiState == "Yes");
        }
        contactMode = row->mode;
        contactBand = row->band;
        contactState = row->state;
        selectEntry(form->mode, contactMode);
        selectEntry(form->band, contactBand);
        selectEntry(form->state, contactState);
    } else {
        for (QLineEdit* edit : {form->call, form->pwd, form->lat, form->lon, form->power,
                                form->frequency, form->county})
            edit->clear();
        for (int n = 1; n <= 5; ++n) {
            station->parkRef(n)->clear();
            station->parkNameEdit(n)->clear();
            station->multiStateBox(n)->setChecked(false);
        }
        form->mode->setCurrentIndex(0);
        form->band->setCurrentIndex(0);
        form->state->setCurrentIndex(0);
    }

    // The park log and logging follow the selected slot, so the current park
    // comes from that slot rather than always from the first one.
    const int slot = station->selectedSlot() == 0 ? 1 : station->selectedSlot();
    currentPark = station->parkRef(slot)->text();
    ui->parkReference->setText(currentPark);
    ui->parkName->setText(station->parkNameEdit(slot)->text());
    if (form->state->currentText() != "?")
        ui->parkLocation->setText(form->location->text());
    ui->parkCounty->setText(form->county->text());
}

void Parkbook::saveStation()
{
    Ui::Station* form = station->ui;
    stationCall = form->station->text();
    operatorCall = form->call->text();

    StationRow row{form->station->text(),
                   form->call->text(),
                   form->pwd->text(),
                   form->lat->text(),
                   form->lon->text(),
                   form->mode->currentText(),
                   form->band->currentText(),
                   form->frequency->text(),
                   form->power->text(),
                   form->county->text(),
                   form->state->currentText(),
                   form->location->text(),
                   {}};
    for (int n = 1; n <= 5; ++n)
        row.parkSlots[n - 1] = {station->parkRef(n)->text(), station->parkNameEdit(n)->text(),
                                station->multiStateBox(n)->isChecked() ? "Yes" : ""};
    const DbResult saved = StationTable::save(Database::log(), row);
    if (!saved) {
        // The window keeps what was typed; say so rather than pretend it is saved.
        logError("Station details could not be saved: " + saved.error);
        prompt().critical(this, "Station Details Not Saved",
                          "The station details could not be written to the database.\n" +
                              saved.error);
    }

    saveParks(false);
    activateWindow();
}
