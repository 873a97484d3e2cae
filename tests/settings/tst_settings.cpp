#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { UtcClock::clearFixed(); }
    void firstRunDefaults();
    void missingDataDirectoryFallsBackToDefault();
    void missingDefaultDataDirectoryIsReported();
    void chooserSameDirectory();
    void chooserNoThenCancel();
    void chooserYesAdoptsDirectory();
    void errorLogStamp();
};

void TestSettings::firstRunDefaults()
{
    TempHome home;
    auto parkbook = home.makeParkbook();
    QCOMPARE(parkbook->size(), QSize(700, 230));
    QCOMPARE(parkbook->pos(), QPoint(0, 0));
    QCOMPARE(parkbook->dataDir.path(), home.path() + "/Programs/Parkbook/Data");
    QCOMPARE(parkbook->theme, QString("light"));
    QCOMPARE(parkbook->statusTips, 1);
    QVERIFY(parkbook->ui->actionStatus_Tips->isChecked());
    QVERIFY(parkbook->autoUpdate);
    QVERIFY(parkbook->ui->actionAuto_Update_Check->isChecked());
    QCOMPARE(parkbook->potaMode, QString("Activating"));
    QCOMPARE(parkbook->stationCall, QString());

    // Every secondary window opens with its default geometry on the first run.
    QCOMPARE(parkbook->parkLog->size(), QSize(428, 105));
    QCOMPARE(parkbook->parkLog->pos(), QPoint(581, 406));
    QCOMPARE(parkbook->contactLog->pos(), QPoint(701, 130));
    QCOMPARE(parkbook->activationLog->size(), QSize(428, 115));
    QCOMPARE(parkbook->parkLog->visibility, QString("Yes"));

    // Closing writes every group, and the main group in its stated key order.
    parkbook->close();
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    for (const char* group : {"Main", "Activity", "Contact", "Station", "WSJTx", "About", "ParkLog",
                              "ContactLog", "ActivationLog"})
        QVERIFY2(settings.value(QString(group) + "/Exist").toString() == "Yes", group);
    QCOMPARE(settings.value("Main/PotaMode").toString(), QString("Activating"));
    QCOMPARE(settings.value("Main/DataDirectory").toString(), home.dataPath());
    QCOMPARE(settings.value("About/Content").toString(), QString("GetStarted"));
}

void TestSettings::missingDataDirectoryFallsBackToDefault()
{
    TempHome home;
    home.writeQuietSettings();
    {
        QSettings settings(home.iniPath(), QSettings::IniFormat);
        settings.setValue("Main/DataDirectory", home.path() + "/gone");
    }
    auto parkbook = home.makeParkbook();
    QCOMPARE(parkbook->dataDir.path(), home.dataPath());
    QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 0);
}

void TestSettings::missingDefaultDataDirectoryIsReported()
{
    TempHome home(false);
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 1);
    QCOMPARE(home.prompter.shown.first().text, "Directory '" + home.dataPath() + "' is missing.");
    QCOMPARE(home.prompter.shown.first().icon, QMessageBox::Critical);
    // Start-up goes on: the main window exists and can be shown.
    parkbook->show();
    QVERIFY(parkbook->isVisible());
}

void TestSettings::chooserSameDirectory()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    home.prompter.clear();
    home.prompter.paths.enqueue(home.dataPath());
    QMetaObject::invokeMethod(parkbook.get(), "on_actionSet_Data_Directory_triggered");
    QCOMPARE(home.prompter.chooserTitles, QStringList{"Select Parkbook Data Directory"});
    QCOMPARE(home.prompter.count("Same Parkbook Data Directory"), 1);
    QCOMPARE(home.prompter.shown.first().text,
             QString("You have not change the Parkbook Data Directory."));
    // initWindows ran again: with no station row it asks for the call signs.
    QCOMPARE(home.prompter.count("Enter Callsigns"), 1);
}

void TestSettings::chooserNoThenCancel()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    QDir(home.path()).mkpath("Other");
    home.prompter.clear();
    home.prompter.paths << home.path() + "/Other" << QString();
    home.prompter.answers << QMessageBox::No;
    QMetaObject::invokeMethod(parkbook.get(), "on_actionSet_Data_Directory_triggered");
    QCOMPARE(home.prompter.chooserTitles.size(), 2);
    QCOMPARE(home.prompter.titles(), QStringList{"New Parkbook Data Directory!"});
    QCOMPARE(home.prompter.shown.first().defaultButton, QMessageBox::No);
    QCOMPARE(home.prompter.shown.first().text,
             "You have selected:\n\n\"" + home.path() +
                 "/Other\"\n\n as the new Parkbook Data Directory.\n\nIs this what you really "
                 "want?\n");
    QCOMPARE(parkbook->dataDir.path(), home.dataPath());
}

void TestSettings::chooserYesAdoptsDirectory()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    const QString other = home.path() + "/Other";
    QDir(home.path()).mkpath("Other");
    home.prompter.clear();
    home.prompter.paths << other;
    home.prompter.answers << QMessageBox::Yes;
    QMetaObject::invokeMethod(parkbook.get(), "on_actionSet_Data_Directory_triggered");
    QCOMPARE(parkbook->dataDir.path(), other);
    QVERIFY(QFile::exists(other + "/parkbook.db"));
    QVERIFY(QFile::exists(other + "/errorLog.txt"));
    QCOMPARE(home.prompter.count("New parkbook Database"), 1);
}

void TestSettings::errorLogStamp()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    UtcClock::setFixed(QDateTime(QDate(2023, 6, 5), QTime(13, 5, 9), Qt::UTC));
    parkbook->sysclkTimeout();
    parkbook->logError("Something failed");
    QFile log(home.dataPath() + "/errorLog.txt");
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.last(), QString("06/05/2023 13:05:09 Something failed"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
