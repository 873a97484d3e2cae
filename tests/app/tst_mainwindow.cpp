// The main window's start, settings, data directory, clock and error log.
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { UtcClock::clearFixed(); }

    // The clock is red before noon UTC and blue from noon; error-log lines
    // carry its time. Status tips can be turned off; closing writes that and
    // which windows were open, and the next start restores them.
    void clockTipsAndRestart()
    {
        TempHome home;
        {
            auto pb = home.makeParkbook();
            for (const QTime& time : {QTime(11, 59, 59), QTime(12, 0, 0)}) {
                UtcClock::setFixed(QDateTime(QDate(2023, 6, 5), time, Qt::UTC));
                pb->sysclkTimeout();
                QCOMPARE(pb->ui->time->text(), time.toString("hhmmss"));
                const QPalette& expected = time.hour() < 12 ? pb->redText : pb->blueText;
                QCOMPARE(pb->ui->time->palette().color(QPalette::Text),
                         expected.color(QPalette::Text));
            }
            QVERIFY(pb->redText.color(QPalette::Text) != pb->blueText.color(QPalette::Text));
            pb->logError("Something failed");
            QFile log(home.dataPath() + "/errorLog.txt");
            QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
            QVERIFY(log.readAll().endsWith("06/05/2023 12:00:00 Something failed\n"));
            QStatusTipEvent tip("Contact's Call");
            QString tips;
            for (int toggles = 0; toggles < 3; ++toggles) {
                pb->statusBar()->clearMessage();
                QCoreApplication::sendEvent(pb.get(), &tip);
                tips += pb->statusBar()->currentMessage() + "|";
                pb->ui->actionStatus_Tips->trigger(); // turns them off, on, off
            }
            QCOMPARE(tips, QString("Contact's Call||Contact's Call|"));
            pb->show();
            pb->parkLog->close();
            pb->close();
        }
        QSettings settings(home.iniPath(), QSettings::IniFormat);
        QStringList stored;
        for (const char* key :
             {"Main/Exist", "Activity/Exist", "Contact/Exist", "Station/Exist", "WSJTx/Exist",
              "About/Exist", "ParkLog/Exist", "ContactLog/Exist", "ActivationLog/Exist",
              "Station/Visible", "ParkLog/Visible", "Main/StatusTips", "Main/DataDirectory"})
            stored << settings.value(key).toString();
        QCOMPARE(stored.join(' '),
                 "Yes Yes Yes Yes Yes Yes Yes Yes Yes Yes No 0 " + home.dataPath());
        auto again = home.makeParkbook();
        QVERIFY(!again->ui->actionStatus_Tips->isChecked());
        QCOMPARE(again->station->visibility + again->parkLog->visibility, QString("YesNo"));
    }

    void missingDataDirectory()
    {
        // A stored directory that is gone falls back to the default quietly.
        {
            TempHome home;
            QSettings(home.iniPath(), QSettings::IniFormat)
                .setValue("Main/DataDirectory", home.path() + "/gone");
            auto pb = home.makeParkbook();
            QCOMPARE(pb->dataDir.path(), home.dataPath());
            QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 0);
        }
        // A missing default directory is reported, and start-up goes on.
        TempHome home(false);
        auto pb = home.makeParkbook();
        QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 1);
        QVERIFY(home.prompter.shown[0].icon == QMessageBox::Critical &&
                home.prompter.shown[0].text == "Directory '" + home.dataPath() + "' is missing.");
    }

    void dataDirectoryChooser()
    {
        TempHome home;
        auto pb = home.makeParkbook();
        const QString other = home.path() + "/Other";
        QDir(home.path()).mkpath("Other");
        auto choose = [&](const QStringList& paths, QList<QMessageBox::StandardButton> answers) {
            home.prompter.clear();
            home.prompter.paths.append(paths);
            home.prompter.answers.append(answers);
            pb->ui->actionSet_Data_Directory->trigger();
        };
        // The same directory says so and still sets up the windows again,
        // which with no station row asks for the call signs.
        choose({home.dataPath()}, {});
        QCOMPARE(home.prompter.titles(),
                 QStringList({"Same Parkbook Data Directory", "Enter Callsigns"}));
        // No reopens the chooser; cancelling it changes nothing.
        choose({other, QString()}, {QMessageBox::No});
        QVERIFY(home.prompter.paths.isEmpty());
        QCOMPARE(home.prompter.titles(), QStringList{"New Parkbook Data Directory!"});
        QCOMPARE(home.prompter.shown[0].defaultButton, QMessageBox::No);
        QCOMPARE(pb->dataDir.path(), home.dataPath());
        // Yes adopts the directory and creates a database in it.
        choose({other}, {QMessageBox::Yes});
        QCOMPARE(pb->dataDir.path(), other);
        QVERIFY(QFile::exists(other + "/parkbook.db") && QFile::exists(other + "/errorLog.txt"));
        QCOMPARE(home.prompter.count("New parkbook Database"), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
