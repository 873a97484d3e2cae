#include "app/parkbook.h"
#include "db/backups.h"
#include "db/csvreader.h"
#include "temphome.h"

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace
{
QStringList columns(const QString& table)
{
    QStringList names;
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.exec("SELECT name FROM PRAGMA_TABLE_INFO('" + table + "')");
    while (query.next())
        names << query.value(0).toString();
    return names;
}
} // namespace

class TestDatabases : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvFields_data();
    void csvFields();
    void emptyDataDirectoryCreatesDurableDatabaseOnce();
    void oldDatabaseGainsMigratedColumns();
    void stateCentres();
    void rotationKeepsTheNewest();
};

void TestDatabases::csvFields_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("quoted comma") << QByteArray("\"Washington, DC\",38.910,-77.015\n")
                                  << QStringList{"Washington, DC", "38.910", "-77.015"};
    QTest::newRow("doubled quotes")
        << QByteArray("\"say \"\"hi\"\"\",1,2\n") << QStringList{"say \"hi\"", "1", "2"};
    QTest::newRow("CR LF") << QByteArray("TX,31.476,-99.331\r\n")
                           << QStringList{"TX", "31.476", "-99.331"};
    QTest::newRow("no line feed loses last field")
        << QByteArray("TX,31.476,-99.331") << QStringList{"TX", "31.476"};
}

void TestDatabases::csvFields()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);
    QBuffer buffer(&line);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QList<QString> list{"stale"};
    Csv::processLine(buffer, list);
    QCOMPARE(QStringList(list), fields);
}

void TestDatabases::emptyDataDirectoryCreatesDurableDatabaseOnce()
{
    TempHome home;
    {
        auto parkbook = home.makeParkbook();
        QCOMPARE(home.prompter.count("New parkbook Database"), 1);
        QVERIFY(QFile::exists(home.dataPath() + "/parkbook.db"));
        for (const char* table : {"log", "station", "parks"})
            QVERIFY2(!columns(table).isEmpty(), table);

        // SQLite's durable defaults: a contact written survives a crash.
        QSqlQuery query(QSqlDatabase::database("parkbook"));
        QVERIFY(query.exec("PRAGMA synchronous") && query.next());
        QVERIFY(query.value(0).toInt() >= 1); // NORMAL or FULL, never OFF
        QVERIFY(query.exec("PRAGMA journal_mode") && query.next());
        const QString mode = query.value(0).toString().toLower();
        QVERIFY2(mode != "off" && mode != "memory", qPrintable(mode));
    }
    home.prompter.clear();
    auto again = home.makeParkbook();
    QCOMPARE(home.prompter.count("New parkbook Database"), 0);
    // Nothing to migrate in a file of the current layout: no copy.
    QVERIFY(Backups::list(home.dataPath()).isEmpty());
}

void TestDatabases::oldDatabaseGainsMigratedColumns()
{
    TempHome home;
    {
        // A file as an early version wrote it: no country/dxcc, no mst1..5,
        // no counters and no multi-state flag.
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "old");
        old.setDatabaseName(home.dataPath() + "/parkbook.db");
        QVERIFY(old.open());
        QSqlQuery query(old);
        QVERIFY(query.exec("CREATE TABLE log (id INTEGER PRIMARY KEY NOT NULL, date TEXT, time "
                           "TEXT, park TEXT, call TEXT, comment TEXT)"));
        QVERIFY(query.exec("CREATE TABLE station (id INTEGER PRIMARY KEY NOT NULL, station TEXT, "
                           "call TEXT)"));
        QVERIFY(query.exec("CREATE TABLE parks (id INTEGER PRIMARY KEY NOT NULL, date TEXT, park "
                           "TEXT, name TEXT)"));
        QVERIFY(query.exec("INSERT INTO log (date, time, park, call, comment) VALUES "
                           "('20230704', '150000', 'K-1234', 'Q2XX', 'kept')"));
        QVERIFY(query.exec("INSERT INTO parks (date, park, name) VALUES ('20230704', 'K-1234', "
                           "'Old Park')"));
        old.close();
    }
    QSqlDatabase::removeDatabase("old");

    auto parkbook = home.makeParkbook();
    // The copy taken before the tables changed opens, with the old layout and every row.
    const QList<Backups::Copy> copies = Backups::list(home.dataPath());
    QCOMPARE(copies.size(), 1);
    QVERIFY(Backups::check(copies[0].path));
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "copy");
        copy.setDatabaseName(copies[0].path);
        QVERIFY(copy.open());
        QSqlQuery query(copy);
        QVERIFY(query.exec("SELECT (SELECT group_concat(call || comment) FROM log), (SELECT "
                           "group_concat(name) FROM parks), (SELECT count(*) FROM "
                           "PRAGMA_TABLE_INFO('log'))") &&
                query.next());
        QCOMPARE(query.value(0).toString(), QString("Q2XXkept"));
        QCOMPARE(query.value(1).toString(), QString("Old Park"));
        QCOMPARE(query.value(2).toInt(), 6);
    }
    QSqlDatabase::removeDatabase("copy");
    QCOMPARE(columns("log").mid(6), (QStringList{"country", "dxcc"}));
    QCOMPARE(columns("station").mid(3), (QStringList{"mst1", "mst2", "mst3", "mst4", "mst5"}));
    QCOMPARE(columns("parks").mid(4), (QStringList{"QSOs", "LateQSOs", "P2Ps", "MultiSt"}));

    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("SELECT call, comment, country FROM log") && query.next());
    QCOMPARE(query.value("call").toString(), QString("Q2XX"));
    QCOMPARE(query.value("comment").toString(), QString("kept"));
    QVERIFY(query.value("country").isNull());
    QVERIFY(query.exec("SELECT name FROM parks") && query.next());
    QCOMPARE(query.value("name").toString(), QString("Old Park"));
}

void TestDatabases::stateCentres()
{
    TempHome home;
    QFile csv(home.infoPath() + "/State_LatLon.csv");
    QVERIFY(csv.open(QIODevice::WriteOnly | QIODevice::Truncate));
    csv.write(
        "State,Latitude,Longitude\r\nKS,38.494,-98.380\r\n\r\nXX\r\n\"T,X\",31.476,-99.331\n");
    csv.close();
    {
        // The empty and the short line are skipped.
        auto parkbook = home.makeParkbook();
        QSqlQuery query(QSqlDatabase::database("memory"));
        QVERIFY(query.exec("SELECT state, lat, lon FROM latlon ORDER BY id") && query.next());
        QCOMPARE(query.value("state").toString(), QString("KS"));
        QCOMPARE(query.value("lat").toFloat(), 38.494f);
        QCOMPARE(query.value("lon").toFloat(), -98.380f);
        QVERIFY(query.next());
        QCOMPARE(query.value("state").toString(), QString("T,X"));
        QVERIFY(!query.next());
    }

    // Without the file (nor the icon) start-up says so and goes on.
    QVERIFY(csv.remove());
    QVERIFY(QFile::remove(home.infoPath() + "/Parkbook.png"));
    auto parkbook = home.makeParkbook();
    QCOMPARE(home.prompter.count("Cannot open State_LatLon.csv file"), 1);
    QSqlQuery query(QSqlDatabase::database("memory"));
    QVERIFY(query.exec("SELECT (SELECT count(*) FROM latlon) + (SELECT count(*) FROM mLog)"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 0);
    QFile log(home.dataPath() + "/errorLog.txt");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("/State_LatLon.csv' file."));
}

// Copies taken one second apart, two of them in the same second: the newest
// ten stay, and files that are no copy are never touched.
void TestDatabases::rotationKeepsTheNewest()
{
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "rotation");
        db.setDatabaseName(dir.filePath("parkbook.db"));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("CREATE TABLE log (id INTEGER PRIMARY KEY, call TEXT)"));
        QDir(dir.path()).mkdir("Backups");
        const QStringList foreign{"parkbook-notes.db", "parkbook-20200101-000000.db.partial"};
        for (const QString& name : foreign)
            QFile(Backups::folder(dir.path()) + "/" + name).open(QIODevice::WriteOnly);
        const QDateTime start(QDate(2026, 6, 1), QTime(23, 59, 55), Qt::UTC);
        for (int i = 0; i < 12; ++i) {
            QVERIFY(Backups::write(db, dir.path(), start.addSecs(i == 11 ? 10 : i)));
            Backups::rotate(dir.path(), 10);
        }
        QStringList names;
        for (const Backups::Copy& copy : Backups::list(dir.path()))
            names << QFileInfo(copy.path).fileName();
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.mid(0, 3),
                 QStringList({"parkbook-20260602-000005-2.db", "parkbook-20260602-000005.db",
                              "parkbook-20260602-000004.db"}));
        QCOMPARE(names.last(), QString("parkbook-20260601-235957.db"));
        for (const QString& name : foreign)
            QVERIFY(QFile::exists(Backups::folder(dir.path()) + "/" + name));
        db.close();
    }
    QSqlDatabase::removeDatabase("rotation");
}

QTEST_MAIN(TestDatabases)
#include "tst_databases.moc"
