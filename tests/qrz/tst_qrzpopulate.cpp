#include "qrzfixture.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>

namespace
{
int addContact(const QString& date, const QString& call, const QString& name = "",
               const QString& city = "", const QString& county = "")
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.prepare("INSERT INTO log (date, time, park, call, name, city, county) "
                  "VALUES (?, '120000', 'K-0001', ?, ?, ?, ?)");
    query.addBindValue(date);
    query.addBindValue(call);
    query.addBindValue(name);
    query.addBindValue(city);
    query.addBindValue(county);
    if (!query.exec())
        qWarning() << query.lastError().text();
    return query.lastInsertId().toInt();
}

QString column(int id, const QString& name)
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.prepare("SELECT " + name + " FROM log WHERE id = ?");
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0).toString() : QString("<no row>");
}

void setRange(Parkbook* pb, const QString& from, const QString& to)
{
    pb->ui->parkDate->setText(from);
    pb->ui->endDate->setText(to);
}

const QString confirmTitle = "Warning: Possible Long Process Ahead";
} // namespace

class TestQrzPopulate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void estimateAndCancel();
    void notConnected();
    void storedDataWins();
    void secondStartIsRefusedAndCanStop();
    void closingDuringRunKeepsWrittenRows();
};

void TestQrzPopulate::estimateAndCancel()
{
    QrzFixture f;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    for (int i = 0; i < 240; ++i)
        addContact("20260102", "Q2XX");
    addContact("20260105", "Q2XX"); // outside the range
    setRange(f.pb.get(), "20260101", "20260104");
    const int before = f.server.queries.size();
    f.pb->on_actionPopulate_QRZ_Data_triggered(); // the default answer is Cancel
    QCOMPARE(f.boxes(confirmTitle), 1);
    const ScriptedPrompter::Shown& box = f.home.prompter.shown.last();
    QVERIFY(box.text.contains("You have 240 records which will take about 1.00 Minutes."));
    QCOMPARE(box.defaultButton, QMessageBox::Cancel);
    QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(!f.pb->populateRunning);
    QTest::qWait(100);
    QCOMPARE(f.server.queries.size(), before);

    // An empty range still shows its estimate; OK then starts nothing.
    setRange(f.pb.get(), "20270101", "20270101");
    f.home.prompter.answers.enqueue(QMessageBox::Ok);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QVERIFY(f.home.prompter.shown.last().text.contains("You have 0 records which will take "
                                                       "about 0.00 Minutes."));
    QVERIFY(!f.pb->populateRunning);
}

void TestQrzPopulate::notConnected()
{
    QrzFixture f;
    QVERIFY(f.build());
    addContact("20260102", "Q2XX");
    setRange(f.pb.get(), "20260101", "20260104");
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QCOMPARE(f.home.prompter.titles(), QStringList({"Not Connected to QRZ Database"}));
    QVERIFY(f.lastText("Not Connected to QRZ Database").contains("'Station' Callsign"));
    QVERIFY(f.server.queries.isEmpty());
}

void TestQrzPopulate::storedDataWins()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.server.stations.insert("Q2XX", "<call>Q2XX</call><fname>JOHN</fname><addr2>NEW YORK</addr2>"
                                     "<county>Kings</county><state>ny</state><class>e</class>");
    f.server.stations.insert("Q3YY", "<call>Q3YY</call><fname></fname><county>Essex</county>");
    QRZ_CONNECT(f);
    const int cityKept = addContact("20260102", "Q2XX", "", "Stored City", "");
    const int failed = addContact("20260102", "Q5DROP");
    const int nameKept = addContact("20260103", "Q3YY", "Keep");
    const int noName = addContact("20260103", "Q3YY");
    const int outside = addContact("20260110", "Q2XX");
    const int last = addContact("20260104", "Q2XX");
    setRange(f.pb.get(), "20260101", "20260104");

    QSignalSpy progress(f.pb->progressBar, &QProgressBar::valueChanged);
    // The second lookup dies without an answer: the run moves on.
    connect(&f.server, &FakeQrzServer::requestSeen, &f.server, [&f](const QString& query) {
        f.server.dropNext = query.endsWith("callsign=Q5DROP") ? 1 : 0;
    });
    f.home.prompter.answers.enqueue(QMessageBox::Ok);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QVERIFY(f.pb->populateRunning);
    QVERIFY(!f.pb->progressBar->isHidden());
    QCOMPARE(f.pb->progressBar->parentWidget(), f.pb->statusBar());
    QCOMPARE(f.pb->progressBar->maximum(), 5);
    QTRY_VERIFY_WITH_TIMEOUT(!f.pb->populateRunning, 20000);

    QCOMPARE(column(cityKept, "city"), QString("Stored City"));
    QCOMPARE(column(cityKept, "county"), QString("Kings"));
    QCOMPARE(column(cityKept, "name"), QString("John"));
    QCOMPARE(column(cityKept, "state"), QString("NY"));
    QCOMPARE(column(cityKept, "license"), QString("Extra"));
    QCOMPARE(column(failed, "name"), QString());
    QCOMPARE(column(nameKept, "name"), QString("Keep"));
    QCOMPARE(column(nameKept, "county"), QString("Essex"));
    QCOMPARE(column(noName, "name"), QString());
    QCOMPARE(column(noName, "county"), QString("Essex"));
    QCOMPARE(column(outside, "name"), QString());
    QCOMPARE(column(last, "city"), QString("New York"));

    // Requests went out one by one in id order, never for the row outside
    // the range.
    QCOMPARE(f.server.lookedUp, QStringList({"Q2XX", "Q3YY", "Q3YY", "Q2XX"}));
    QVERIFY(f.server.queries.filter("callsign=Q5DROP").size() >= 1);
    QCOMPARE(progress.last().first().toInt(), 4);
    QVERIFY(f.pb->progressBar->isHidden());
    QCOMPARE(f.pb->statusBar()->currentMessage(), QString());
}

void TestQrzPopulate::secondStartIsRefusedAndCanStop()
{
    QrzFixture f;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    for (int i = 0; i < 30; ++i)
        addContact("20260102", QString("Q%1AA").arg(i));
    setRange(f.pb.get(), "20260102", "20260102");
    f.home.prompter.answers.enqueue(QMessageBox::Ok);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QTRY_VERIFY_WITH_TIMEOUT(f.server.lookedUp.size() >= 3, 10000);

    // Asked again while running: refused; "No" keeps the run going.
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QCOMPARE(f.boxes("QRZ Data Population Running"), 1);
    QCOMPARE(f.boxes(confirmTitle), 1);
    QVERIFY(f.pb->populateRunning);

    // "Yes" stops it before the end of the range.
    f.home.prompter.answers.enqueue(QMessageBox::Yes);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QTRY_VERIFY_WITH_TIMEOUT(!f.pb->populateRunning, 10000);
    QTest::qWait(200);
    QVERIFY(f.server.lookedUp.size() < 30);
    QVERIFY(f.pb->progressBar->isHidden());
}

void TestQrzPopulate::closingDuringRunKeepsWrittenRows()
{
    QrzFixture f;
    QVERIFY(f.build());
    QList<int> ids;
    for (int i = 0; i < 30; ++i) {
        const QString call = QString("Q%1BB").arg(i);
        f.server.stations.insert(call, "<call>" + call + "</call><fname>ANN</fname>");
        ids << addContact("20260102", call);
    }
    QRZ_CONNECT(f);
    setRange(f.pb.get(), "20260102", "20260102");
    f.home.prompter.answers.enqueue(QMessageBox::Ok);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
    QTRY_VERIFY_WITH_TIMEOUT(f.server.lookedUp.size() >= 4, 10000);
    f.pb->close();
    f.pb.reset();
    QTest::qWait(100); // whatever was in flight has nowhere to go now

    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
    db.setDatabaseName(f.home.dataPath() + "/parkbook.db");
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY(query.exec("SELECT COUNT(*) FROM log WHERE name = 'Ann'"));
    QVERIFY(query.next());
    QVERIFY(query.value(0).toInt() >= 3);
    QVERIFY(query.exec("SELECT COUNT(*) FROM log"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 30);
    query.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("check");
}

QTEST_MAIN(TestQrzPopulate)
#include "tst_qrzpopulate.moc"
