#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_activity.h"
#include "ui_parkbook.h"
#include "wsjtx/wsjtx.h"

#include <QMap>
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

// Every widget's colours, keyed by window and object path.
QMap<QString, QList<QRgb>> snapshot(Parkbook* pb)
{
    QMap<QString, QList<QRgb>> colours;
    for (QWidget* window : windows(pb)) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            QList<QRgb>& roles = colours[QString("%1/%2/%3")
                                             .arg(windows(pb).indexOf(window))
                                             .arg(i)
                                             .arg(widgets[i]->objectName())];
            for (auto role :
                 {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                  QPalette::Button, QPalette::ButtonText, QPalette::Highlight})
                roles << widgets[i]->palette().color(QPalette::Active, role).rgba();
        }
    }
    return colours;
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
    void init() { UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(9, 0), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }

    // A switch leaves every window, shown or hidden, as a start in that theme
    // does, and a dark start is dark everywhere.
    void switchingEqualsFreshStart()
    {
        QMap<QString, QList<QRgb>> fresh[2]; // light, dark
        for (int dark = 0; dark < 2; ++dark) {
            TempHome home;
            auto pb = start(home, dark ? "dark" : "light");
            pb->sysclkTimeout();
            fresh[dark] = snapshot(pb.get());
        }
        for (auto it = fresh[1].cbegin(); it != fresh[1].cend(); ++it)
            QVERIFY2(QColor::fromRgba(it->first()) == QColor(53, 53, 53), qPrintable(it.key()));
        TempHome home;
        auto pb = start(home, "light");
        pb->activity->close();
        for (int round = 0; round < 2; ++round) {
            for (int dark : {1, 0}) {
                dark ? pb->on_actionDark_Theme_triggered() : pb->on_actionLight_Theme_triggered();
                pb->sysclkTimeout();
                const auto seen = snapshot(pb.get());
                QCOMPARE(seen.keys(), fresh[dark].keys());
                for (auto it = seen.cbegin(); it != seen.cend(); ++it)
                    QVERIFY2(it.value() == fresh[dark].value(it.key()), qPrintable(it.key()));
            }
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
        for (QWidget* window : windows(pb.get()))
            QVERIFY(!window->testAttribute(Qt::WA_SetPalette));
        QVERIFY(!pb->ui->call->testAttribute(Qt::WA_SetPalette));
    }

    // The clock is red before noon in both themes; the park reference is red
    // in hunting mode in both themes.
    void accentsFollowTheTheme()
    {
        TempHome home;
        auto pb = start(home, "light");
        const auto clockAt = [&pb](const QTime& time) {
            UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), time, Qt::UTC));
            pb->sysclkTimeout();
            return pb->ui->time->palette().color(QPalette::Text);
        };
        const auto parkReference = [&pb] {
            return pb->ui->parkReference->palette().color(QPalette::Text);
        };
        pb->potaMode = "Hunting";
        pb->on_actionDark_Theme_triggered();
        QCOMPARE(clockAt(QTime(11, 59, 59)), QColor(255, 0, 0));
        QCOMPARE(clockAt(QTime(12, 0, 0)), QColor(128, 192, 255));
        QCOMPARE(parkReference(), QColor(255, 0, 0));
        QCOMPARE(pb->activity->ui->attempts->palette().color(QPalette::Text),
                 QColor(128, 192, 255));
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(clockAt(QTime(23, 59, 59)), QColor(0, 0, 255));
        QCOMPARE(parkReference(), QColor(255, 0, 0));
        pb->potaMode = "Activating";
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(parkReference(), QColor(0, 0, 255));
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
