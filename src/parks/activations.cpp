#include "app/parkbook.h"
#include "app/utcclock.h"
#include "ui_parkbook.h"

// Not built yet: each member below is an empty placeholder until its work lands.

void Parkbook::calculateStatistics() {}

void Parkbook::saveParks(bool) {}

void Parkbook::setPark() {}

void Parkbook::act1Checked(bool) {}

void Parkbook::act2Checked(bool) {}

void Parkbook::act3Checked(bool) {}

void Parkbook::act4Checked(bool) {}

void Parkbook::act5Checked(bool) {}

void Parkbook::on_activate_clicked() {}

void Parkbook::on_actionShow_Activations_triggered() {}

void Parkbook::on_actionHunting_Log_triggered() {}

void Parkbook::on_setTodayData_pressed()
{
    utcDate = UtcClock::now().toString("yyyyMMdd");
    ui->parkDate->setText(utcDate);
    ui->endDate->setText(utcDate);
    on_actionLoad_Park_Log_triggered();
}
