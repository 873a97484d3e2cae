#include "db/backups.h"
#include "db/database.h"
#include "db/recordwriter.h"
#include "db/schema.h"
#include "db/uploadrows.h"

#include <QSqlQuery>
#include <QtTest>

// The rules of the log file that need no window: its layout and migrations,
// the import's duplicate rule, the rows the upload check reads, and backups.
class TestDatabases : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QSqlDatabase db;

    // Runs `;`-separated statements; the first column of the last one's rows.
    QStringList sql(const QString& statements)
    {
        QStringList values;
        for (const QString& statement : statements.split("; ", Qt::SkipEmptyParts)) {
            QSqlQuery query(db);
            values.clear();
            if (!query.exec(statement))
                return {"<error> " + statement};
            while (query.next())
                values << query.value(0).toString();
        }
        return values;
    }
    QStringList columns(const QString& table)
    {
        return sql("SELECT name FROM PRAGMA_TABLE_INFO('" + table + "')");
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(dir.filePath("parkbook.db"));
        db = QSqlDatabase::addDatabase("QSQLITE", "test");
        QVERIFY(Database::open(db, dir.filePath("parkbook.db")));
    }
    void cleanup()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("test");
    }

    // Files of older versions: the missing columns are added at the end of
    // their tables, every row stays, and a second run changes nothing. A file
    // of today's layout needs nothing, and what is written to it is stored for
    // good (a crash may lose nothing committed).
    void migrations_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("added"); // table.column
        QString log = Schema::createLog, station = Schema::createStation;
        QTest::newRow("first release")
            << log.remove("country TEXT, dxcc TEXT, ") + "; " +
                   station.remove(QRegularExpression(", mst. TEXT")) +
                   "; CREATE TABLE parks (id INTEGER PRIMARY KEY NOT NULL, date TEXT, park TEXT, "
                   "name TEXT, lat TEXT, lon TEXT, county TEXT, state TEXT, location TEXT)"
            << QString("log.country log.dxcc parks.LateQSOs parks.MultiSt parks.P2Ps parks.QSOs "
                       "station.mst1 station.mst2 station.mst3 station.mst4 station.mst5")
                   .split(' ');
        QTest::newRow("counters without multi-state")
            << QString(Schema::createParks).remove("MultiSt TEXT, ")
            << QStringList{"parks.MultiSt"};
        QTest::newRow("today's") << "" << QStringList();
    }
    void migrations()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, added);
        sql(layout);
        QVERIFY(Database::createTables(db));
        sql("INSERT INTO parks (date, park, name) VALUES ('20230704', 'K-1234', 'Old')");
        QHash<QString, QStringList> before;
        for (const char* table : {"log", "station", "parks"})
            before[table] = columns(table);
        QCOMPARE(Database::needsMigration(db), !added.isEmpty());
        QCOMPARE(Backups::migrationPending(db), !added.isEmpty());
        QVERIFY(Database::migrate(db) && Database::migrate(db));
        QVERIFY(!Database::needsMigration(db) && !Backups::migrationPending(db));
        QStringList found;
        for (auto table = before.cbegin(); table != before.cend(); ++table) {
            const QStringList now = columns(table.key());
            QCOMPARE(now.first(table->size()), *table);
            for (const QString& column : now.mid(table->size()))
                found << table.key() + "." + column;
        }
        found.sort();
        QCOMPARE(found, added);
        QCOMPARE(sql("SELECT name FROM parks"), QStringList{"Old"});
        QVERIFY(sql("PRAGMA synchronous").value(0).toInt() >= 1); // NORMAL or FULL, never OFF
        QVERIFY(!QStringList({"off", "memory"}).contains(sql("PRAGMA journal_mode").value(0)));
    }

    // The import's duplicate rule: the second contact differs from the first
    // in one column. The same contact is rewritten (date, call, mode and band
    // as first logged), any other is a new row.
    void duplicateRule_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored"); // call band mode sent p2p, by row
        const char* const rows[][4] = {
            {"new report", "sent", "57", "Q2XX 20M SSB 57 K-0001"},
            {"band in other case", "band", "20m", "Q2XX 20M SSB 59 K-0001"},
            {"mode in other case", "mode", "ssb", "Q2XX 20M SSB 59 K-0001"},
            {"other band", "band", "40M", "Q2XX 20M SSB 59 K-0001, Q2XX 40M SSB 59 K-0001"},
            {"other call", "call", "Q3YY", "Q2XX 20M SSB 59 K-0001, Q3YY 20M SSB 59 K-0001"},
            {"other park", "park", "K-9", "Q2XX 20M SSB 59 K-0001, Q2XX 20M SSB 59 K-0001"},
            {"other date", "date", "20230705", "Q2XX 20M SSB 59 K-0001, Q2XX 20M SSB 59 K-0001"},
            {"other station's park", "p2p", "K-0002",
             "Q2XX 20M SSB 59 K-0001, Q2XX 20M SSB 59 K-0002"},
            // Values are stored as text, so a contact without one is found again.
            {"no p2p twice", "p2p", "<null>", "Q2XX 20M SSB 59 "},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }
    void duplicateRule()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QVERIFY(Database::createTables(db) && Database::migrate(db));
        ContactRow first;
        first.date = "20230704";
        first.park = "K-1234";
        first.call = "Q2XX";
        first.band = "20M";
        first.mode = "SSB";
        first.sent = "59";
        first.p2p = "K-0001";
        ContactRow second = first;
        for (const ContactColumns::Column& c : ContactColumns::all) {
            if (c.name == column && value == "<null>")
                first.*c.member = second.*c.member = QString();
            else if (c.name == column)
                second.*c.member = value;
        }
        // Once in one file, then again in another.
        for (const ContactRow& row : {first, second}) {
            RecordWriter writer(db);
            QVERIFY(writer.begin() && writer.write(row) && writer.commit());
        }
        QTEST(sql("SELECT group_concat(call || ' ' || band || ' ' || mode || ' ' || sent || ' ' || "
                  "p2p, ', ') FROM log")
                  .value(0),
              "stored");
    }

    // A file is written whole or not at all; the first refusal is what is said.
    void refusedWriteKeepsNothing()
    {
        QVERIFY(Database::createTables(db));
        sql("INSERT INTO parks (date, park) VALUES ('20230704', 'K-1234'); CREATE TRIGGER refuse "
            "BEFORE INSERT ON log WHEN NEW.call = 'BAD' BEGIN SELECT RAISE(ABORT, 'refused');END");
        RecordWriter writer(db);
        QVERIFY(writer.begin());
        ContactRow row;
        for (const char* call : {"Q2XX", "BAD", "Q3YY"}) {
            row.call = call;
            QCOMPARE(bool(writer.write(row)), row.call != "BAD");
        }
        QVERIFY(writer.firstFailure.contains("refused"));
        const DbResult committed = writer.commit();
        QVERIFY(!committed && committed.error.contains("refused"));
        QCOMPARE(sql("SELECT count(*) FROM log"), QStringList{"0"});
        // Each activation record is asked for once, and never for one the log has.
        QVERIFY(!writer.needsParkRecord("20230704", "K-1234"));
        QVERIFY(writer.needsParkRecord("20230705", "K-1234"));
        QVERIFY(!writer.needsParkRecord("20230705", "K-1234"));
    }

    // The upload check reads the contacts of the park and dates exported, by
    // date and time.
    void uploadContacts()
    {
        QVERIFY(Database::createTables(db));
        sql("INSERT INTO log (date, time, park, call) VALUES ('20230704', '1500', 'US-1234', "
            "'Q3'), ('20230704', '1400', 'US-1234', 'Q2'), ('20230703', '1400', 'US-1234', 'Q1'), "
            "('20230706', '1400', 'US-1234', 'Q5'), ('20230705', '0100', 'US-1234', 'Q4'), "
            "('20230704', '1400', 'US-9', 'Q9')");
        QStringList calls;
        for (const Adif::UploadContact& c :
             UploadRows::contacts(db, "US-1234", "20230704", "20230705"))
            calls << c.call;
        QCOMPARE(calls, QStringList({"Q2", "Q3", "Q4"}));
    }

    // A quoted field keeps its comma and its doubled quotes, a carriage return
    // is dropped; a blank or short line holds no state centre, nor does a last
    // line without its line feed, which loses its last field.
    void stateCentres()
    {
        db.close();
        QVERIFY(Database::openMemory(db));
        QVERIFY(!Database::loadStateCentres(db, dir.filePath("missing.csv")));
        QFile csv(dir.filePath("State_LatLon.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("State,Latitude,Longitude\r\nKS,38.494,-98.380\r\n\r\nXX\r\n\"T,\"\"X\"\"\","
                  "31.476,-99.331\nNY,40.7,-74.0");
        csv.close();
        QVERIFY(Database::loadStateCentres(db, csv.fileName()));
        QCOMPARE(sql("SELECT group_concat(state || ' ' || round(lat, 3) || ' ' || round(lon, 3), "
                     "';') FROM latlon"),
                 QStringList{"KS 38.494 -98.38;T,\"X\" 31.476 -99.331"});
    }

    // Copies taken one second apart, two of them in the same second: the
    // newest ten stay, and files that are no copy are never touched.
    void rotationKeepsTheNewest()
    {
        QVERIFY(Database::createTables(db));
        const QString folder = Backups::folder(dir.path());
        QVERIFY(QDir().mkpath(folder));
        const QStringList foreign{"parkbook-notes.db", "parkbook-20200101-000000.db.partial"};
        for (const QString& name : foreign)
            QFile(folder + "/" + name).open(QIODevice::WriteOnly);
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
            QVERIFY(QFile::exists(folder + "/" + name));
        QVERIFY(QDir(folder).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestDatabases)
#include "tst_databases.moc"
