#include "app/parkbook.h"
#include "app/utcclock.h"
#include "db/backups.h"
#include "db/schema.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace
{
QStringList column(const QString& sql, const QString& connection = "parkbook")
{
    QStringList list;
    QSqlQuery query(QSqlDatabase::database(connection));
    query.exec(sql);
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

QByteArray errorLog(const TempHome& home)
{
    QFile file(home.dataPath() + "/errorLog.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Starts, exits and the Restore Backup menu, as the operator meets them.
class TestBackupMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 0), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }

    // The first start says it makes a new log, later ones do not. An exit
    // after a contact leaves a copy, one without changes none; restoring the
    // copy keeps the log it replaces as another copy.
    void exitsAndRestoreRoundTrip()
    {
        TempHome home;
        {
            auto pb = home.makeParkbook();
            QCOMPARE(home.prompter.count("New parkbook Database"), 1);
            fillTestStation(*pb);
            logContact(*pb, "N1AAA");
            QVERIFY(pb->close());
        }
        QCOMPARE(Backups::list(home.dataPath()).size(), 1);
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(15, 0), Qt::UTC));
        home.prompter.clear();
        {
            auto pb = home.makeParkbook();
            QVERIFY(pb->close());
        }
        QCOMPARE(Backups::list(home.dataPath()).size(), 1);
        QCOMPARE(home.prompter.count("New parkbook Database"), 0);

        auto pb = home.makeParkbook();
        fillTestStation(*pb);
        logContact(*pb, "N2BBB");
        home.prompter.clear();
        home.prompter.choices.enqueue(0);
        pb->ui->actionRestore_Backup->trigger();
        QCOMPARE(home.prompter.chooserItems,
                 QStringList{"2026-06-01 14:00:00 UTC, 1 contact (parkbook-20260601-140000.db)"});
        QCOMPARE(column("SELECT call FROM log"), QStringList{"N1AAA"});
        QCOMPARE(home.prompter.titles().last(), QString("Backup Restored"));
        QCOMPARE(Backups::list(home.dataPath()).first().contacts, 2); // the log replaced
        // The restored log is the one written from now on.
        logContact(*pb, "N3CCC");
        QCOMPARE(column("SELECT call FROM log ORDER BY id"), QStringList({"N1AAA", "N3CCC"}));
    }

    // A log of an early version is copied as it was before its tables change;
    // without the state centres (nor the icon) the start says so and goes on.
    // A copy that cannot be written later is said, and the exit completes.
    void olderLogThenFailedBackup()
    {
        TempHome home;
        {
            QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "old");
            old.setDatabaseName(home.dataPath() + "/parkbook.db");
            QVERIFY(old.open());
            // Before a contact had a country and a DXCC entity.
            QVERIFY(QSqlQuery(old).exec(
                QString(Schema::createLog).remove("country TEXT, dxcc TEXT, ")));
            QVERIFY(QSqlQuery(old).exec("INSERT INTO log (call) VALUES ('Q2XX')"));
        }
        QSqlDatabase::removeDatabase("old");
        QVERIFY(QFile::remove(home.infoPath() + "/State_LatLon.csv"));
        QVERIFY(QFile::remove(home.infoPath() + "/Parkbook.png"));
        auto pb = home.makeParkbook();
        QCOMPARE(home.prompter.count("Cannot open State_LatLon.csv file"), 1);
        QVERIFY(errorLog(home).contains("/State_LatLon.csv' file."));
        QCOMPARE(column("SELECT count(*) FROM mLog", "memory"), QStringList{"0"});
        QCOMPARE(column("SELECT count(*) FROM PRAGMA_TABLE_INFO('log')"), QStringList{"28"});
        const Backups::Copy copy = Backups::list(home.dataPath()).value(0);
        QCOMPARE(copy.contacts, 1);
        QSqlDatabase::addDatabase("QSQLITE", "copy").setDatabaseName(copy.path);
        QCOMPARE(column("SELECT count(*) FROM PRAGMA_TABLE_INFO('log')", "copy"),
                 QStringList{"26"});
        QSqlDatabase::removeDatabase("copy");

        fillTestStation(*pb);
        logContact(*pb, "N1AAA");
        // The exit's copy is first written beside its name; a folder there stops it.
        const QString folder = Backups::folder(home.dataPath());
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30), Qt::UTC));
        QVERIFY(QDir().mkpath(folder + "/parkbook-20260601-143000.db.partial"));
        home.prompter.clear();
        QVERIFY(pb->close());
        QCOMPARE(home.prompter.titles(), QStringList{"Backup Not Written"});
        QVERIFY(!QSqlDatabase::database("parkbook", false).isOpen());
        QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("Main/BackupsKept").toInt(),
                 10);
        QVERIFY(errorLog(home).contains("Cannot write a backup of the log to " + folder.toUtf8()));
        QCOMPARE(Backups::list(home.dataPath()).size(), 1); // the older copy stays
    }
};

QTEST_MAIN(TestBackupMenu)
#include "tst_backupmenu.moc"
