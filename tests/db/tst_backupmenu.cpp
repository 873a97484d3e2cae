#include "app/parkbook.h"
#include "app/utcclock.h"
#include "db/backups.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
QStringList calls()
{
    QStringList list;
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.exec("SELECT call FROM log ORDER BY id");
    while (query.next())
        list << query.value(0).toString();
    return list;
}

void logContact(Parkbook& pb, const QString& call)
{
    pb.ui->call->setText(call);
    pb.on_logContact_pressed();
    QVERIFY(!pb.contactWriteFailed);
}

// Root writes into a read-only folder all the same; without CAP_DAC_OVERRIDE
// it may not.
void overrideFilePermissions(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    const quint32 bit = 1u << CAP_DAC_OVERRIDE;
    data[0].effective =
        on ? data[0].effective | (data[0].permitted & bit) : data[0].effective & ~bit;
    syscall(SYS_capset, &header, data);
}
} // namespace

class TestBackupMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 0), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }
    void exitsAndRestoreRoundTrip();
    void failedBackupIsSaidAndExitCompletes();
};

// An exit after a contact leaves a copy, one without changes none; restoring
// the copy keeps the log it replaces as another copy.
void TestBackupMenu::exitsAndRestoreRoundTrip()
{
    TempHome home;
    {
        auto pb = home.makeParkbook();
        fillTestStation(*pb);
        logContact(*pb, "N1AAA");
        QVERIFY(pb->close());
    }
    QCOMPARE(Backups::list(home.dataPath()).size(), 1);
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(15, 0), Qt::UTC));
    {
        auto pb = home.makeParkbook();
        QVERIFY(pb->close());
    }
    QCOMPARE(Backups::list(home.dataPath()).size(), 1);

    auto pb = home.makeParkbook();
    fillTestStation(*pb);
    logContact(*pb, "N2BBB");
    home.prompter.clear();
    home.prompter.choices.enqueue(0);
    pb->ui->actionRestore_Backup->trigger();
    QCOMPARE(home.prompter.chooserItems,
             QStringList{"2026-06-01 14:00:00 UTC, 1 contact (parkbook-20260601-140000.db)"});
    QCOMPARE(calls(), QStringList{"N1AAA"});
    QCOMPARE(home.prompter.titles().last(), QString("Backup Restored"));
    QCOMPARE(Backups::list(home.dataPath()).first().contacts, 2); // the log replaced
    // The restored log is the one written from now on.
    logContact(*pb, "N3CCC");
    QCOMPARE(calls(), QStringList({"N1AAA", "N3CCC"}));
}

void TestBackupMenu::failedBackupIsSaidAndExitCompletes()
{
    TempHome home;
    auto pb = home.makeParkbook();
    QVERIFY(pb->backUpLog());
    fillTestStation(*pb);
    logContact(*pb, "N1AAA");
    const QString folder = Backups::folder(home.dataPath());
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    overrideFilePermissions(false);
    const bool writable = QFile(folder + "/probe").open(QIODevice::WriteOnly);
    home.prompter.clear();
    const bool closed = pb->close();
    overrideFilePermissions(true);
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QVERIFY(!writable && closed);
    QCOMPARE(home.prompter.titles(), QStringList{"Backup Not Written"});
    QVERIFY(!QSqlDatabase::database("parkbook", false).isOpen());
    QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("Main/BackupsKept").toInt(), 10);
    QFile errorLog(home.dataPath() + "/errorLog.txt");
    QVERIFY(errorLog.open(QIODevice::ReadOnly));
    QVERIFY(errorLog.readAll().contains("Cannot write a backup of the log to " + folder.toUtf8()));
    QCOMPARE(Backups::list(home.dataPath()).size(), 1); // the older copy stays
}

QTEST_MAIN(TestBackupMenu)
#include "tst_backupmenu.moc"
