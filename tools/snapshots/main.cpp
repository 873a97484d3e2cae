// Renders every Parkbook window, filled with demonstration data, in the light
// and the dark theme to PNG files. Runs without a display:
//   QT_QPA_PLATFORM=offscreen snapshots [output folder]
// The program works in a temporary home, so no real logbook is touched.
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "wsjtx/wsjtx.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStyleFactory>
#include <QTextStream>

namespace
{
struct DemoContact {
    const char* date;
    const char* time;
    const char* park;
    const char* call;
    const char* name;
    const char* state;
    const char* p2p;
    const char* dxcc;
};

const DemoContact contacts[] = {
    {"20240615", "113205", "K-0050", "W1AW", "Hiram", "CT", "", "291"},
    {"20240615", "114010", "K-0050", "KD2XYZ", "Dana", "NY", "K-1234", "291"},
    {"20240615", "115532", "K-0050", "VE3ABC", "Pat", "ON", "", "1"},
    {"20240615", "120347", "K-0050", "N0CALL", "Lee", "MN", "", "291"},
    {"20240615", "121915", "K-0050", "G4XYZ", "Sam", "", "", "223"},
    {"20240614", "150100", "HUNTER", "K4SWL", "Thomas", "NC", "K-3456", "291"},
    {"20240614", "151500", "HUNTER", "VA3QV", "Ann", "ON", "VE-0123", "1"},
};

struct DemoPark {
    const char* date;
    const char* park;
    const char* name;
    const char* state;
    const char* qsos;
    const char* late;
    const char* p2ps;
};

const DemoPark parks[] = {
    {"20240615", "K-0050", "Shenandoah National Park", "VA", "48", "22", "3"},
    {"20240601", "K-0050", "Shenandoah National Park", "VA", "31", "12", "1"},
    {"20240520", "K-1234", "Mount Rogers National Recreation Area", "VA", "12", "4", "0"},
    {"20240504", "K-4567", "Pocahontas State Park", "VA", "8", "8", "2"},
    {"20240614", "HUNTER", "Hunting for Activations", "VA", "2", "0", "2"},
};

void fillDatabase()
{
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    QSqlQuery insert(db);
    insert.prepare("INSERT INTO log (date, time, park, call, name, state, p2p, dxcc, sent, rcvd, "
                   "mode, band, frequency, power, station, operator) VALUES (?, ?, ?, ?, ?, ?, "
                   "?, ?, '59', '57', 'SSB', '20m', '14.285', '100', 'Q1ABC', 'Q1ABC')");
    for (const DemoContact& c : contacts) {
        for (const char* value : {c.date, c.time, c.park, c.call, c.name, c.state, c.p2p, c.dxcc})
            insert.addBindValue(QString(value));
        insert.exec();
    }
    QSqlQuery park(db);
    park.prepare("INSERT INTO parks (date, park, name, state, QSOs, LateQSOs, P2Ps, lat, lon, "
                 "county, location) VALUES (?, ?, ?, ?, ?, ?, ?, '38.5296', '-78.4354', 'Page', "
                 "'US-VA')");
    for (const DemoPark& p : parks) {
        for (const char* value : {p.date, p.park, p.name, p.state, p.qsos, p.late, p.p2ps})
            park.addBindValue(QString(value));
        park.exec();
    }
}

// The station as an activator would set it up; the park log of the day and
// its latest contact then come from the database the way the program loads
// them.
void fillStation(Parkbook& pb)
{
    Ui::Station* form = pb.station->ui;
    form->station->setText("Q1ABC");
    form->call->setText("Q1ABC");
    form->lat->setText("38.5296");
    form->lon->setText("-78.4354");
    form->state->setCurrentText("VA");
    form->county->setText("Page");
    form->mode->setCurrentText("SSB");
    form->band->setCurrentText("20m");
    form->frequency->setText("14.285");
    form->power->setText("100");
    form->pRef1->setText("K-0050");
    form->name1->setText("Shenandoah National Park");
    form->pRef2->setText("K-1234");
    form->name2->setText("Mount Rogers National Recreation Area");
    pb.setParkFromStation();
}

void showLatestContact(Parkbook& pb)
{
    pb.on_actionLoad_Park_Log_triggered();
    pb.endContact();
}

void grab(QWidget* window, const QString& folder, const QString& name, const QString& theme)
{
    window->show();
    QApplication::processEvents();
    const QString path = QString("%1/%2-%3.png").arg(folder, name, theme);
    if (!window->grab().save(path))
        QTextStream(stderr) << "could not write " << path << "\n";
    else
        QTextStream(stdout) << path << "\n";
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    const QString folder = QDir(argc > 1 ? QString(argv[1]) : QString("snapshots")).absolutePath();
    QDir().mkpath(folder);

    UtcClock::setFixed(QDateTime(QDate(2024, 6, 15), QTime(14, 2, 30), Qt::UTC));
    TempHome home;
    home.writeHiddenWindowSettings();
    auto pb = home.makeParkbook();
    fillDatabase();
    fillStation(*pb);
    pb->sysclkTimeout();

    const QList<QPair<QWidget*, QString>> windows = {
        {pb.get(), "main"},
        {pb->station, "station"},
        {pb->contact, "contact"},
        {pb->activity, "activity"},
        {pb->wsjtx, "wsjtx"},
        {pb->seeFile, "seefile"},
        {pb->parkLog, "parklog"},
        {pb->contactLog, "contactlog"},
        {pb->activationLog, "activationlog"},
    };
    for (const QString& theme : {QString("light"), QString("dark")}) {
        if (theme == "dark")
            pb->on_actionDark_Theme_triggered();
        else
            pb->on_actionLight_Theme_triggered();
        // The windows are opened the way the menus open them, so they show
        // whatever the program puts in them.
        pb->on_actionStation_Details_triggered();
        pb->on_actionContact_Details_triggered();
        pb->on_actionActivation_Statistics_triggered();
        pb->on_actionWSJT_X_Panel_triggered();
        pb->on_actionGetting_Started_triggered();
        pb->on_actionShow_Park_Log_triggered();
        pb->on_actionContact_Log_triggered();
        pb->on_actionShow_Activations_triggered();
        showLatestContact(*pb);
        pb->sysclkTimeout();
        for (const auto& [window, name] : windows)
            grab(window, folder, name, theme);
    }
    pb->hide();
    return 0;
}
