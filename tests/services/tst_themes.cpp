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

#include <QRegularExpression>
#include <QSettings>
#include <QTest>

namespace
{
QList<QWidget*> windows(Parkbook* pb)
{
    return {pb,          pb->station,    pb->contact,       pb->activity,
            pb->parkLog, pb->contactLog, pb->activationLog, pb->wsjtx,
            pb->seeFile};
}

// Every widget's colours, a line each, by window and object name.
QStringList snapshot(Parkbook* pb)
{
    QStringList lines;
    for (QWidget* window : windows(pb)) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* widget : widgets) {
            lines << window->objectName() + '/' + widget->objectName();
            for (auto role :
                 {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                  QPalette::Button, QPalette::ButtonText, QPalette::Highlight})
                lines.last() += ' ' + widget->palette().color(QPalette::Active, role).name();
        }
    }
    return lines;
}

std::unique_ptr<Parkbook> start(TempHome& home, const QString& theme)
{
    QSettings(home.iniPath(), QSettings::IniFormat).setValue("Main/Theme", theme);
    return home.makeParkbook();
}
} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }

    // A switch leaves every window, shown or hidden, as a start in that theme
    // does, and a dark start is dark everywhere. The park reference stays red
    // in hunting mode whatever the theme; the clock after noon takes the
    // theme's blue.
    void switchingEqualsFreshStart()
    {
        QStringList fresh[2]; // light, dark
        for (int dark = 0; dark < 2; ++dark) {
            TempHome home;
            auto pb = start(home, dark ? "dark" : "light");
            pb->sysclkTimeout();
            fresh[dark] = snapshot(pb.get());
        }
        QCOMPARE(fresh[1].filter(QRegularExpression("^\\S+ #353535 ")), fresh[1]);
        TempHome home;
        auto pb = start(home, "light");
        pb->activity->close();
        for (const int dark : {1, 0, 1, 0}) {
            dark ? pb->on_actionDark_Theme_triggered() : pb->on_actionLight_Theme_triggered();
            pb->sysclkTimeout();
            QCOMPARE(snapshot(pb.get()), fresh[dark]);
            QCOMPARE(pb->ui->time->palette().color(QPalette::Text),
                     dark ? QColor(128, 192, 255) : QColor(Qt::blue));
        }
        pb->potaMode = "Hunting";
        for (const int dark : {1, 0}) {
            dark ? pb->on_actionDark_Theme_triggered() : pb->on_actionLight_Theme_triggered();
            pb->sysclkTimeout();
            QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(Qt::red));
        }
        pb->on_actionDark_Theme_triggered();
        pb->close();
        QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("Main/Theme").toString(),
                 QString("dark"));
    }

    void unknownThemeAppliesNothing()
    {
        TempHome home;
        auto pb = start(home, "purple");
        QCOMPARE(pb->redText.resolveMask(), QPalette::ResolveMask(0));
        for (QWidget* window : windows(pb.get()) + QList<QWidget*>{pb->ui->call})
            QVERIFY(!window->testAttribute(Qt::WA_SetPalette));
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
