// The rules of the activation records, the log and the in-memory lists, on a
// database without a window.
#include "db/activationlist.h"
#include "db/backups.h"
#include "db/logtable.h"
#include "db/parklogmemory.h"
#include "db/parkstable.h"
#include "scratchdatabases.h"

#include <QtTest>

namespace
{
const char* const addContact =
    "INSERT INTO log (date, time, park, call, p2p, operator) VALUES (?, ?, ?, 'Q2AA', ?, ?)";
const char* const addRecord = "INSERT INTO parks (date, park, QSOs) VALUES (?, ?, ?)";
const char* const counters = "SELECT QSOs, LateQSOs, P2Ps FROM parks ORDER BY id";

ContactRow contact(const QString& date, const QString& time, const QString& park,
                   const QString& call, const QString& operatorCall = "K1OP")
{
    ContactRow row;
    row.date = date;
    row.time = time;
    row.park = park;
    row.call = call;
    row.operatorCall = operatorCall;
    return row;
}

QString entry(std::optional<ListEntry> entry)
{
    return entry ? QString("%1:%2").arg(entry->line).arg(entry->rowId) : "none";
}
} // namespace

class TestActivationRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every operator's contacts count; a p2p field of three references counts
    // once; a four-digit 0930 is late and 1230 is not. A record that holds its
    // counts already is not written again.
    void recount()
    {
        ScratchDatabases db;
        db.run(addContact, {{"20240301", "130000", "K-O'1", "K-1,K-2,K-3", "K1OP"},
                            {"20240301", "0930", "K-O'1", "", "K9OTHER"},
                            {"20240301", "1230", "K-O'1", "", "K1OP"},
                            {"20240301", "010000", "K-0002", "", "K1OP"},
                            {"20240302", "010000", "K-0003", "", "K1OP"}});
        db.run(
            addRecord,
            {{"20240301", "K-O'1", "9"}, {"20240302", "K-O'1", "1"}, {"20240302", "K-0003", ""}});
        QCOMPARE(ParksTable::recountAll(db.log), 3);
        QCOMPARE(db.rows(counters), QStringList({"3|1|1", "0|0|0", "1|1|0"}));
        const qint64 changes = Backups::totalChanges(db.log);
        QCOMPARE(ParksTable::recountAll(db.log), 3);
        QVERIFY(!ParksTable::storeCounts(db.log, "20240301", "K-O'1"));
        QCOMPARE(Backups::totalChanges(db.log), changes);

        const qint64 id = db.run(addContact, {{"20240302", "115959", "K-O'1", "K-9", "X"}});
        QVERIFY(ParksTable::storeCountsOf(db.log, id));
        QCOMPARE(db.rows(counters), QStringList({"3|1|1", "1|1|1", "1|1|0"}));
    }

    // A record for an arriving contact has counters 0 and no multi-state
    // flag; one from a Station slot has the flag ("Yes" or "") and no
    // counters; refreshing a slot's record keeps its id and its counters.
    void parkRecords()
    {
        ScratchDatabases db;
        QVERIFY(ParksTable::insertAdded(db.log, {0, "2024'03", "K-O'5", "O'Brien's", "1", "", "",
                                                 "", "US-VA", "Yes", "", "", ""}));
        QVERIFY(ParksTable::insertFromSlot(
            db.log, {0, "20240310", "K-1", "One", "", "", "", "", "", "", "", "", ""}));
        const QString select = "SELECT id, date, park, name, lat, location, ifnull(MultiSt, "
                               "'NULL'), ifnull(QSOs, 'NULL'), P2Ps FROM parks";
        QCOMPARE(db.rows(select), QStringList({"1|2024'03|K-O'5|O'Brien's|1|US-VA|NULL|0|0",
                                               "2|20240310|K-1|One||||NULL|"}));
        QVERIFY(ParksTable::updateFromSlot(
            db.log, {0, "2024'03", "K-O'5", "New", "7", "", "", "", "", "Yes", "", "", ""}));
        QCOMPARE(db.rows(select).first(), QString("1|2024'03|K-O'5|New|7||Yes|0|0"));
    }

    // Newest date first, the records of one date in the order made, whatever
    // index SQLite reads (neither reference order is the order made here);
    // hunting days apart. A park's current record is that of the date, else
    // its newest.
    void activationList()
    {
        ScratchDatabases db;
        db.run(addRecord, {{"20240301", "K-2", ""},
                           {"20240301", "K-3", ""},
                           {"20240302", "HUNTER", ""},
                           {"20240301", "K-1", ""},
                           {"20240228", "K-1", ""},
                           {"20240302", "K-4", ""},
                           {"20240302", "K-4", ""}});
        QCOMPARE(ParksTable::listIds(db.log, false), (QList<qint64>{6, 7, 1, 2, 4, 5}));
        QCOMPARE(ParksTable::listIds(db.log, true), QList<qint64>{3});
        QCOMPARE(ParksTable::findActivation(db.log, "20240228", "K-1"), 5);
        QCOMPARE(ParksTable::findActivation(db.log, "20240310", "K-1"), 4);
        QCOMPARE(ParksTable::findActivation(db.log, "20240302", "K-4"), 6);
        QCOMPARE(ParksTable::findActivation(db.log, "20240302", "K-9"), 0);

        // The list on screen numbers its lines from 1 at every rebuild.
        QVERIFY(ActivationList::rebuild(db.memory, {9, 8}));
        QVERIFY(ActivationList::rebuild(db.memory, {6, 1, 2}));
        QCOMPARE(ActivationList::lineOf(db.memory, 2), 3);
        QCOMPARE(entry(ActivationList::step(db.memory, Step::Next, 3)), QString("none"));
    }

    // Only the contacts of the park shown are lines; an edit of a copy keeps
    // its date and park and tells its line.
    void parkLogMemory()
    {
        ScratchDatabases db;
        QCOMPARE(ParkLogMemory::add(db.memory, 11, contact("d", "1", "K-1", "Q2AA"), true).id, 1);
        QCOMPARE(ParkLogMemory::add(db.memory, 12, contact("d", "1", "K-2", "Q2AA"), false).id, 0);
        QCOMPARE(ParkLogMemory::add(db.memory, 13, contact("d", "2", "K-1", "Q2BB"), true).id, 2);
        QVERIFY(ParkLogMemory::contains(db.memory, 12));
        QCOMPARE(entry(ParkLogMemory::step(db.memory, Step::Last, 0)), QString("2:13"));
        ContactRow edited = contact("other", "3", "K-9", "Q2CC");
        edited.comment = "edited";
        QCOMPARE(ParkLogMemory::update(db.memory, 13, edited).id, 2);
        const ContactRow stored = ParkLogMemory::find(db.memory, 13).value_or(ContactRow());
        QCOMPARE(QStringList({stored.date, stored.park, stored.call, stored.comment}).join('|'),
                 QString("d|K-1|Q2CC|edited"));
    }

    void logTable()
    {
        ScratchDatabases db;
        // Every column is written and read under its own name.
        ContactRow full;
        int n = 0;
        for (const ContactColumns::Column& column : ContactColumns::all)
            full.*column.member = QString("v'%1").arg(++n);
        const qint64 id = LogTable::insert(db.log, full).id;
        const ContactRow read = LogTable::find(db.log, id).value_or(ContactRow());
        for (const ContactColumns::Column& column : ContactColumns::all)
            QCOMPARE(read.*column.member, full.*column.member);
        // An edit rewrites everything but the date and the park.
        ContactRow edit = contact("20990101", "0930", "K-9", "Q2ZZ", "N1NEW");
        edit.station = "N1STN";
        QVERIFY(LogTable::update(db.log, id, edit));
        QCOMPARE(db.rows("SELECT date, park, time, call, station, operator, comment FROM log"),
                 QStringList("v'1|v'3|0930|Q2ZZ|N1STN|N1NEW|"));
        QVERIFY(!LogTable::update(db.log, id + 1, edit));
        QVERIFY(LogTable::remove(db.log, id));

        // The park log: one operator's contacts of one park and date, by time.
        // The contact log: newest date first, then by park and time.
        for (const ContactRow& row : {contact("20260601", "1300", "K-O'1", "Q2B", "K1'OP"),
                                      contact("20260601", "1200", "K-O'1", "Q2A", "K1'OP"),
                                      contact("20260601", "1100", "K-O'1", "Q2X", "K9OTHER"),
                                      contact("20260531", "1100", "K-O'1", "Q2Y", "K1'OP"),
                                      contact("20260601", "1100", "K-0003", "Q2Z", "K1'OP")})
            QVERIFY(LogTable::insert(db.log, row));
        QStringList calls;
        for (const LogTable::Contact& c : LogTable::parkLog(db.log, "20260601", "K1'OP", "K-O'1"))
            calls << c.row.call;
        calls << "|";
        LogTable::eachNewestFirst(db.log, [&](const LogTable::ListedContact& c) {
            calls << QString::fromUtf8(c.call);
        });
        QCOMPARE(calls.join(' '), QString("Q2A Q2B | Q2Z Q2X Q2A Q2B Q2Y"));
    }
};

QTEST_GUILESS_MAIN(TestActivationRecords)
#include "tst_activationrecords.moc"
