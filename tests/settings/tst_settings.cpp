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
    void missingDataDirectory();
    void dataDirectoryChooser();
    void errorLogStamp();
};

void TestSettings::firstRunDefaults()
{
    TempHome home;
    auto parkbook = home.makeParkbook();
    QCOMPARE(parkbook->size(), QSize(700, 230));
    QCOMPARE(parkbook->pos(), QPoint(0, 0));
    QCOMPARE(parkbook->dataDir.path(), home.dataPath());
    QCOMPARE(parkbook->theme, QString("light"));
    QVERIFY(parkbook->ui->actionStatus_Tips->isChecked());
    QVERIFY(parkbook->ui->actionAuto_Update_Check->isChecked());
    QCOMPARE(parkbook->potaMode, QString("Activating"));
    // A secondary window opens with its default geometry on the first run.
    QCOMPARE(parkbook->parkLog->size(), QSize(428, 105));
    QCOMPARE(parkbook->parkLog->pos(), QPoint(581, 406));

    // Closing writes every window's group.
    parkbook->close();
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    for (const char* group : {"Main", "Activity", "Contact", "Station", "WSJTx", "About", "ParkLog",
                              "ContactLog", "ActivationLog"})
        QVERIFY2(settings.value(QString(group) + "/Exist").toString() == "Yes", group);
    QCOMPARE(settings.value("Main/DataDirectory").toString(), home.dataPath());
}

void TestSettings::missingDataDirectory()
{
    // A stored directory that is gone falls back to the default quietly.
    {
        TempHome home;
        QSettings(home.iniPath(), QSettings::IniFormat)
            .setValue("Main/DataDirectory", home.path() + "/gone");
        auto parkbook = home.makeParkbook();
        QCOMPARE(parkbook->dataDir.path(), home.dataPath());
        QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 0);
    }
    // A missing default directory is reported, and start-up goes on.
    TempHome home(false);
    auto parkbook = home.makeParkbook();
    QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 1);
    QCOMPARE(home.prompter.shown.first().text, "Directory '" + home.dataPath() + "' is missing.");
    QCOMPARE(home.prompter.shown.first().icon, QMessageBox::Critical);
}

void TestSettings::dataDirectoryChooser()
{
    TempHome home;
    auto parkbook = home.makeParkbook();
    const QString other = home.path() + "/Other";
    QDir(home.path()).mkpath("Other");
    auto choose = [&](const QStringList& paths, QList<QMessageBox::StandardButton> answers) {
        home.prompter.clear();
        home.prompter.paths.append(paths);
        home.prompter.answers.append(answers);
        QMetaObject::invokeMethod(parkbook.get(), "on_actionSet_Data_Directory_triggered");
    };

    // The same directory says so and still sets up the windows again, which
    // with no station row asks for the call signs.
    choose({home.dataPath()}, {});
    QCOMPARE(home.prompter.count("Same Parkbook Data Directory"), 1);
    QCOMPARE(home.prompter.count("Enter Callsigns"), 1);

    // No reopens the chooser; cancelling it changes nothing.
    choose({other, QString()}, {QMessageBox::No});
    QCOMPARE(home.prompter.chooserTitles.size(), 2);
    QCOMPARE(home.prompter.titles(), QStringList{"New Parkbook Data Directory!"});
    QCOMPARE(home.prompter.shown.first().defaultButton, QMessageBox::No);
    QCOMPARE(parkbook->dataDir.path(), home.dataPath());

    // Yes adopts the directory and creates a database in it.
    choose({other}, {QMessageBox::Yes});
    QCOMPARE(parkbook->dataDir.path(), other);
    QVERIFY(QFile::exists(other + "/parkbook.db"));
    QVERIFY(QFile::exists(other + "/errorLog.txt"));
    QCOMPARE(home.prompter.count("New parkbook Database"), 1);
}

void TestSettings::errorLogStamp()
{
    TempHome home;
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
