#include "app/parkbook.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "support/seefile.h"
#include "ui_activity.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"

#include <QLineEdit>
#include <QProgressBar>

namespace
{
// A window and every widget in it take the base palette. Each widget gets it
// explicitly so that accent palettes given earlier are replaced.
void paintWindow(QWidget* window, const QPalette& palette)
{
    if (!window)
        return;
    window->setPalette(palette);
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children)
        child->setPalette(palette);
}

// Gives each of the widgets an accent palette.
void accent(std::initializer_list<QWidget*> widgets, const QPalette& palette)
{
    for (QWidget* widget : widgets)
        widget->setPalette(palette);
}

void setRole(QPalette& palette, QPalette::ColorRole role, const QColor& colour)
{
    palette = QPalette();
    palette.setColor(QPalette::All, role, colour);
}
} // namespace

QPalette Parkbook::darkThemePalette()
{
    QPalette darkPalette;
    darkPalette.setColor(QPalette::Window, QColor(53, 53, 53));
    darkPalette.setColor(QPalette::WindowText, Qt::white);
    darkPalette.setColor(QPalette::Base, QColor(0, 0, 0));
    darkPalette.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    darkPalette.setColor(QPalette::ToolTipBase, QColor(42, 130, 218));
    darkPalette.setColor(QPalette::ToolTipText, Qt::white);
    darkPalette.setColor(QPalette::Text, Qt::white);
    darkPalette.setColor(QPalette::Button, QColor(53, 53, 53));
    darkPalette.setColor(QPalette::ButtonText, Qt::white);
    darkPalette.setColor(QPalette::BrightText, Qt::red);
    darkPalette.setColor(QPalette::Link, QColor(42, 130, 218));
    darkPalette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    darkPalette.setColor(QPalette::HighlightedText, Qt::black);
    return darkPalette;
}

void Parkbook::switchPalette(QPalette palette)
{
    paintWindow(this, palette);
    const QList<QWidget*> windows = {station,    contact,       activity, parkLog,
                                     contactLog, activationLog, wsjtx,    seeFile};
    for (QWidget* window : windows)
        paintWindow(window, palette);

    setRole(redText, QPalette::Text, QColor(255, 0, 0));
    setRole(grayButton, QPalette::Button, QColor(128, 128, 128));
    const bool dark = palette == darkPalette;
    if (dark || palette == lightPalette) {
        setRole(greenText, QPalette::Text, dark ? QColor(0, 192, 0) : QColor(0, 128, 0));
        setRole(blueText, QPalette::Text, dark ? QColor(128, 192, 255) : QColor(0, 0, 255));
        setRole(comboText, QPalette::Text, dark ? QColor(0, 192, 0) : QColor(0, 128, 0));
        setRole(plainText, QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
        setRole(redButton, QPalette::Button, dark ? QColor(80, 0, 0) : QColor(255, 128, 128));
        setRole(greenButton, QPalette::Button, dark ? QColor(0, 64, 0) : QColor(0, 255, 0));
        setRole(blueButton, QPalette::Button, dark ? QColor(0, 0, 128) : QColor(128, 192, 255));
        themeBackground = dark ? QColor(Qt::black) : QColor(Qt::white);
        themeText = dark ? QColor(Qt::white) : QColor(Qt::black);
        themeGreen = dark ? QColor(0, 192, 0) : QColor(0, 128, 0);
        themeBlue = dark ? QColor(128, 192, 255) : QColor(0, 0, 255);
        themeShade = dark ? QColor(60, 60, 60) : QColor(192, 192, 192);
    }

    Ui::Parkbook* m = ui;
    accent({m->parkDate, m->endDate, m->startTime, m->stopTime}, greenText);
    accent({m->today, m->time}, blueText);
    accent({m->parkReference}, potaMode == "Activating" ? blueText : redText);
    accent({m->parkName, m->parkLocation, m->parkGrid, m->parkCounty, m->mst}, blueText);
    accent({m->call, m->utc, m->name, m->mode, m->band, m->frequency, m->power, m->state, m->sent,
            m->rcvd, m->comment, m->p2p},
           greenText);
    accent({m->clear, m->lookUpContact}, greenButton);
    accent({m->goP2P, m->addP2P, m->logContact, m->activate, m->setTodayData}, blueButton);
    accent({m->F3, m->F4, m->F9}, grayButton);
    accent({m->deleteContact}, redButton);
    accent({m->modeActivator}, greenText);
    accent({m->modeHunter}, redText);
    if (progressBar)
        progressBar->setPalette(plainText);

    Ui::Station* st = station->ui;
    accent({st->station, st->call, st->pwd, st->lat, st->lon, st->location, st->power,
            st->frequency, st->county},
           greenText);
    for (int slot = 1; slot <= 5; ++slot)
        accent({station->activeBox(slot), station->multiStateBox(slot), station->parkButton(slot),
                station->parkRef(slot), station->parkNameEdit(slot)},
               greenText);
    accent({st->grid, st->expire}, blueText);
    accent({st->mode, st->band, st->state}, comboText);
    ui->connectStatus->setPalette(qrzConnected ? blueText : redText);
    ui->connectStatus->setText(qrzConnected ? "Connected" : "Offline");
    accent({st->connectQRZ}, qrzConnected ? blueButton : redButton);
    accent({st->saveStation}, blueButton);

    Ui::Contact* c = contact->ui;
    accent({c->call}, greenText);
    accent({c->license, c->name, c->last, c->city, c->state, c->lat, c->lon, c->grid, c->dist,
            c->bear, c->county, c->country, c->dxcc, c->born, c->expire},
           blueText);
    accent({c->getContact}, blueButton);

    Ui::Activity* a = activity->ui;
    accent({a->attempts,     a->successful,   a->lateShift,    a->unique,      a->totalQso,
            a->states,       a->DXs,          a->repeatPark1,  a->repeatPark2, a->repeatPark3,
            a->repeatValue1, a->repeatValue2, a->repeatValue3, a->kiloPark1,   a->kiloPark2,
            a->kiloPark3,    a->kiloValue1,   a->kiloValue2,   a->kiloValue3,  a->parkToPark},
           blueText);

    Ui::Wsjtx* w = wsjtx->ui;
    accent({w->search1, w->search2, w->autoReply}, greenText);
    accent({w->clearBuffer}, redButton);
    accent({w->udpInit}, blueButton);
    accent({w->results}, blueText);

    // The QSO status and the lists draw in the theme colours: draw them again.
    parkLogDrawn = {};
    activationsDrawn = {};
    setQsoStatus(qsoStatus);
    parkLogCount = displayParkLog(parkLogPosition);
    displayActivations(activationListId, activationParkId);
    if (contactLog && contactLog->isVisible())
        on_actionContact_Log_triggered();
}

void Parkbook::on_actionLight_Theme_triggered()
{
    theme = "light";
    switchPalette(lightPalette);
}

void Parkbook::on_actionDark_Theme_triggered()
{
    theme = "dark";
    switchPalette(darkPalette);
}
