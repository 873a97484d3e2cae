#include "app/parkbook.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "support/seefile.h"
#include "ui_parkbook.h"
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

// Gives the named widgets of `window` an accent palette. Widgets are looked up
// by name so that a window still being built simply has fewer of them.
void accent(QWidget* window, std::initializer_list<const char*> names, const QPalette& palette)
{
    if (!window)
        return;
    for (const char* name : names) {
        if (QWidget* widget = window->findChild<QWidget*>(name))
            widget->setPalette(palette);
    }
}

void setRole(QPalette& palette, QPalette::ColorRole role, const QColor& colour)
{
    palette = QPalette();
    palette.setColor(QPalette::All, role, colour);
}
} // namespace

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

    accent(this, {"parkDate", "endDate", "startTime", "stopTime"}, greenText);
    accent(this, {"today", "time"}, blueText);
    accent(this, {"parkReference"}, potaMode == "Activating" ? blueText : redText);
    accent(this, {"parkName", "parkLocation", "parkGrid", "parkCounty", "mst"}, blueText);
    accent(this,
           {"call", "utc", "name", "mode", "band", "frequency", "power", "state", "sent", "rcvd",
            "comment", "p2p"},
           greenText);
    accent(this, {"clear", "lookUpContact"}, greenButton);
    accent(this, {"goP2P", "addP2P", "logContact", "activate", "setTodayData"}, blueButton);
    accent(this, {"F3", "F4", "F9"}, grayButton);
    accent(this, {"deleteContact"}, redButton);
    accent(this, {"modeActivator"}, greenText);
    accent(this, {"modeHunter"}, redText);
    if (progressBar)
        progressBar->setPalette(plainText);

    accent(station, {"station",   "call",   "pwd",   "lat",   "lon",   "location", "power",
                     "frequency", "county", "act1",  "act2",  "act3",  "act4",     "act5",
                     "mst1",      "mst2",   "mst3",  "mst4",  "mst5",  "pk1",      "pk2",
                     "pk3",       "pk4",    "pk5",   "pRef1", "pRef2", "pRef3",    "pRef4",
                     "pRef5",     "name1",  "name2", "name3", "name4", "name5"},
           greenText);
    accent(station, {"grid", "expire"}, blueText);
    accent(station, {"mode", "band", "state"}, comboText);
    ui->connectStatus->setPalette(qrzConnected ? blueText : redText);
    ui->connectStatus->setText(qrzConnected ? "Connected" : "Offline");
    accent(station, {"connectQRZ"}, qrzConnected ? blueButton : redButton);
    accent(station, {"saveStation"}, blueButton);

    accent(contact, {"call"}, greenText);
    accent(contact,
           {"license", "name", "last", "city", "state", "lat", "lon", "grid", "dist", "bear",
            "county", "country", "dxcc", "born", "expire"},
           blueText);
    accent(contact, {"getContact"}, blueButton);

    accent(activity, {"attempts",     "successful",   "lateShift",    "unique",      "totalQso",
                      "states",       "DXs",          "repeatPark1",  "repeatPark2", "repeatPark3",
                      "repeatValue1", "repeatValue2", "repeatValue3", "kiloPark1",   "kiloPark2",
                      "kiloPark3",    "kiloValue1",   "kiloValue2",   "kiloValue3",  "parkToPark"},
           blueText);

    accent(wsjtx, {"search1", "search2", "autoReply"}, greenText);
    accent(wsjtx, {"clearBuffer"}, redButton);
    accent(wsjtx, {"udpInit"}, blueButton);
    accent(wsjtx, {"results"}, blueText);

    // The QSO status and the lists draw in the theme colours: draw them again.
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
