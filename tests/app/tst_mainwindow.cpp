// The main window's start, settings, data directory, clock and error log;
// its themes, the file viewer and the shortcut list.
#include "journey.h"
#include "support/seefile.h"
#include "ui_seefile.h"
#include "wsjtx/wsjtx.h"

#include <QShortcut>
#include <QStatusTipEvent>

static QList<QWidget*> windows(Parkbook* pb)
{
    return {pb,          pb->station,    pb->contact,       pb->activity,
            pb->parkLog, pb->contactLog, pb->activationLog, pb->wsjtx,
            pb->seeFile};
}

// Every widget's colours, a line each, by window and object name.
static QStringList snapshot(Parkbook* pb)
{
    QStringList lines;
    for (QWidget* window : windows(pb)) {
        for (QWidget* widget : window->findChildren<QWidget*>() + QList<QWidget*>{window}) {
            lines << window->objectName() + '/' + widget->objectName();
            for (auto role :
                 {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                  QPalette::Button, QPalette::ButtonText, QPalette::Highlight})
                lines.last() += ' ' + widget->palette().color(QPalette::Active, role).name();
        }
    }
    return lines;
}

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC)); }

    // The clock is red before noon UTC (from noon it takes the theme's blue,
    // seen with the themes); error-log lines carry its time. Status tips can be turned off; closing
    // writes that and which windows were open, and the next start restores them.
    void clockTipsAndRestart()
    {
        TempHome home;
        auto pb = home.makeParkbook();
        UtcClock::setFixed(QDateTime(QDate(2023, 6, 5), QTime(11, 59, 59), Qt::UTC));
        pb->sysclkTimeout();
        QCOMPARE(pb->ui->time->text() + ' ' + pb->ui->time->palette().color(QPalette::Text).name(),
                 QString("115959 #ff0000"));
        pb->logError("Something failed");
        QFile log(home.dataPath() + "/errorLog.txt");
        QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
        QVERIFY(log.readAll().endsWith("06/05/2023 11:59:59 Something failed\n"));
        QStatusTipEvent tip("Contact's Call");
        QString tips;
        for (int toggles = 0; toggles < 3; ++toggles) {
            pb->statusBar()->clearMessage();
            QCoreApplication::sendEvent(pb.get(), &tip);
            tips += pb->statusBar()->currentMessage() + "|";
            pb->ui->actionStatus_Tips->trigger(); // turns them off, on, off
        }
        QCOMPARE(tips, QString("Contact's Call||Contact's Call|"));
        pb->parkLog->close();
        pb->close();
        pb.reset();
        QSettings settings(home.iniPath(), QSettings::IniFormat);
        QStringList stored;
        for (const char* key :
             {"Main/Exist", "Activity/Exist", "Contact/Exist", "Station/Exist", "WSJTx/Exist",
              "About/Exist", "ParkLog/Exist", "ContactLog/Exist", "ActivationLog/Exist",
              "Station/Visible", "ParkLog/Visible", "Main/StatusTips", "Main/DataDirectory"})
            stored << settings.value(key).toString();
        QCOMPARE(stored.join(' '),
                 "Yes Yes Yes Yes Yes Yes Yes Yes Yes Yes No 0 " + home.dataPath());
        pb = home.makeParkbook();
        QCOMPARE(QString::number(pb->ui->actionStatus_Tips->isChecked()) + pb->station->visibility +
                     pb->parkLog->visibility,
                 QString("0YesNo"));
    }

    // A missing default directory is reported, and start-up goes on.
    void missingDataDirectory()
    {
        TempHome home(false);
        auto pb = home.makeParkbook();
        QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 1);
        QVERIFY(home.prompter.shown[0].icon == QMessageBox::Critical &&
                home.prompter.shown[0].text == "Directory '" + home.dataPath() + "' is missing.");
    }

    // A stored directory that is gone falls back to the default quietly.
    void dataDirectoryChooser()
    {
        TempHome home;
        const QString other = home.path() + "/Other";
        QSettings(home.iniPath(), QSettings::IniFormat).setValue("Main/DataDirectory", other);
        auto pb = home.makeParkbook();
        QCOMPARE(pb->dataDir.path(), home.dataPath());
        QCOMPARE(home.prompter.count("Error: Cannot Find Data Directory"), 0);
        QDir().mkpath(other);
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

    // A switch leaves every window, shown or hidden, as a start in that theme
    // does, and a dark start is dark everywhere. The park reference stays red
    // in hunting mode whatever the theme; the clock after noon takes the
    // theme's blue.
    void switchingEqualsFreshStart()
    {
        QStringList fresh[2]; // light, dark
        for (int dark = 0; dark < 2; ++dark) {
            TempHome home;
            QSettings(home.iniPath(), QSettings::IniFormat)
                .setValue("Main/Theme", dark ? "dark" : "light");
            auto pb = home.makeParkbook();
            pb->sysclkTimeout();
            fresh[dark] = snapshot(pb.get());
        }
        QCOMPARE(fresh[1].filter(QRegularExpression("^\\S+ #353535 ")), fresh[1]);
        TempHome home; // a fresh install starts in the light theme
        auto pb = home.makeParkbook();
        pb->activity->close();
        auto apply = [&pb](bool dark) {
            dark ? pb->on_actionDark_Theme_triggered() : pb->on_actionLight_Theme_triggered();
            pb->sysclkTimeout();
        };
        for (const int dark : {1, 0, 1, 0}) {
            apply(dark);
            QCOMPARE(snapshot(pb.get()), fresh[dark]);
            QCOMPARE(pb->ui->time->palette().color(QPalette::Text),
                     dark ? QColor(128, 192, 255) : QColor(Qt::blue));
        }
        pb->potaMode = "Hunting";
        for (const int dark : {0, 1}) {
            apply(dark);
            QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(Qt::red));
        }
        pb->close(); // in the dark theme
        QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("Main/Theme").toString(),
                 QString("dark"));
    }

    void unknownThemeAppliesNothing()
    {
        TempHome home;
        QSettings(home.iniPath(), QSettings::IniFormat).setValue("Main/Theme", "purple");
        auto pb = home.makeParkbook();
        QCOMPARE(pb->redText.resolveMask(), QPalette::ResolveMask(0));
        for (QWidget* window : windows(pb.get()) + QList<QWidget*>{pb->ui->call})
            QVERIFY(!window->testAttribute(Qt::WA_SetPalette));
    }

    // One document replaces another, from its top; Escape brings the main
    // window forward and leaves the viewer open; the error log on show
    // follows new entries at its bottom line; the next start reopens it.
    // A missing file is named in a box (the licence as the program always
    // has, "LICESE"); the version lines are shown even without their file.
    void viewerAndMissingFiles()
    {
        TempHome home;
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        QTextEdit* view = pb->seeFile->ui->text;
        pb->show();
        pb->on_actionLicense_triggered();
        pb->on_actionChange_Log_triggered();
        QVERIFY(view->toPlainText().startsWith("Parkbook - Change Log") &&
                !view->toPlainText().contains("GNU GENERAL PUBLIC LICENSE"));
        QCOMPARE(view->textCursor().position(), 0);
        pb->seeFile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb->seeFile));
        QTest::keyClick(pb->seeFile, Qt::Key_Escape);
        QTRY_VERIFY(pb->isActiveWindow());
        QVERIFY(pb->seeFile->isVisible());

        for (int i = 0; i < 50; ++i)
            pb->logError(QString("early entry %1").arg(i));
        pb->on_actionShow_Error_Log_triggered();
        pb->logError("the newest entry");
        const QTextCursor cursor = view->textCursor();
        const int fromEnd = view->document()->blockCount() - cursor.blockNumber();
        QCOMPARE(QString::asprintf("%d %d ", fromEnd, cursor.positionInBlock()) +
                     cursor.block().text().right(16),
                 QString("1 0 the newest entry"));
        QVERIFY(home.prompter.shown.isEmpty());
        pb->close();
        pb = home.makeParkbook();
        QCOMPARE(QString::number(pb->seeFile->isVisible()) + pb->seeFile->windowTitle(),
                 QString("1Program Errors and Comments"));
        QVERIFY(pb->seeFile->ui->text->toPlainText().contains("the newest entry"));

        home.prompter.clear();
        pb->seeFile->close();
        QVERIFY(QFile::remove(home.infoPath() + "/LICENSE.txt"));
        pb->ui->actionLicense->trigger();
        QVERIFY(!pb->seeFile->isVisible());
        QVERIFY(QFile::remove(home.infoPath() + "/ENVIRONMENT.txt"));
        pb->ui->actionEnvironment->trigger();
        QVERIFY(pb->seeFile->isVisible());
        QVERIFY(pb->seeFile->ui->text->toPlainText().startsWith(
            "Program and Development Software Versions\n  Parkbook Version:"));
        QCOMPARE(home.prompter.titles(), QStringList(2, "File not Found"));
        const QString missing = "File '" + pb->programDir.path() + "/%1.txt' not Found.\n";
        QCOMPARE(home.prompter.shown.at(0).text + home.prompter.shown.at(1).text,
                 missing.arg("LICESE") + missing.arg("ENVIRONMENT"));
    }

    // The shortcut list names every key the main window binds.
    void shortcutListIsComplete()
    {
        TempHome home;
        auto pb = home.makeParkbook();
        QFile file(QString(PARKBOOK_INFO_DIR) + "/SHORTCUTS.txt");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString list = QString::fromUtf8(file.readAll());
        QStringList bound;
        for (QObject* child : pb->findChildren<QObject*>()) { // actions, shortcuts, buttons
            const char* name = qobject_cast<QShortcut*>(child) ? "key" : "shortcut";
            bound << child->property(name).value<QKeySequence>().toString();
        }
        bound.removeAll(QString());
        QVERIFY(bound.size() >= 20);
        for (const QString& key : bound)
            QVERIFY2(list.contains(
                         QRegularExpression("(^|\\s)" + QRegularExpression::escape(key) + "\\s")),
                     qPrintable(key));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
