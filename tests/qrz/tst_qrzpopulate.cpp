#include "qrzfixture.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace
{
void addContact(const QString& date, const QString& call, const QString& name = "",
                const QString& city = "")
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.prepare("INSERT INTO log (date, time, park, call, name, city, county) "
                  "VALUES (?, '120000', 'K-0001', ?, ?, ?, '')");
    for (const QString& value : {date, call, name, city})
        query.addBindValue(value);
    if (!query.exec())
        qWarning() << query.lastError().text();
}

// "name|city|county" of every contact, in id order.
QStringList rows()
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.exec("SELECT ifnull(name, '') || '|' || ifnull(city, '') || '|' || ifnull(county, '') "
               "FROM log ORDER BY id");
    QStringList list;
    while (query.next())
        list << query.value(0).toString();
    return list;
}

// Thirty contacts on one day, the range set to that day, and a run started.
void startThirty(QrzFixture& f)
{
    for (int i = 0; i < 30; ++i) {
        const QString call = QString("Q%1BB").arg(i);
        f.server.stations.insert(call, "<call>" + call + "</call><fname>ANN</fname>");
        addContact("20260102", call);
    }
    f.pb->ui->parkDate->setText("20260102");
    f.pb->ui->endDate->setText("20260102");
    f.home.prompter.answers.enqueue(QMessageBox::Ok);
    f.pb->on_actionPopulate_QRZ_Data_triggered();
}
} // namespace

class TestQrzPopulate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void estimateAndCancel()
    {
        QrzFixture f;
        QVERIFY(f.build());
        for (int i = 0; i < 240; ++i)
            addContact("20260102", "Q2XX");
        addContact("20260105", "Q2XX"); // outside the range
        f.pb->ui->parkDate->setText("20260101");
        f.pb->ui->endDate->setText("20260104");
        f.pb->on_actionPopulate_QRZ_Data_triggered(); // not connected: refused
        QCOMPARE(f.home.prompter.titles(), QStringList({"Not Connected to QRZ Database"}));

        QRZ_CONNECT(f);
        f.pb->on_actionPopulate_QRZ_Data_triggered(); // the default answer is Cancel
        QCOMPARE(f.home.prompter.titles(), QStringList({"Warning: Possible Long Process Ahead"}));
        QVERIFY(f.home.prompter.shown.last().text.contains(
            "You have 240 records which will take about 1.00 Minutes."));
        QVERIFY(!f.pb->populateRunning);
    }

    void storedDataWins()
    {
        QrzFixture f;
        QVERIFY(f.build());
        f.server.stations.insert("Q2XX", "<call>Q2XX</call><fname>JOHN</fname>"
                                         "<addr2>NEW YORK</addr2><county>Kings</county>");
        f.server.stations.insert("Q3YY", "<call>Q3YY</call><fname></fname><county>Essex</county>");
        QRZ_CONNECT(f);
        addContact("20260102", "Q2XX", "", "Stored City");
        addContact("20260102", "Q5DROP");
        addContact("20260103", "Q3YY", "Keep");
        addContact("20260110", "Q2XX"); // outside the range
        addContact("20260104", "Q2XX");
        f.pb->ui->parkDate->setText("20260101");
        f.pb->ui->endDate->setText("20260104");

        QSignalSpy progress(f.pb->progressBar, &QProgressBar::valueChanged);
        // The second lookup dies without an answer: the run moves on.
        connect(&f.server, &FakeQrzServer::requestSeen, &f.server, [&f](const QString& query) {
            f.server.dropNext = query.endsWith("callsign=Q5DROP") ? 1 : 0;
        });
        f.home.prompter.answers.enqueue(QMessageBox::Ok);
        f.pb->on_actionPopulate_QRZ_Data_triggered();
        QVERIFY(!f.pb->progressBar->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!f.pb->populateRunning, 20000);

        // Stored data wins; an empty column takes the answer.
        QCOMPARE(rows(), QStringList({"John|Stored City|Kings", "||", "Keep||Essex", "||",
                                      "John|New York|Kings"}));
        // One by one in id order, never for the row outside the range.
        QCOMPARE(f.server.lookedUp, QStringList({"Q2XX", "Q3YY", "Q2XX"}));
        QVERIFY(!f.server.queries.filter("callsign=Q5DROP").isEmpty());
        QCOMPARE(progress.last().first().toInt(), 3); // count - 1
        QVERIFY(f.pb->progressBar->isHidden());
    }

    void secondStartIsRefusedAndCanStop()
    {
        QrzFixture f;
        QVERIFY(f.build());
        QRZ_CONNECT(f);
        startThirty(f);
        QTRY_VERIFY_WITH_TIMEOUT(f.server.lookedUp.size() >= 3, 10000);
        // Asked again while running: refused; "No" keeps the run going.
        f.pb->on_actionPopulate_QRZ_Data_triggered();
        QCOMPARE(f.home.prompter.titles(), QStringList({"Warning: Possible Long Process Ahead",
                                                        "QRZ Data Population Running"}));
        QVERIFY(f.pb->populateRunning);
        // "Yes" stops it before the end of the range.
        f.home.prompter.answers.enqueue(QMessageBox::Yes);
        f.pb->on_actionPopulate_QRZ_Data_triggered();
        QTRY_VERIFY_WITH_TIMEOUT(!f.pb->populateRunning, 10000);
        QTest::qWait(200);
        QVERIFY(f.server.lookedUp.size() < 30);
        QVERIFY(f.pb->progressBar->isHidden());
    }

    void closingDuringRunKeepsWrittenRows()
    {
        QrzFixture f;
        QVERIFY(f.build());
        QRZ_CONNECT(f);
        startThirty(f);
        QTRY_VERIFY_WITH_TIMEOUT(f.server.lookedUp.size() >= 4, 10000);
        f.pb->close();
        f.pb.reset();
        QTest::qWait(100); // whatever was in flight has nowhere to go now
        f.pb = f.home.makeParkbook();
        const QStringList kept = rows();
        QCOMPARE(kept.size(), 30);
        QVERIFY(kept.filter("Ann|").size() >= 3);
    }
};

QTEST_MAIN(TestQrzPopulate)
#include "tst_qrzpopulate.moc"
