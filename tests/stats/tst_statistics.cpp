#include "app/parkbook.h"
#include "stats/activity.h"
#include "stats/statisticscore.h"
#include "temphome.h"
#include "ui_activity.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace
{
const char* const parksRow = "INSERT INTO parks (date, park, state, QSOs, LateQSOs, P2Ps) "
                             "VALUES ('20240101', ?, ?, ?, ?, ?)";
const char* const logRow =
    "INSERT INTO log (date, park, call, p2p, dxcc) VALUES ('20240101', ?, 'K1AB', ?, ?)";

// Runs `statement` on the program's database once for each list of bound values.
void insert(const char* statement, const QList<QStringList>& rows)
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.prepare(statement);
    for (const QStringList& row : rows) {
        for (const QString& value : row)
            query.addBindValue(value);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
}

Statistics::Figures compute()
{
    return Statistics::compute(QSqlDatabase::database("parkbook"),
                               QSqlDatabase::database("memory"));
}

// "park value, park value" in the order of the list.
QString ranked(const QList<Statistics::Ranked>& list)
{
    QStringList parts;
    for (const Statistics::Ranked& r : list)
        parts << r.park + " " + r.value;
    return parts.join(", ");
}
} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

private Q_SLOTS:
    void initTestCase()
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
    }

    void init()
    {
        QSqlQuery(QSqlDatabase::database("parkbook")).exec("DELETE FROM parks");
        QSqlQuery(QSqlDatabase::database("parkbook")).exec("DELETE FROM log");
    }

    void cleanupTestCase()
    {
        pb.reset();
        home.reset();
    }

    void thresholds_data()
    {
        QTest::addColumn<int>("qsos");
        QTest::addColumn<int>("late");
        QTest::addColumn<int>("successful");
        QTest::addColumn<int>("lateShift");
        QTest::newRow("15 late of 15") << 15 << 15 << 1 << 1;
        QTest::newRow("10 late of 10") << 10 << 10 << 1 << 1;
        QTest::newRow("9 late of 30") << 30 << 9 << 1 << 0;
        QTest::newRow("9 contacts") << 9 << 9 << 0 << 0;
    }

    void thresholds()
    {
        QFETCH(int, qsos);
        QFETCH(int, late);
        insert(parksRow, {{"K-0002", "PA", QString::number(qsos), QString::number(late), ""}});
        const Statistics::Figures f = compute();
        QCOMPARE(f.attempts, 1);
        QTEST(f.successful, "successful");
        QTEST(f.lateShift, "lateShift");
    }

    void statesAndTopLists()
    {
        insert(parksRow, {{"K-0001", "OH", "20", "0", ""},
                          {"K-0002", "?", "5", "0", ""},
                          {"K-0003", "", "100", "0", ""},
                          {"K-0002", "?", "11", "0", ""},
                          {"K-0002", "PA", "12", "0", ""},
                          {"K-0005", QString(), "", "", ""},            // counters that are empty
                          {"K-0005", QString(), "many", "x", "some"}}); // or text count 0
        const Statistics::Figures f = compute();
        // OH, "?", PA and the empty state, which records without a state join once.
        QCOMPARE((QList<int>{f.states, f.unique, f.totalQso, f.parkToPark}),
                 (QList<int>{4, 4, 148, 0}));
        QCOMPARE(f.repeat.size(), 3);
        QVERIFY(ranked(f.repeat).startsWith("K-0002 2, "));
        QCOMPARE(ranked(f.kilo), QString("K-0003 100, K-0002 28, K-0001 20"));
    }

    void huntedCountries()
    {
        insert(logRow, {{"HUNTER", "K-0001", "291"},
                        {"HUNTER", "K-0002", "291"}, // same country once
                        {"HUNTER", "VE-0001", "1"},
                        {"HUNTER", "", "110"},       // no park-to-park reference
                        {"HUNTER", "K-0003", ""},    // no country
                        {"K-0009", "K-0004", "6"}}); // activating, not hunting
        QCOMPARE(compute().dxs, 2);
    }

    void window()
    {
        insert(parksRow, {{"K-0001", "OH", "12", "12", "1"},
                          {"K-0001", "OH", "9", "0", ""},
                          {"K-0001", "OH", "40", "3", "2"}});
        insert(logRow, {{"HUNTER", "K-0001", "291"}, {"HUNTER", "K-0002", "291"}});
        const Ui::Activity* form = pb->activity->ui;
        auto shown = [form] {
            return QStringList{
                form->attempts->text(),     form->successful->text(), form->lateShift->text(),
                form->unique->text(),       form->totalQso->text(),   form->states->text(),
                form->parkToPark->text(),   form->DXs->text(),        form->repeatPark1->text(),
                form->repeatValue1->text(), form->kiloPark1->text(),  form->kiloValue1->text()};
        };
        // One park activated with 12, 9 and 40 contacts; opening again shows the same.
        const QStringList figures = {"    3", "    2", "    1",  "    1", "   61",  "    1",
                                     "    3", "  1",   "K-0001", "2",     "K-0001", "61"};
        pb->on_actionActivation_Statistics_triggered();
        QVERIFY(pb->activity->isVisible());
        QCOMPARE(shown(), figures);
        pb->on_actionActivation_Statistics_triggered();
        QCOMPARE(shown(), figures);

        // A total of 123456 shows its first five characters.
        insert(parksRow, {{"K-1234567890", "?", "123395", "0", ""}});
        pb->on_actionActivation_Statistics_triggered();
        QCOMPARE(shown(), QStringList({"    4", "    3", "    1", "    2", "12345", "    2",
                                       "    3", "  1", "K-0001", "2", "K-123456", "12339"}));

        // With only hunting days left the counts drop to 0 and the places stay.
        QSqlQuery(QSqlDatabase::database("parkbook")).exec("DELETE FROM parks");
        insert(parksRow, {{"HUNTER", "OH", "30", "30", "5"}});
        pb->on_actionActivation_Statistics_triggered();
        QCOMPARE(shown(), QStringList({"    0", "    0", "    0", "    0", "    0", "    0",
                                       "    0", "  1", "K-0001", "2", "K-123456", "12339"}));
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
