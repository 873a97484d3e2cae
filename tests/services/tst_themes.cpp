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

using Colours = QMap<QString, QList<QRgb>>;

// Every widget's colours, keyed by window and object path.
Colours snapshot(Parkbook* pb)
{
    Colours colours;
    int windowNumber = 0;
    for (QWidget* window : windows(pb)) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        int index = 0;
        for (QWidget* widget : widgets) {
            QList<QRgb> roles;
            for (auto role :
                 {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                  QPalette::Button, QPalette::ButtonText, QPalette::Highlight})
                roles << widget->palette().color(QPalette::Active, role).rgba();
            colours.insert(
                QString("%1/%2/%3").arg(windowNumber).arg(index++).arg(widget->objectName()),
                roles);
        }
        ++windowNumber;
    }
    return colours;
}

// The first widget whose colours differ, or "" when none does.
QString firstDifference(const Colours& seen, const Colours& expected)
{
    if (seen.keys() != expected.keys())
        return "the widgets differ";
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        if (seen.value(it.key()) != it.value())
            return it.key();
    return QString();
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
    void cleanup() { UtcClock::clearFixed(); }

    void darkTurnsEveryWindowDark()
    {
        TempHome home;
        auto pb = start(home, "light");
        pb->activity->close();
        pb->on_actionDark_Theme_triggered();
        const Colours colours = snapshot(pb.get());
        for (auto it = colours.cbegin(); it != colours.cend(); ++it)
            QVERIFY2(QColor::fromRgba(it->first()) == QColor(53, 53, 53), qPrintable(it.key()));
        // The accents of a hidden window follow the theme too.
        QCOMPARE(pb->activity->ui->attempts->palette().color(QPalette::Text),
                 QColor(128, 192, 255));
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
        const QDate day(2024, 6, 1);
        UtcClock::setFixed(QDateTime(day, QTime(9, 0, 0), Qt::UTC));
        TempHome home;
        auto pb = start(home, "light");
        const auto clockAt = [&pb, day](const QTime& time) {
            UtcClock::setFixed(QDateTime(day, time, Qt::UTC));
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
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(clockAt(QTime(23, 59, 59)), QColor(0, 0, 255));
        QCOMPARE(parkReference(), QColor(255, 0, 0));
        pb->potaMode = "Activating";
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(parkReference(), QColor(0, 0, 255));
    }

    void switchingEqualsFreshStart()
    {
        UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(9, 0, 0), Qt::UTC));
        Colours fresh[2]; // light, dark
        for (int dark = 0; dark < 2; ++dark) {
            TempHome home;
            auto pb = start(home, dark ? "dark" : "light");
            pb->sysclkTimeout();
            fresh[dark] = snapshot(pb.get());
        }
        QVERIFY(fresh[0] != fresh[1]);
        TempHome home;
        auto pb = start(home, "light");
        for (int round = 0; round < 2; ++round) {
            pb->on_actionDark_Theme_triggered();
            pb->sysclkTimeout();
            QCOMPARE(firstDifference(snapshot(pb.get()), fresh[1]), QString());
            pb->on_actionLight_Theme_triggered();
            pb->sysclkTimeout();
            QCOMPARE(firstDifference(snapshot(pb.get()), fresh[0]), QString());
        }
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
