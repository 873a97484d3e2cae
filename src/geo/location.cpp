#include "app/parkbook.h"
#include "db/database.h"
#include "geo/geomath.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QSqlDatabase>

void Parkbook::calculateGrid()
{
    const QString latText = station->ui->lat->text();
    const QString lonText = station->ui->lon->text();
    // Text that is not a number reads as 0; the locator maths copes with
    // anything else (NaN, out-of-globe values) on its own.
    const QString grid = Geo::maidenhead(latText.toDouble(), lonText.toDouble());
    if (!latText.isEmpty() && !lonText.isEmpty()) {
        ui->parkGrid->setText(grid);
        station->ui->grid->setText(grid);
    }
    // WSJT-X is told the (possibly unchanged) grid each time the position is touched.
    sendLocation();
}

void Parkbook::bearDist(double lat1, double lon1, double lat2, double lon2)
{
    const auto path = Geo::path(lat1, lon1, lat2, lon2);
    contact->ui->dist->setText(Geo::distanceText(path));
    contact->ui->bear->setText(Geo::bearingText(path));
}

void Parkbook::on_state_textEdited(QString arg1)
{
    const double stationLat = station->ui->lat->text().toDouble();
    const double stationLon = station->ui->lon->text().toDouble();

    const int cursor = ui->state->cursorPosition();
    ui->state->setText(arg1.toUpper());
    ui->state->setCursorPosition(cursor);
    ui->state->setModified(true);

    double contactLat = 0.0;
    double contactLon = 0.0;
    const auto centre = Geo::stateCentre(Database::memory(), ui->state->text());
    if (centre) {
        contact->ui->city->setText("StateCenter");
        contact->ui->state->setText(ui->state->text());
        contact->ui->county->setText("");
        contact->ui->grid->setText("");
        contact->ui->lat->setText(centre->lat);
        contact->ui->lon->setText(centre->lon);
        contactLat = contact->ui->lat->text().toDouble();
        contactLon = contact->ui->lon->text().toDouble();
        // The centre stands in for the position of the station being logged.
        contactDetailsCall = ui->call->text().toUpper();
    }
    bearDist(stationLat, stationLon, contactLat, contactLon);
}

void Parkbook::setLocation()
{
    ui->parkCounty->setText(station->ui->county->text());
    ui->parkLocation->setText(station->ui->location->text());
}
