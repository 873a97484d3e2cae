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
    void clockColourAroundNoon();
    void statusTipsCanBeTurnedOff();
    void closingRemembersOpenWindows();
};

void TestMainWindow::clockColourAroundNoon()
{
    TempHome home;
    auto parkbook = home.makeParkbook();
    UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(11, 59, 59), Qt::UTC));
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->ui->time->text(), QString("115959"));
    QCOMPARE(parkbook->ui->time->palette().color(QPalette::Text),
             parkbook->redText.color(QPalette::Text));

    UtcClock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(12, 0, 0), Qt::UTC));
    parkbook->sysclkTimeout();
    QCOMPARE(parkbook->ui->time->text(), QString("120000"));
    QCOMPARE(parkbook->ui->time->palette().color(QPalette::Text),
             parkbook->blueText.color(QPalette::Text));
    QVERIFY(parkbook->redText.color(QPalette::Text) != parkbook->blueText.color(QPalette::Text));
}

void TestMainWindow::statusTipsCanBeTurnedOff()
{
    TempHome home;
    auto parkbook = home.makeParkbook();
    QStatusBar* bar = parkbook->statusBar();
    QStatusTipEvent tip("Contact's Call");
    QCoreApplication::sendEvent(parkbook.get(), &tip);
    QCOMPARE(bar->currentMessage(), QString("Contact's Call"));

    parkbook->ui->actionStatus_Tips->trigger(); // unchecks it
    bar->clearMessage();
    QCoreApplication::sendEvent(parkbook.get(), &tip);
    QCOMPARE(bar->currentMessage(), QString());

    parkbook->ui->actionStatus_Tips->trigger();
    QCoreApplication::sendEvent(parkbook.get(), &tip);
    QCOMPARE(bar->currentMessage(), QString("Contact's Call"));
}

void TestMainWindow::closingRemembersOpenWindows()
{
    TempHome home;
    {
        auto parkbook = home.makeParkbook();
        parkbook->show();
        parkbook->parkLog->close();
        parkbook->ui->actionStatus_Tips->trigger();
        parkbook->close();
    }
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("Station/Visible").toString(), QString("Yes"));
    QCOMPARE(settings.value("ParkLog/Visible").toString(), QString("No"));
    QCOMPARE(settings.value("Main/StatusTips").toInt(), 0);

    // The next start restores the option and remembers the Station window as open.
    auto again = home.makeParkbook();
    QVERIFY(!again->ui->actionStatus_Tips->isChecked());
    QCOMPARE(again->station->visibility, QString("Yes"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
