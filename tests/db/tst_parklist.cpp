#include "db/parklist.h"
#include "db/schema.h"
#include "db/uploadrows.h"
#include "parklistdata.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ParkList::Lookup::Status)

class TestParkList : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QSqlDatabase db;

    int listed()
    {
        QSqlQuery query(db);
        return query.exec("SELECT count(*) FROM parkList") && query.next() ? query.value(0).toInt()
                                                                           : -1;
    }

private Q_SLOTS:
    void init()
    {
        db = QSqlDatabase::addDatabase("QSQLITE", "parklist");
        db.setDatabaseName(dir.filePath("parkbook.db"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(Schema::createLog));
        QVERIFY(query.exec("INSERT INTO log (park, call) VALUES ('US-0001', 'K1ABC')"));
        const ParkList::LoadResult loaded = ParkList::load(db, ParkListData::csv);
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        QCOMPARE(loaded.parks, 6);
        QCOMPARE(loaded.active, 5);
        QCOMPARE(listed(), 6);
        QCOMPARE(UploadRows::listedParks(db, {"US-0001", "K-0001"}).value_or(QSet<QString>()),
                 QSet<QString>{"US-0001"});
    }

    void cleanup()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("parklist");
        QFile::remove(dir.filePath("parkbook.db"));
    }

    void loadsExactly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<ParkList::Lookup::Status>("status");
        QTest::addColumn<QString>("park"); // reference|name|active|locations|lat|lon|grid
        using L = ParkList::Lookup;
        const QString tahoe = "US-4556|Lake \"Tahoe\" State Park, North|1|US-NV|39.1|-120.0|DM09";
        QTest::newRow("plain") << "US-0001" << L::Active
                               << "US-0001|Acadia National Park|1|US-ME|44.31|-68.2034|FN54vh";
        QTest::newRow("quoted comma, doubled quotes") << "US-4556" << L::Active << tahoe;
        QTest::newRow("multi-state, lower case")
            << " us-0100" << L::Active
            << "US-0100|Appalachian National Scenic Trail|1|US-CT,US-GA,US-MA,US-MD,US-ME|40.9|"
               "-75.1|FN20";
        QTest::newRow("retired") << "US-9999" << L::Retired
                                 << "US-9999|Old Fort Park|0|US-TX|30.0|-97.0|EM10";
        QTest::newRow("accents, CR LF")
            << "CA-0001" << L::Active
            << "CA-0001|Parc national de la Mauricie — Forêt|1|CA-QC|46.7|-72.9|FN36";
        QTest::newRow("last line without line feed")
            << "MX-0001" << L::Active
            << "MX-0001|Parque Nacional Cañón del Sumidero|1|MX-CHP|16.8|-93.1|EK56";
        QTest::newRow("K- renamed") << "K-4556" << L::Renamed << tahoe;
        QTest::newRow("unknown") << "US-0002" << L::Unknown << "||||||";
    }

    void loadsExactly()
    {
        QFETCH(QString, typed);
        const ParkList::Lookup found = ParkList::lookup(db, typed);
        QTEST(found.status, "status");
        const ParkList::Park& p = found.park;
        QTEST(QStringList({p.reference, p.name, p.active, p.locations().join(','), p.latitude,
                           p.longitude, p.grid})
                  .join('|'),
              "park");
        // The log it shares the file with is left alone.
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT call FROM log") && query.next());
        QCOMPARE(query.value(0).toString(), QString("K1ABC"));
    }

    // An empty list, or none, is no list: no park is called unknown, and the
    // upload check does not look.
    void emptyListIsNoList()
    {
        for (const char* statement : {"DELETE FROM parkList", "DROP TABLE parkList"}) {
            QVERIFY(QSqlQuery(db).exec(statement));
            QCOMPARE(ParkList::lookup(db, "US-0002").status, ParkList::Lookup::NoList);
            QVERIFY(!UploadRows::listedParks(db, {"US-0001"}));
        }
    }

    // Parks are stored in groups; the last one is left short here.
    void groupsOfParks()
    {
        QByteArray csv = ParkListData::csv.left(ParkListData::csv.indexOf('\n') + 1);
        for (int n = 1; n <= 37; ++n)
            csv += QString("\"US-%1\",\"Park %1\",\"1\",\"291\",\"US-ME\",\"44\",\"-68\",\"FN\"\n")
                       .arg(n, 4, 10, QChar('0'))
                       .toUtf8();
        QCOMPARE(ParkList::load(db, csv).parks, 37);
        QCOMPARE(listed(), 37);
        for (const char* reference : {"US-0001", "US-0016", "US-0017", "US-0037"})
            QCOMPARE(ParkList::find(db, reference)->name, "Park " + QString(reference).mid(3));
    }

    void badFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("csv");
        const QByteArray& good = ParkListData::csv;
        const QByteArray header = good.left(good.indexOf('\n') + 1);
        QTest::newRow("no header") << good.mid(header.size());
        QTest::newRow("other header") << "\"reference\",\"name\"\n" + good.mid(header.size());
        QTest::newRow("cut inside a quote") << good.left(good.lastIndexOf("Sumidero"));
        QTest::newRow("cut inside a row") << good.left(good.lastIndexOf(",\"16.8\""));
        QTest::newRow("text after a quote")
            << header + "\"US-2\"x,\"a\",\"1\",\"1\",\"\",\"\",\"\",\"\"";
        QTest::newRow("header only") << header;
        QTest::newRow("empty") << QByteArray();
    }

    void badFileChangesNothing()
    {
        QFETCH(QByteArray, csv);
        const ParkList::LoadResult result = ParkList::load(db, csv);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(listed(), 6);
        QVERIFY(db.transaction() && db.commit()); // no transaction was left open
    }
};

QTEST_GUILESS_MAIN(TestParkList)
#include "tst_parklist.moc"
