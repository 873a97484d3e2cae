#include "app/parkbook.h"
#include "db/database.h"
#include "stats/activity.h"
#include "stats/statisticscore.h"
#include "ui_activity.h"

#include <QLineEdit>
#include <QSqlDatabase>

void Parkbook::on_actionActivation_Statistics_triggered()
{
    showStatisticsWindow();
    displayStatistics();
    activateWindow();
}

void Parkbook::showStatisticsWindow()
{
    if (activity->isHidden()) {
        activity->setWindowFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        activity->setWindowTitle("All-Time Activation Statistics");
        activity->show();
        activity->raise();
    }
}

void Parkbook::displayStatistics()
{
    const Statistics::Figures figures = Statistics::compute(Database::log(), Database::memory());
    Ui::Activity* form = activity->ui;
    // The fields hold five characters (three for the countries); QLineEdit
    // cuts anything longer at that length.
    form->attempts->setText(Statistics::rightAligned(figures.attempts, 5));
    form->successful->setText(Statistics::rightAligned(figures.successful, 5));
    form->lateShift->setText(Statistics::rightAligned(figures.lateShift, 5));
    form->totalQso->setText(Statistics::rightAligned(figures.totalQso, 5));
    form->parkToPark->setText(Statistics::rightAligned(figures.parkToPark, 5));

    // Places without a park keep what they showed before.
    QLineEdit* const repeatParks[] = {form->repeatPark1, form->repeatPark2, form->repeatPark3};
    QLineEdit* const repeatValues[] = {form->repeatValue1, form->repeatValue2, form->repeatValue3};
    for (int i = 0; i < figures.repeat.size() && i < 3; ++i) {
        repeatParks[i]->setText(figures.repeat.at(i).park);
        repeatValues[i]->setText(figures.repeat.at(i).value);
    }
    QLineEdit* const kiloParks[] = {form->kiloPark1, form->kiloPark2, form->kiloPark3};
    QLineEdit* const kiloValues[] = {form->kiloValue1, form->kiloValue2, form->kiloValue3};
    for (int i = 0; i < figures.kilo.size() && i < 3; ++i) {
        kiloParks[i]->setText(figures.kilo.at(i).park);
        kiloValues[i]->setText(figures.kilo.at(i).value);
    }

    form->unique->setText(Statistics::rightAligned(figures.unique, 5));
    form->states->setText(Statistics::rightAligned(figures.states, 5));
    form->DXs->setText(Statistics::rightAligned(figures.dxs, 3));
}
