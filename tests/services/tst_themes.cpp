#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "stats/activity.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_activity.h"
#include "ui_parkbook.h"
#include "ui_seefile.h"

#include <QMap>
#include <QSettings>
#include <QTest>

namespace
{
using PaletteMember = QPalette Parkbook::*;

QList<QWidget*> windows(Parkbook* pb)
{
    return {pb,
            reinterpret_cast<QWidget*>(pb->station),
            reinterpret_cast<QWidget*>(pb->contact),
            pb->activity,
            pb->parkLog,
            pb->contactLog,
            pb->activationLog,
            reinterpret_cast<QWidget*>(pb->wsjtx),
            pb->seeFile};
}

// Every widget's colours, keyed by window and object path.
QMap<QString, QList<QRgb>> snapshot(Parkbook* pb)
{
    QMap<QString, QList<QRgb>> colours;
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

void writeTheme(TempHome& home, const QString& theme)
{
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    settings.setValue("Main/Theme", theme);
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
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        QCOMPARE(pb->activity->isVisible(), false);
        pb->on_actionDark_Theme_triggered();
        QCOMPARE(pb->theme, QString("dark"));
        for (QWidget* window : windows(pb.get())) {
            QCOMPARE(window->palette().color(QPalette::Window), QColor(53, 53, 53));
            for (QWidget* child : window->findChildren<QWidget*>())
                QVERIFY2(child->palette().color(QPalette::Window) == QColor(53, 53, 53),
                         qPrintable(window->objectName() + "/" + child->objectName()));
        }
        // Hidden windows are dark too, and their accents follow.
        QCOMPARE(pb->seeFile->ui->text->palette().color(QPalette::Base), QColor(0, 0, 0));
        QCOMPARE(pb->activity->ui->attempts->palette().color(QPalette::Text),
                 QColor(128, 192, 255));
        QCOMPARE(pb->ui->call->palette().color(QPalette::Text), QColor(0, 192, 0));
        QCOMPARE(pb->ui->call->palette().color(QPalette::Base), QColor(0, 0, 0));
        QCOMPARE(pb->ui->deleteContact->palette().color(QPalette::Button), QColor(80, 0, 0));
        QCOMPARE(pb->ui->connectStatus->text(), QString("Offline"));
        QCOMPARE(pb->ui->connectStatus->palette().color(QPalette::Text), QColor(255, 0, 0));

        pb->close();
        QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("Main/Theme").toString(),
                 QString("dark"));
    }

    void accentsAndColours_data()
    {
        QTest::addColumn<PaletteMember>("member");
        QTest::addColumn<int>("role");
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("dark");
        const int text = QPalette::Text;
        const int button = QPalette::Button;
        QTest::newRow("redText") << &Parkbook::redText << text << QColor(255, 0, 0)
                                 << QColor(255, 0, 0);
        QTest::newRow("greenText")
            << &Parkbook::greenText << text << QColor(0, 128, 0) << QColor(0, 192, 0);
        QTest::newRow("blueText") << &Parkbook::blueText << text << QColor(0, 0, 255)
                                  << QColor(128, 192, 255);
        QTest::newRow("comboText")
            << &Parkbook::comboText << text << QColor(0, 128, 0) << QColor(0, 192, 0);
        QTest::newRow("plainText")
            << &Parkbook::plainText << text << QColor(0, 0, 0) << QColor(255, 255, 255);
        QTest::newRow("redButton")
            << &Parkbook::redButton << button << QColor(255, 128, 128) << QColor(80, 0, 0);
        QTest::newRow("greenButton")
            << &Parkbook::greenButton << button << QColor(0, 255, 0) << QColor(0, 64, 0);
        QTest::newRow("blueButton")
            << &Parkbook::blueButton << button << QColor(128, 192, 255) << QColor(0, 0, 128);
        QTest::newRow("grayButton")
            << &Parkbook::grayButton << button << QColor(128, 128, 128) << QColor(128, 128, 128);
    }

    void accentsAndColours()
    {
        QFETCH(PaletteMember, member);
        QFETCH(int, role);
        QFETCH(QColor, light);
        QFETCH(QColor, dark);
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        const auto colourRole = QPalette::ColorRole(role);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE((*pb.*member).color(group, colourRole), light);
        // One role only: every other role keeps QPalette's default.
        QPalette expected;
        expected.setColor(QPalette::All, colourRole, light);
        QCOMPARE((*pb.*member).resolveMask(), expected.resolveMask());
        QVERIFY((*pb.*member) == expected);
        pb->on_actionDark_Theme_triggered();
        QCOMPARE((*pb.*member).color(colourRole), dark);
        QCOMPARE(pb->themeText, QColor(255, 255, 255));
        QCOMPARE(pb->themeBackground, QColor(0, 0, 0));
        QCOMPARE(pb->themeShade, QColor(60, 60, 60));
        QCOMPARE(pb->themeGreen, QColor(0, 192, 0));
        QCOMPARE(pb->themeBlue, QColor(128, 192, 255));
        pb->on_actionLight_Theme_triggered();
        QCOMPARE((*pb.*member).color(colourRole), light);
        QCOMPARE(pb->themeText, QColor(0, 0, 0));
        QCOMPARE(pb->themeBackground, QColor(255, 255, 255));
        QCOMPARE(pb->themeShade, QColor(192, 192, 192));
    }

    void clockColours_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("dark morning") << "dark" << QTime(11, 59, 59) << QColor(255, 0, 0);
        QTest::newRow("dark noon") << "dark" << QTime(12, 0, 0) << QColor(128, 192, 255);
        QTest::newRow("light midnight") << "light" << QTime(0, 0, 0) << QColor(255, 0, 0);
        QTest::newRow("light evening") << "light" << QTime(23, 59, 59) << QColor(0, 0, 255);
    }

    void clockColours()
    {
        QFETCH(QString, theme);
        QFETCH(QTime, time);
        TempHome home;
        home.writeQuietSettings();
        writeTheme(home, theme);
        UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), time, Qt::UTC));
        auto pb = home.makeParkbook();
        pb->sysclkTimeout();
        QCOMPARE(pb->ui->time->text(), time.toString("hhmmss"));
        QTEST(pb->ui->time->palette().color(QPalette::Text), "colour");
    }

    void unknownThemeAppliesNothing()
    {
        TempHome home;
        home.writeQuietSettings();
        writeTheme(home, "purple");
        auto pb = home.makeParkbook();
        QCOMPARE(pb->redText.resolveMask(), QPalette::ResolveMask(0));
        QCOMPARE(pb->blueButton.resolveMask(), QPalette::ResolveMask(0));
        for (QWidget* window : windows(pb.get()))
            QVERIFY(!window->testAttribute(Qt::WA_SetPalette));
        QVERIFY(!pb->ui->call->testAttribute(Qt::WA_SetPalette));
        // A palette that is neither theme is applied but keeps the accents as they were.
        QPalette other;
        other.setColor(QPalette::Window, QColor(1, 2, 3));
        pb->switchPalette(other);
        QCOMPARE(pb->activity->palette().color(QPalette::Window), QColor(1, 2, 3));
        QCOMPARE(pb->blueButton.resolveMask(), QPalette::ResolveMask(0));
        QCOMPARE(pb->redText.color(QPalette::Text), QColor(255, 0, 0));
    }

    void huntingParkIsRed()
    {
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        pb->potaMode = "Hunting";
        pb->on_actionDark_Theme_triggered();
        QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(255, 0, 0));
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(255, 0, 0));
        pb->potaMode = "Activating";
        pb->on_actionLight_Theme_triggered();
        QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(0, 0, 255));
    }

    void backAndForthEqualsFreshStart_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "dark";
        QTest::newRow("light") << "light";
    }

    void backAndForthEqualsFreshStart()
    {
        QFETCH(QString, theme);
        UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(9, 0, 0), Qt::UTC));
        QMap<QString, QList<QRgb>> fresh;
        {
            TempHome home;
            home.writeQuietSettings();
            writeTheme(home, theme);
            auto pb = home.makeParkbook();
            pb->sysclkTimeout();
            fresh = snapshot(pb.get());
        }
        TempHome home;
        home.writeQuietSettings();
        writeTheme(home, theme == "dark" ? "light" : "dark");
        auto pb = home.makeParkbook();
        const QMap<QString, QList<QRgb>> other = snapshot(pb.get());
        for (int i = 0; i < 3; ++i) {
            pb->on_actionDark_Theme_triggered();
            pb->on_actionLight_Theme_triggered();
        }
        if (theme == "dark")
            pb->on_actionDark_Theme_triggered();
        pb->sysclkTimeout();
        const QMap<QString, QList<QRgb>> switched = snapshot(pb.get());
        QCOMPARE(switched.keys(), fresh.keys());
        for (auto it = fresh.cbegin(); it != fresh.cend(); ++it)
            QVERIFY2(switched.value(it.key()) == it.value(), qPrintable(it.key()));
        QVERIFY(other != fresh); // the two themes differ at all
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
