// The rules of the log file and the in-memory lists that need no window: the
// layout and its migrations, the import's duplicate rule, the activation
// records, the park list, the rows the upload check reads, and backups.
#include "db/activationlist.h"
#include "db/backups.h"
#include "db/logtable.h"
#include "db/parklist.h"
#include "db/parklogmemory.h"
#include "db/parkstable.h"
#include "db/recordwriter.h"
#include "db/schema.h"
#include "db/uploadrows.h"
#include "parklistdata.h"
#include "scratchdatabases.h"

#include <QtTest>
#include <numeric>

namespace
{
const char* const addContact =
    "INSERT INTO log (date, time, park, call, p2p, operator) VALUES (?, ?, ?, 'Q2AA', ?, ?)";
const char* const counters = "SELECT QSOs, LateQSOs, P2Ps FROM parks ORDER BY id";

ContactRow contact(const QString& date, const QString& time, const QString& park,
                   const QString& call, const QString& operatorCall = "K1OP")
{
    ContactRow row;
    std::tie(row.date, row.time, row.park, row.call, row.operatorCall) =
        std::tie(date, time, park, call, operatorCall);
    return row;
}

// Runs "; "-separated statements on `db`; the rows of the last one.
QStringList sql(const QSqlDatabase& db, const QString& statements)
{
    QStringList rows;
    for (const QString& statement : statements.split("; ", Qt::SkipEmptyParts))
        rows = rowsOf(db, statement);
    return rows;
}
} // namespace

class TestDataLayer : public QObject
{
    Q_OBJECT

    std::optional<ScratchDatabases> db;

private Q_SLOTS:
    void init() { db.emplace(); }
    void cleanup() { db.reset(); }

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
        // The scratch log's connection, moved to a file of the old layout.
        QSqlDatabase old = db->log;
        QVERIFY(Database::open(old, db->dir.filePath("old.db")));
        sql(old, layout);
        QVERIFY(Database::createTables(old));
        sql(old, "INSERT INTO parks (date, park, name) VALUES ('20230704', 'K-1234', 'Old')");
        const QString columns = "SELECT name FROM PRAGMA_TABLE_INFO('%1')";
        QHash<QString, QStringList> before;
        for (const char* table : {"log", "station", "parks"})
            before[table] = sql(old, columns.arg(table));
        QCOMPARE(Database::needsMigration(old), !added.isEmpty());
        QCOMPARE(Backups::migrationPending(old), !added.isEmpty());
        QVERIFY(Database::migrate(old) && Database::migrate(old));
        QVERIFY(!Database::needsMigration(old) && !Backups::migrationPending(old));
        QStringList found;
        for (auto table = before.cbegin(); table != before.cend(); ++table) {
            const QStringList now = sql(old, columns.arg(table.key()));
            QCOMPARE(now.first(table->size()), *table);
            for (const QString& column : now.mid(table->size()))
                found << table.key() + "." + column;
        }
        found.sort();
        QCOMPARE(found, added);
        QCOMPARE(sql(old, "SELECT name FROM parks"), QStringList{"Old"});
        QVERIFY(sql(old, "PRAGMA synchronous").value(0).toInt() >= 1); // NORMAL or FULL, never OFF
        QVERIFY(!QStringList({"off", "memory"}).contains(sql(old, "PRAGMA journal_mode").value(0)));
    }

    // The import's duplicate rule: the second contact differs from the first
    // in one column. The same contact is rewritten (date, call, mode and band
    // as first logged), any other is a new row.
    void duplicateRule()
    {
        // The column changed, its value in the second contact, and what is
        // stored: call band mode sent p2p, by row.
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
            {"no p2p twice", "p2p", nullptr, "Q2XX 20M SSB 59 "},
        };
        for (const auto& [name, column, value, stored] : rows) {
            db->run("DELETE FROM log");
            ContactRow first = contact("20230704", "", "K-1234", "Q2XX", "");
            std::tie(first.band, first.mode, first.sent, first.p2p) =
                std::make_tuple("20M", "SSB", "59", "K-0001");
            ContactRow second = first;
            for (const ContactColumns::Column& c : ContactColumns::all) {
                if (c.name == QString(column) && !value)
                    first.*c.member = second.*c.member = QString();
                else if (c.name == QString(column))
                    second.*c.member = value;
            }
            // Once in one file, then again in another.
            for (const ContactRow& row : {first, second}) {
                RecordWriter writer(db->log);
                QVERIFY(writer.begin() && writer.write(row) && writer.commit());
            }
            const QString found = db->rows("SELECT group_concat(call || ' ' || band || ' ' || "
                                           "mode || ' ' || sent || ' ' || p2p, ', ') FROM log")
                                      .value(0);
            QVERIFY2(found == stored, qPrintable(name + (": " + found)));
        }
    }

    // A file is written whole or not at all; the first refusal is what is said.
    // (That each activation record is asked for once, and never for one the
    // log has, is seen by the imports of tst_adifwindow and tst_faults.)
    void refusedWriteKeepsNothing()
    {
        db->run("CREATE TRIGGER refuse BEFORE INSERT ON log WHEN NEW.call = 'BAD' BEGIN SELECT "
                "RAISE(ABORT, 'refused'); END");
        RecordWriter writer(db->log);
        QVERIFY(writer.begin());
        for (const QString call : {"Q2XX", "BAD", "Q3YY"})
            QCOMPARE(bool(writer.write(contact("", "", "", call))), call != "BAD");
        QVERIFY(writer.firstFailure.contains("refused"));
        const DbResult committed = writer.commit();
        QVERIFY(!committed && committed.error.contains("refused"));
        QCOMPARE(db->rows("SELECT count(*) FROM log"), QStringList{"0"});
    }

    // The upload check reads the contacts of the park and dates exported, by
    // date and time.
    void uploadContacts()
    {
        db->run("INSERT INTO log (date, time, park, call) VALUES ('20230704', '1500', 'US-1234', "
                "'Q3'), ('20230704', '1400', 'US-1234', 'Q2'), ('20230703', '1400', 'US-1234', "
                "'Q1'), ('20230706', '1400', 'US-1234', 'Q5'), ('20230705', '0100', 'US-1234', "
                "'Q4'), ('20230704', '1400', 'US-9', 'Q9')");
        QStringList calls;
        for (const Adif::UploadContact& c :
             UploadRows::contacts(db->log, "US-1234", "20230704", "20230705"))
            calls << c.call;
        QCOMPARE(calls, QStringList({"Q2", "Q3", "Q4"}));
    }

    // A quoted field keeps its comma and its doubled quotes, a carriage return
    // is dropped; a blank or short line holds no state centre, nor does a last
    // line without its line feed, which loses its last field.
    void stateCentres()
    {
        QFile csv(db->dir.filePath("State_LatLon.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("State,Latitude,Longitude\r\nKS,38.494,-98.380\r\n\r\nXX\r\n\"T,\"\"X\"\"\","
                  "31.476,-99.331\nNY,40.7,-74.0");
        csv.close();
        QVERIFY(Database::loadStateCentres(db->memory, csv.fileName()));
        QCOMPARE(sql(db->memory, "SELECT group_concat(state || ' ' || round(lat, 3) || ' ' || "
                                 "round(lon, 3), ';') FROM latlon"),
                 QStringList{"KS 38.494 -98.38;T,\"X\" 31.476 -99.331"});
    }

    // Copies taken one second apart, two of them in the same second: the
    // newest ten stay, and files that are no copy are never touched.
    void rotationKeepsTheNewest()
    {
        const QString data = db->dir.path(), folder = Backups::folder(data);
        QVERIFY(QDir().mkpath(folder));
        const QStringList foreign{"parkbook-notes.db", "parkbook-20200101-000000.db.partial"};
        for (const QString& name : foreign)
            QFile(folder + "/" + name).open(QIODevice::WriteOnly);
        const QDateTime start(QDate(2026, 6, 1), QTime(23, 59, 55), Qt::UTC);
        for (int i = 0; i < 12; ++i) {
            QVERIFY(Backups::write(db->log, data, start.addSecs(i == 11 ? 10 : i)));
            Backups::rotate(data, 10);
        }
        QStringList names;
        for (const Backups::Copy& copy : Backups::list(data))
            names << QFileInfo(copy.path).fileName();
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.mid(0, 3),
                 QStringList({"parkbook-20260602-000005-2.db", "parkbook-20260602-000005.db",
                              "parkbook-20260602-000004.db"}));
        QCOMPARE(names.last(), QString("parkbook-20260601-235957.db"));
        for (const QString& name : foreign)
            QVERIFY(QFile::exists(folder + "/" + name));
    }

    // Every operator's contacts count; a p2p field of three references counts
    // once; a four-digit 0930 is late and 1230 is not. A record that holds its
    // counts already is not written again.
    void recount()
    {
        db->run(addContact, {{"20240301", "130000", "K-O'1", "K-1,K-2,K-3", "K1OP"},
                             {"20240301", "0930", "K-O'1", "", "K9OTHER"},
                             {"20240301", "1230", "K-O'1", "", "K1OP"},
                             {"20240301", "010000", "K-0002", "", "K1OP"},
                             {"20240302", "010000", "K-0003", "", "K1OP"}});
        db->run("INSERT INTO parks (date, park, QSOs) VALUES ('20240301', 'K-O''1', '9'), "
                "('20240302', 'K-O''1', '1'), ('20240302', 'K-0003', '')");
        // In the ranges a start recounts, one date's records kept together.
        const QStringList cuts = ParksTable::sliceDates(db->log, 1);
        QCOMPARE(cuts, QStringList{"20240302"});
        QCOMPARE(ParksTable::recountDates(db->log, "", cuts[0]) +
                     ParksTable::recountDates(db->log, cuts[0], ""),
                 3);
        QCOMPARE(db->rows(counters), QStringList({"3|1|1", "0|0|0", "1|1|0"}));
        const qint64 changes = Backups::totalChanges(db->log);
        QCOMPARE(ParksTable::recountAll(db->log), 3);
        QVERIFY(!ParksTable::storeCounts(db->log, "20240301", "K-O'1"));
        QCOMPARE(Backups::totalChanges(db->log), changes);

        const qint64 id = db->run(addContact, {{"20240302", "115959", "K-O'1", "K-9", "X"}});
        QVERIFY(ParksTable::storeCountsOf(db->log, id));
        QCOMPARE(db->rows(counters), QStringList({"3|1|1", "1|1|1", "1|1|0"}));
    }

    // A record for an arriving contact has counters 0 and no multi-state
    // flag; one from a Station slot has the flag ("Yes" or "") and no
    // counters; refreshing a slot's record keeps its id and its counters.
    void parkRecords()
    {
        QVERIFY(ParksTable::insertAdded(db->log, {0, "2024'03", "K-O'5", "O'Brien's", "1", "", "",
                                                  "", "US-VA", "Yes", "", "", ""}));
        QVERIFY(ParksTable::insertFromSlot(
            db->log, {0, "20240310", "K-1", "One", "", "", "", "", "", "", "", "", ""}));
        const QString select = "SELECT id, date, park, name, lat, location, ifnull(MultiSt, "
                               "'NULL'), ifnull(QSOs, 'NULL'), P2Ps FROM parks";
        QCOMPARE(db->rows(select), QStringList({"1|2024'03|K-O'5|O'Brien's|1|US-VA|NULL|0|0",
                                                "2|20240310|K-1|One||||NULL|"}));
        QVERIFY(ParksTable::updateFromSlot(
            db->log, {0, "2024'03", "K-O'5", "New", "7", "", "", "", "", "Yes", "", "", ""}));
        QCOMPARE(db->rows(select).first(), QString("1|2024'03|K-O'5|New|7||Yes|0|0"));
    }

    // Newest date first, the records of one date in the order made, whatever
    // index SQLite reads (neither reference order is the order made here);
    // hunting days apart. A park's current record is that of the date, else
    // its newest.
    void activationList()
    {
        db->run("INSERT INTO parks (date, park) VALUES ('20240301', 'K-2'), ('20240301', 'K-3'), "
                "('20240302', 'HUNTER'), ('20240301', 'K-1'), ('20240228', 'K-1'), "
                "('20240302', 'K-4'), ('20240302', 'K-4')");
        auto listIds = [this](bool hunting) {
            QList<qint64> ids;
            ParksTable::eachListed(
                db->log, hunting,
                [&ids](const ParksTable::ListedRecord& record) { ids.append(record.id); });
            return ids;
        };
        QCOMPARE(listIds(false), (QList<qint64>{6, 7, 1, 2, 4, 5}));
        QCOMPARE(listIds(true), QList<qint64>{3});
        QCOMPARE(ParksTable::findActivation(db->log, "20240228", "K-1"), 5);
        QCOMPARE(ParksTable::findActivation(db->log, "20240310", "K-1"), 4);
        QCOMPARE(ParksTable::findActivation(db->log, "20240302", "K-4"), 6);
        QCOMPARE(ParksTable::findActivation(db->log, "20240302", "K-9"), 0);

        // The list on screen numbers its lines from 1 at every rebuild (its
        // steps stop at the end: tst_parks' movesAndDelete).
        QVERIFY(ActivationList::rebuild(db->memory, {9, 8}));
        QVERIFY(ActivationList::rebuild(db->memory, {6, 1, 2}));
        QCOMPARE(ActivationList::lineOf(db->memory, 2), 3);
        // A long list is written many rows a statement: each keeps its line.
        QList<qint64> many(250);
        std::iota(many.begin(), many.end(), 1000);
        QVERIFY(ActivationList::rebuild(db->memory, many));
        for (const int line : {1, 100, 101, 250, 251})
            QCOMPARE(ActivationList::parkIdAt(db->memory, line), line > 250 ? 0 : 999 + line);
    }

    // Only the contacts of the park shown are lines; an edit of a copy keeps
    // its date and park and tells its line.
    void parkLogMemory()
    {
        QCOMPARE(ParkLogMemory::add(db->memory, 11, contact("d", "1", "K-1", "Q2AA"), true).id, 1);
        QCOMPARE(ParkLogMemory::add(db->memory, 12, contact("d", "1", "K-2", "Q2AA"), false).id, 0);
        QCOMPARE(ParkLogMemory::add(db->memory, 13, contact("d", "2", "K-1", "Q2BB"), true).id, 2);
        QVERIFY(ParkLogMemory::contains(db->memory, 12));
        const ListEntry last = ParkLogMemory::step(db->memory, Step::Last, 0).value_or(ListEntry());
        QCOMPARE(QString("%1:%2").arg(last.line).arg(last.rowId), QString("2:13"));
        ContactRow edited = contact("other", "3", "K-9", "Q2CC");
        edited.comment = "edited";
        QCOMPARE(ParkLogMemory::update(db->memory, 13, edited).id, 2);
        const ContactRow stored = ParkLogMemory::find(db->memory, 13).value_or(ContactRow());
        QCOMPARE(QStringList({stored.date, stored.park, stored.call, stored.comment}).join('|'),
                 QString("d|K-1|Q2CC|edited"));
    }

    void logTable()
    {
        // Every column is written and read under its own name.
        ContactRow full;
        int n = 0;
        for (const ContactColumns::Column& column : ContactColumns::all)
            full.*column.member = QString("v'%1").arg(++n);
        const qint64 id = LogTable::insert(db->log, full).id;
        const ContactRow read = LogTable::find(db->log, id).value_or(ContactRow());
        for (const ContactColumns::Column& column : ContactColumns::all)
            QCOMPARE(read.*column.member, full.*column.member);
        // An edit rewrites everything but the date and the park.
        ContactRow edit = contact("20990101", "0930", "K-9", "Q2ZZ", "N1NEW");
        edit.station = "N1STN";
        QVERIFY(LogTable::update(db->log, id, edit));
        QCOMPARE(db->rows("SELECT date, park, time, call, station, operator, comment FROM log"),
                 QStringList("v'1|v'3|0930|Q2ZZ|N1STN|N1NEW|"));
        QVERIFY(!LogTable::update(db->log, id + 1, edit));
        QVERIFY(LogTable::remove(db->log, id));

        // The park log: one operator's contacts of one park and date, by time.
        for (const ContactRow& row : {contact("20260601", "1300", "K-O'1", "Q2B", "K1'OP"),
                                      contact("20260601", "1200", "K-O'1", "Q2A", "K1'OP"),
                                      contact("20260601", "1100", "K-O'1", "Q2X", "K9OTHER"),
                                      contact("20260531", "1100", "K-O'1", "Q2Y", "K1'OP"),
                                      contact("20260601", "1100", "K-0003", "Q2Z", "K1'OP")})
            QVERIFY(LogTable::insert(db->log, row));
        QStringList calls;
        for (const LogTable::Contact& c : LogTable::parkLog(db->log, "20260601", "K1'OP", "K-O'1"))
            calls << c.row.call;
        QCOMPARE(calls.join(' '), QString("Q2A Q2B"));

        // The contact log: newest date first, then park (two alike up to their
        // ninth byte), time and id; read in parts as at once.
        for (const char* park : {"DE-0001-B", "DE-0001-A"})
            QVERIFY(LogTable::insert(db->log, contact("20260601", "1100", park, park + 8)));
        for (const int part : {2, 100}) {
            LogTable::NewestFirst contacts(db->log);
            int turns = 1;
            while (contacts.readMore(part))
                ++turns;
            calls = {QString::number(turns)};
            contacts.each([&calls](const auto& c) { calls << QString::fromUtf8(c.call); });
            QCOMPARE(calls.join(' '),
                     (part == 2 ? "4" : "1") + QString(" A B Q2Z Q2X Q2A Q2B Q2Y"));
        }
    }

    // The POTA park list: quoted fields, a multi-state park, a retired park,
    // accents, CR LF, a last line without its line feed, and the K- form of a
    // US- reference. The log it shares the file with is left alone, and a
    // damaged file leaves the loaded list as it was, in no open transaction.
    void parkList()
    {
        // The list of ParkListData beside one contact.
        db->run("INSERT INTO log (park, call) VALUES ('US-0001', 'K1ABC')");
        const ParkList::LoadResult loaded = ParkList::load(db->log, ParkListData::csv);
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        QCOMPARE(QString("%1 %2").arg(loaded.parks).arg(loaded.active), QString("6 5"));
        const QByteArray& good = ParkListData::csv;
        const QByteArray header = good.left(good.indexOf('\n') + 1);
        const std::pair<const char*, QByteArray> bad[] = {
            {"other header", "\"reference\",\"name\"\n" + good.mid(header.size())},
            {"cut inside a quote", good.left(good.lastIndexOf("Sumidero"))},
            {"cut inside a row", good.left(good.lastIndexOf(",\"16.8\""))},
            {"text after a quote", header + "\"US-2\"x,\"a\",\"1\",\"1\",\"\",\"\",\"\",\"\""},
            {"header only", header},
            {"empty", QByteArray()},
        };
        for (const auto& [name, csv] : bad) {
            const ParkList::LoadResult result = ParkList::load(db->log, csv);
            QVERIFY2(!result.ok && !result.error.isEmpty(), name);
            QVERIFY2(db->rows("SELECT count(*) FROM parkList") == QStringList{"6"}, name);
            QVERIFY2(db->log.transaction() && db->log.commit(), name);
        }
        // The statuses and the other parks' texts are seen through the windows
        // (tst_parks); here the position of a renamed park and the
        // last row, whose last field has no line feed after it, typed loosely.
        const std::pair<const char*, QString> rows[] = {
            {"K-4556", "US-4556|Lake \"Tahoe\" State Park, North|1|US-NV|39.1|-120.0|DM09"},
            {" mx-0001", "MX-0001|Parque Nacional Cañón del Sumidero|1|MX-CHP|16.8|-93.1|EK56"}};
        for (const auto& [typed, park] : rows) {
            const ParkList::Park p = ParkList::lookup(db->log, typed).park;
            QCOMPARE(QStringList({p.reference, p.name, p.active, p.locations().join(','),
                                  p.latitude, p.longitude, p.grid})
                         .join('|'),
                     park);
        }
        QCOMPARE(db->rows("SELECT park, call FROM log"), QStringList{"US-0001|K1ABC"});
        QCOMPARE(UploadRows::listedParks(db->log, {"US-0001", "K-0001"}).value_or(QSet<QString>()),
                 QSet<QString>{"US-0001"});
    }

    // A list is stored in groups of parks (the last one short here); an
    // empty list, or none, is no list: no park is called unknown, and the
    // upload check does not look.
    void parkListGroupsAndNoList()
    {
        QByteArray csv = ParkListData::csv.left(ParkListData::csv.indexOf('\n') + 1);
        for (int n = 1; n <= 37; ++n)
            csv += QString("\"US-%1\",\"Park %1\",\"1\",\"291\",\"US-ME\",\"44\",\"-68\",\"FN\"\n")
                       .arg(n, 4, 10, QChar('0'))
                       .toUtf8();
        QCOMPARE(ParkList::load(db->log, csv).parks, 37);
        QCOMPARE(db->rows("SELECT count(*) FROM parkList"), QStringList{"37"});
        for (const char* reference : {"US-0001", "US-0016", "US-0017", "US-0037"})
            QCOMPARE(ParkList::find(db->log, reference)->name, "Park " + QString(reference).mid(3));
        for (const char* statement : {"DELETE FROM parkList", "DROP TABLE parkList"}) {
            db->run(statement);
            QCOMPARE(ParkList::lookup(db->log, "US-0002").status, ParkList::Lookup::NoList);
            QVERIFY(!UploadRows::listedParks(db->log, {"US-0001"}));
        }
    }
};

QTEST_GUILESS_MAIN(TestDataLayer)
#include "tst_datalayer.moc"
