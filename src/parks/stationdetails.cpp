#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/station.h"
#include "ui_parkbook.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

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
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.exec("SELECT * FROM station");
    if (query.first()) {
        const QSqlRecord record = query.record();
        auto value = [&](const char* column) {
            return query.value(record.indexOf(column)).toString();
        };
        form->station->setText(value("station"));
        form->call->setText(value("call"));
        form->pwd->setText(value("passwd"));
        form->lat->setText(value("lat"));
        form->lon->setText(value("lon"));
        form->frequency->setText(value("frequency"));
        form->power->setText(value("power"));
        form->county->setText(value("county"));
        for (int n = 1; n <= 5; ++n) {
            station->parkRef(n)->setText(value(QString("park%1").arg(n).toLatin1()));
            station->parkNameEdit(n)->setText(value(QString("name%1").arg(n).toLatin1()));
            station->multiStateBox(n)->setChecked(value(QString("mst%1").arg(n).toLatin1()) ==
                                                  "Yes");
        }
        contactMode = value("mode");
        contactBand = value("band");
        contactState = value("state");
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

    QSqlDatabase db = QSqlDatabase::database("parkbook");
    QSqlQuery existing(db);
    existing.exec("SELECT * FROM station");
    const bool haveRow = existing.first();
    existing.finish();

    QSqlQuery query(db);
    if (haveRow)
        query.prepare("UPDATE station SET station=?, call=?, passwd=?, lat=?, lon=?, mode=?, "
                      "band=?, frequency=?, power=?, county=?, state=?, location=?, park1=?, "
                      "name1=?, mst1=?, park2=?, name2=?, mst2=?, park3=?, name3=?, mst3=?, "
                      "park4=?, name4=?, mst4=?, park5=?, name5=?, mst5=? ");
    else
        query.prepare("INSERT INTO station (station, call, passwd, lat, lon, mode, band, "
                      "frequency, power, county, state, location, park1, name1, mst1, park2, "
                      "name2, mst2, park3, name3, mst3, park4, name4, mst4, park5, name5, mst5 ) "
                      "VALUES (?, ?, ?, ?, ?,   ?, ?, ?, ?, ?,  ?, ?, ?, ?, ?,   ?, ?, ?, ?, ?,  "
                      "?, ?, ?, ?, ?,   ?, ?)");
    query.addBindValue(form->station->text());
    query.addBindValue(form->call->text());
    query.addBindValue(form->pwd->text());
    query.addBindValue(form->lat->text());
    query.addBindValue(form->lon->text());
    query.addBindValue(form->mode->currentText());
    query.addBindValue(form->band->currentText());
    query.addBindValue(form->frequency->text());
    query.addBindValue(form->power->text());
    query.addBindValue(form->county->text());
    query.addBindValue(form->state->currentText());
    query.addBindValue(form->location->text());
    for (int n = 1; n <= 5; ++n) {
        query.addBindValue(station->parkRef(n)->text());
        query.addBindValue(station->parkNameEdit(n)->text());
        query.addBindValue(station->multiStateBox(n)->isChecked() ? "Yes" : "");
    }
    if (!query.exec()) {
        // The window keeps what was typed; say so rather than pretend it is saved.
        const QString error = query.lastError().text();
        logError("Station details could not be saved: " + error);
        prompt().critical(this, "Station Details Not Saved",
                          "The station details could not be written to the database.\n" + error);
    }

    saveParks(false);
    activateWindow();
}
