#include "app/parkbook.h"
#include "app/utcclock.h"
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
    void titleAndMenus_data();
    void titleAndMenus();
    void entryFieldsTabOrder();
    void clockColourAroundNoon();
    void clockCrossesMidnight();
    void statusTipsCanBeTurnedOff();
    void closingRemembersOpenWindows();
};

void TestMainWindow::titleAndMenus_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("station") << "actionStation_Details"
                             << "Station Details"
                             << "Alt+S";
    QTest::newRow("contact") << "actionContact_Details"
                             << "Contact Details"
                             << "Alt+C";
    QTest::newRow("park log") << "actionShow_Park_Log"
                              << "Park Log"
                              << "Alt+P";
    QTest::newRow("activations") << "actionShow_Activations"
                                 << "Activation Log"
                                 << "Alt+A";
    QTest::newRow("hunting") << "actionHunting_Log"
                             << "Hunting Log"
                             << "Alt+H";
    QTest::newRow("load") << "actionLoad_Park_Log"
                          << "Load Park Log (Database)"
                          << "";
    QTest::newRow("export park") << "actionExport_Park_Log"
                                 << "Export Park Log (ADIF)"
                                 << "";
    QTest::newRow("import") << "actionImport_Contact_Log"
                            << "Import Contact Log (ADIF)"
                            << "";
    QTest::newRow("updates") << "actionCheck_for_Updates"
                             << "Check for Updates"
                             << "";
    QTest::newRow("error log") << "actionShow_Error_Log"
                               << "Error Log"
                               << "";
}

void TestMainWindow::titleAndMenus()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    QCOMPARE(parkbook->windowTitle(), QString("POTA Logging: Parkbook V2.3.6"));
    QCOMPARE(parkbook->ui->menuFIle->title(), QString("FIle"));
    auto* found = parkbook->findChild<QAction*>(action);
    QVERIFY(found);
    QCOMPARE(found->text(), text);
    QCOMPARE(found->shortcut().toString(), shortcut);
}

void TestMainWindow::entryFieldsTabOrder()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    parkbook->show();
    QVERIFY(QTest::qWaitForWindowActive(parkbook.get()));
    const QStringList order{"call", "sent", "rcvd", "state",     "name",  "p2p", "comment",
                            "utc",  "mode", "band", "frequency", "power", "call"};
    parkbook->ui->call->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order.at(i));
    }
}

void TestMainWindow::clockColourAroundNoon()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    const QDate day(2024, 6, 1);
    UtcClock::setFixed(QDateTime(day, QTime(11, 59, 59), Qt::UTC));
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->ui->time->text(), QString("115959"));
    const QColor before = parkbook->ui->time->palette().color(QPalette::Text);
    QCOMPARE(before, parkbook->redText.color(QPalette::Text));

    UtcClock::setFixed(QDateTime(day, QTime(12, 0, 0), Qt::UTC));
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->ui->time->text(), QString("120000"));
    QCOMPARE(parkbook->ui->time->palette().color(QPalette::Text),
             parkbook->blueText.color(QPalette::Text));
    QVERIFY(parkbook->ui->time->palette().color(QPalette::Text) != before);
}

void TestMainWindow::clockCrossesMidnight()
{
    UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(23, 59, 59), Qt::UTC));
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->ui->parkDate->text(), QString("20240601"));
    QCOMPARE(parkbook->ui->today->text(), QString("20240601"));

    UtcClock::setFixed(QDateTime(QDate(2024, 6, 2), QTime(0, 0, 0), Qt::UTC));
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->utcDate, QString("20240602"));
    QCOMPARE(parkbook->ui->parkDate->text(), QString("20240602"));
    QCOMPARE(parkbook->ui->endDate->text(), QString("20240602"));
    QCOMPARE(parkbook->ui->today->text(), QString("20240602"));
}

void TestMainWindow::statusTipsCanBeTurnedOff()
{
    TempHome home;
    home.writeQuietSettings();
    auto parkbook = home.makeParkbook();
    QStatusBar* bar = parkbook->statusBar();

    QStatusTipEvent first("Contact's Call");
    QCoreApplication::sendEvent(parkbook.get(), &first);
    QCOMPARE(bar->currentMessage(), QString("Contact's Call"));

    parkbook->ui->actionStatus_Tips->trigger(); // unchecks it
    QCOMPARE(parkbook->statusTips, 0);
    bar->clearMessage();
    QStatusTipEvent second("Contact's Name");
    QCoreApplication::sendEvent(parkbook.get(), &second);
    QCOMPARE(bar->currentMessage(), QString());

    parkbook->ui->actionStatus_Tips->trigger();
    QCoreApplication::sendEvent(parkbook.get(), &second);
    QCOMPARE(bar->currentMessage(), QString("Contact's Name"));
}

void TestMainWindow::closingRemembersOpenWindows()
{
    TempHome home;
    home.writeQuietSettings();
    {
        auto parkbook = home.makeParkbook();
        parkbook->show();
        parkbook->station->show();
        parkbook->ui->actionStatus_Tips->trigger();
        parkbook->close();
    }
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("Station/Visible").toString(), QString("Yes"));
    QCOMPARE(settings.value("ParkLog/Visible").toString(), QString("No"));
    QCOMPARE(settings.value("Main/StatusTips").toInt(), 0);
    QCOMPARE(settings.value("Main/AutoUpdate").toBool(), false);

    // The next start restores the option and remembers the Station window as open.
    auto again = home.makeParkbook();
    QVERIFY(!again->ui->actionStatus_Tips->isChecked());
    QCOMPARE(again->station->visibility, QString("Yes"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
