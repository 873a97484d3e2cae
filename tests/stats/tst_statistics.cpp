#include "app/parkbook.h"
#include "db/schema.h"
#include "stats/activity.h"
#include "stats/statisticscore.h"
#include "temphome.h"
#include "ui_activity.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace
{
struct ParkRow {
    QString park;
    QString state;
    QString qsos;
    QString late;
    QString p2ps;
};

struct LogRow {
    QString park;
    QString p2p;
    QString dxcc;
};

void insertParks(QSqlDatabase db, const QList<ParkRow>& rows)
{
    QSqlQuery query(db);
    query.prepare("INSERT INTO parks (date, park, state, QSOs, LateQSOs, P2Ps) "
                  "VALUES ('20240101', ?, ?, ?, ?, ?)");
    for (const ParkRow& row : rows) {
        query.addBindValue(row.park);
        query.addBindValue(row.state);
        query.addBindValue(row.qsos);
        query.addBindValue(row.late);
        query.addBindValue(row.p2ps);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
}

void insertLog(QSqlDatabase db, const QList<LogRow>& rows)
{
    QSqlQuery query(db);
    query.prepare("INSERT INTO log (date, park, call, p2p, dxcc) VALUES ('20240101', ?, 'K1AB', "
                  "?, ?)");
    for (const LogRow& row : rows) {
        query.addBindValue(row.park);
        query.addBindValue(row.p2p);
        query.addBindValue(row.dxcc);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
}
} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QSqlDatabase persistent;
    QSqlDatabase scratch;

private Q_SLOTS:
    void init()
    {
        persistent = QSqlDatabase::addDatabase("QSQLITE", "statsPersistent");
        persistent.setDatabaseName(dir.filePath("stats.db"));
        QVERIFY(persistent.open());
        QSqlQuery(persistent).exec(Schema::createLog);
        QSqlQuery(persistent).exec(Schema::createParks);
        scratch = QSqlDatabase::addDatabase("QSQLITE", "statsScratch");
        scratch.setDatabaseName(":memory:");
        QVERIFY(scratch.open());
        for (const char* statement : Schema::memoryTables)
            QSqlQuery(scratch).exec(statement);
    }

    void cleanup()
    {
        persistent.close();
        scratch.close();
        persistent = QSqlDatabase();
        scratch = QSqlDatabase();
        QSqlDatabase::removeDatabase("statsPersistent");
        QSqlDatabase::removeDatabase("statsScratch");
        QFile::remove(dir.filePath("stats.db"));
    }

    void oneParkThreeTimes()
    {
        insertParks(persistent, {{"K-0001", "OH", "12", "0", "2"},
                                 {"K-0001", "OH", "9", "0", "1"},
                                 {"K-0001", "OH", "40", "0", "0"}});
        const Statistics::Figures figures = Statistics::compute(persistent, scratch);
        QCOMPARE(figures.attempts, 3);
        QCOMPARE(figures.successful, 2);
        QCOMPARE(figures.unique, 1);
        QCOMPARE(figures.totalQso, 61);
        QCOMPARE(figures.parkToPark, 3);
        QCOMPARE(figures.states, 1);
        QCOMPARE(figures.repeat.size(), 1);
        QCOMPARE(figures.repeat.at(0).park, QString("K-0001"));
        QCOMPARE(figures.repeat.at(0).value, QString("2"));
        QCOMPARE(figures.kilo.at(0).value, QString("61"));
    }

    void thresholds_data()
    {
        QTest::addColumn<QString>("qsos");
        QTest::addColumn<QString>("late");
        QTest::addColumn<int>("successful");
        QTest::addColumn<int>("lateShift");
        QTest::newRow("15 late of 15") << "15"
                                       << "15" << 1 << 1;
        QTest::newRow("10 late of 10") << "10"
                                       << "10" << 1 << 1;
        QTest::newRow("9 late of 30") << "30"
                                      << "9" << 1 << 0;
        QTest::newRow("9 contacts") << "9"
                                    << "9" << 0 << 0;
        QTest::newRow("empty counters") << ""
                                        << "" << 0 << 0;
        QTest::newRow("text counters") << "many"
                                       << "x" << 0 << 0;
    }

    void thresholds()
    {
        QFETCH(QString, qsos);
        QFETCH(QString, late);
        insertParks(persistent, {{"K-0002", "PA", qsos, late, ""}});
        const Statistics::Figures figures = Statistics::compute(persistent, scratch);
        QCOMPARE(figures.attempts, 1);
        QTEST(figures.successful, "successful");
        QTEST(figures.lateShift, "lateShift");
    }

    void statesAndTopLists()
    {
        insertParks(persistent, {{"K-0001", "OH", "20", "0", ""},
                                 {"K-0002", "?", "5", "0", ""},
                                 {"K-0003", "", "100", "0", ""},
                                 {"K-0002", "?", "11", "0", ""},
                                 {"K-0002", "PA", "12", "0", ""},
                                 {"K-0004", "OH", "1", "0", ""},
                                 {"K-0005", QString(), "1", "0", ""},
                                 {"K-0005", QString(), "1", "0", ""}});
        const Statistics::Figures figures = Statistics::compute(persistent, scratch);
        // OH, "?", PA and the empty state, which records without a state join.
        QCOMPARE(figures.states, 4);
        QCOMPARE(figures.unique, 5);
        QCOMPARE(figures.repeat.size(), 3);
        QCOMPARE(figures.repeat.at(0).park, QString("K-0002"));
        QCOMPARE(figures.repeat.at(0).value, QString("2"));
        QCOMPARE(figures.kilo.size(), 3);
        QCOMPARE(figures.kilo.at(0).park, QString("K-0003"));
        QCOMPARE(figures.kilo.at(1).park, QString("K-0002"));
        QCOMPARE(figures.kilo.at(1).value, QString("28"));
        QCOMPARE(figures.kilo.at(2).park, QString("K-0001"));
    }

    void huntedCountries()
    {
        insertLog(persistent, {{"HUNTER", "K-0001", "291"},
                               {"HUNTER", "K-0002", "291"}, // same country once
                               {"HUNTER", "VE-0001", "1"},
                               {"HUNTER", "", "110"},     // no park-to-park reference
                               {"HUNTER", "K-0003", ""},  // no country
                               {"K-0009", "K-0004", "6"}, // activating, not hunting
                               {"hunter", "K-0005", "7"}});
        const Statistics::Figures figures = Statistics::compute(persistent, scratch);
        QCOMPARE(figures.dxs, 2);
        // A second run starts from empty scratch tables.
        QCOMPARE(Statistics::compute(persistent, scratch).dxs, 2);
    }

    // The window: fields, cuts and what a second opening shows.
    void window()
    {
        cleanup(); // the window uses the program's own connections
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        QSqlDatabase db = QSqlDatabase::database("parkbook");
        insertParks(db, {{"K-0001", "OH", "12", "12", "1"},
                         {"K-0001", "OH", "9", "0", ""},
                         {"K-0001", "OH", "40", "3", "2"},
                         {"K-1234567890", "?", "123395", "0", ""}});
        insertLog(db, {{"HUNTER", "K-0001", "291"}, {"HUNTER", "K-0002", "291"}});
        Ui::Activity* form = pb->activity->ui;

        pb->on_actionActivation_Statistics_triggered();
        QVERIFY(pb->activity->isVisible());
        QCOMPARE(pb->activity->windowTitle(), QString("All-Time Activation Statistics"));
        QCOMPARE(form->attempts->text(), QString("    4"));
        QCOMPARE(form->successful->text(), QString("    3"));
        QCOMPARE(form->lateShift->text(), QString("    1"));
        QCOMPARE(form->unique->text(), QString("    2"));
        QCOMPARE(form->totalQso->text(), QString("12345")); // 123456 cut at five
        QCOMPARE(form->states->text(), QString("    2"));
        QCOMPARE(form->parkToPark->text(), QString("    3"));
        QCOMPARE(form->DXs->text(), QString("  1"));
        QCOMPARE(form->repeatPark1->text(), QString("K-0001"));
        QCOMPARE(form->repeatValue1->text(), QString("2"));
        QCOMPARE(form->kiloPark1->text(), QString("K-123456")); // cut at eight
        QCOMPARE(form->kiloValue1->text(), QString("12339"));
        QCOMPARE(form->kiloPark2->text(), QString("K-0001"));
        QCOMPARE(form->kiloValue2->text(), QString("61"));

        const QString before = form->totalQso->text() + form->kiloPark2->text();
        pb->on_actionActivation_Statistics_triggered();
        QCOMPARE(form->totalQso->text() + form->kiloPark2->text(), before);
        QCOMPARE(form->unique->text(), QString("    2"));
        QCOMPARE(form->DXs->text(), QString("  1"));

        // With only hunting days left the counts drop to 0 and the places stay.
        QSqlQuery(db).exec("DELETE FROM parks");
        insertParks(db, {{"HUNTER", "OH", "30", "30", "5"}});
        form->repeatPark3->setText("K-7777");
        pb->on_actionActivation_Statistics_triggered();
        QCOMPARE(form->attempts->text(), QString("    0"));
        QCOMPARE(form->totalQso->text(), QString("    0"));
        QCOMPARE(form->states->text(), QString("    0"));
        QCOMPARE(form->repeatPark1->text(), QString("K-0001"));
        QCOMPARE(form->repeatPark3->text(), QString("K-7777"));
        QCOMPARE(form->kiloValue2->text(), QString("61"));
        QCOMPARE(form->DXs->text(), QString("  1"));

        // Escape brings the main window forward and the statistics stay open.
        QSignalSpy escape(pb->activity, &Activity::escapeSig);
        pb->activity->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb->activity));
        QTest::keyClick(pb->activity, Qt::Key_Escape);
        QCOMPARE(escape.count(), 1);
        QVERIFY(pb->activity->isVisible());
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
