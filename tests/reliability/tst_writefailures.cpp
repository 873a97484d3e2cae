#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_station.h"
#include "wsjtxpeer.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QVariant>

// Every write path meets a database it cannot write or a disk that is full.
// Each must say so (a box through the prompter and a line in the error log)
// and leave what is already stored as it was.
//
// Running as root, a chmod'ed folder stops nothing, so the faults are made
// without it: the database connection is reopened read-only
// (QSQLITE_OPEN_READONLY), or it is capped at its current size (PRAGMA
// max_page_count) after the free room is used up, which is SQLite's "database
// or disk is full"; a file on a full disk is a link to /dev/full.
class TestWriteFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void writeIsReportedAndLosesNothing_data();
    void writeIsReportedAndLosesNothing();
    void errorLogOnAFullDisk();

private:
    void start();
    void breakDatabase(const QString& fault);
    static QStringList snapshot();
    QString errorLog() const;

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
};

void TestWriteFailures::init()
{
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
    home = std::make_unique<TempHome>();
}

void TestWriteFailures::cleanup()
{
    pb.reset();
    home.reset();
    UtcClock::clearFixed();
}

// A saved station with park K-0001 active and two contacts logged through the form.
void TestWriteFailures::start()
{
    pb = home->makeParkbook();
    fillTestStation(*pb);
    pb->saveStation();
    pb->ui->endDate->setText("20260601");
    pb->ui->startTime->setText("000000");
    pb->ui->stopTime->setText("235959");
    for (const char* call : {"N1AAA", "N2BBB"}) {
        pb->ui->call->setText(call);
        pb->on_logContact_pressed();
        QVERIFY(!pb->contactWriteFailed);
    }
    home->prompter.clear();
}

void TestWriteFailures::breakDatabase(const QString& fault)
{
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    if (fault == "read-only") {
        db.close();
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QVERIFY(db.open());
        return;
    }
    // Cap the file at its size, then fill what room is left inside it, so that
    // the next row the program writes finds none.
    QSqlQuery query(db);
    QVERIFY(query.exec("PRAGMA page_count"));
    QVERIFY(query.next());
    const int pages = query.value(0).toInt();
    query.finish();
    QVERIFY(query.exec(QString("PRAGMA max_page_count = %1").arg(pages)));
    query.finish();
    QVERIFY(query.prepare("INSERT INTO log (date, time, park, call, comment) "
                          "VALUES ('20250101', '000000', 'K-9999', 'N0FILL', ?)"));
    for (int size = 4096; size >= 1;) {
        query.addBindValue(QString(size, 'f'));
        if (!query.exec())
            size /= 2;
    }
}

QStringList TestWriteFailures::snapshot()
{
    QStringList rows;
    for (const char* table : {"log", "parks", "station"}) {
        QSqlQuery query(QSqlDatabase::database("parkbook"));
        query.exec(QString("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (query.next()) {
            QStringList values{table};
            for (int i = 0; i < query.record().count(); ++i)
                values.append(query.value(i).toString());
            rows.append(values.join('|'));
        }
    }
    return rows;
}

QString TestWriteFailures::errorLog() const
{
    QFile file(home->dataPath() + "/errorLog.txt");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TestWriteFailures::writeIsReportedAndLosesNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("logged"); // in the new error-log lines
    QTest::newRow("contact, full database")
        << QString("contact") << "full" << QString("Contact Not Logged") << "N5EEE";
    QTest::newRow("import, read-only database")
        << QString("import") << "read-only" << QString("ADIF Import Failed") << "incoming.adi";
    QTest::newRow("import, full database")
        << QString("import") << "full" << QString("ADIF Import Failed") << "incoming.adi";
    QTest::newRow("station, read-only database")
        << QString("station") << "read-only" << QString("Station Details Not Saved")
        << "Station details";
    // WSJT-X sends a logged contact once; it is stored, or its loss is said.
    QTest::newRow("WSJT-X contact, read-only database")
        << QString("wsjtx") << "read-only" << QString("WSJT-X Contact Not Logged") << "N6FFF";
    QTest::newRow("WSJT-X contact, full database")
        << QString("wsjtx") << "full" << QString("WSJT-X Contact Not Logged") << "N6FFF";
    QTest::newRow("contact log export, full disk")
        << QString("export") << "disk" << QString("Cannot Export Park Log") << "Could not write ";
}

void TestWriteFailures::writeIsReportedAndLosesNothing()
{
    QFETCH(QString, path);
    QFETCH(QString, fault);
    QFETCH(QString, logged);
    if (fault == "disk" && !QFile::exists("/dev/full"))
        QSKIP("this machine has no /dev/full");
    start();
    const QString incoming = home->dataPath() + "/incoming.adi";
    QFile file(incoming);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<CALL:5>N3CCC <QSO_DATE:8>20260601 <TIME_ON:4>1500 <MODE:3>SSB <EOR>\n"
               "<CALL:5>N4DDD <QSO_DATE:8>20260601 <TIME_ON:4>1501 <MODE:3>SSB <EOR>\n");
    file.close();
    const QString exported =
        Adif::exportFileName("COMPLETE", "K1OP", "K-0001", QString(), "20260601", false);
    if (fault == "disk")
        QVERIFY(QFile::link("/dev/full", home->dataPath() + "/" + exported));
    else
        breakDatabase(fault);
    const QStringList before = snapshot();
    const qsizetype logSize = errorLog().size();

    if (path == "contact") {
        pb->ui->call->setText("N5EEE");
        pb->on_logContact_pressed();
        QVERIFY(pb->contactWriteFailed);
        QCOMPARE(pb->ui->call->text(), QString("N5EEE")); // kept for another try
    } else if (path == "import") {
        home->prompter.paths.enqueue(incoming);
        pb->on_actionImport_Contact_Log_triggered();
    } else if (path == "station") {
        pb->station->ui->station->setText("K9NEW");
        pb->saveStation();
    } else if (path == "wsjtx") {
        pb->logADIF(WsjtxPeer::loggedAdif("<call:5>N6FFF <qso_date:8>20260601 <time_on:6>143000 "
                                          "<mode:3>FT8 <band:3>20m <EOR>"));
    } else {
        // Park K-0001 is kept as it is, so the file takes the name of the link.
        home->prompter.answers.enqueue(QMessageBox::No);
        pb->createLogFile("COMPLETE");
        QCOMPARE(home->prompter.shown.takeFirst().title, QString("Retired Park Reference"));
        logged += exported;
    }
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().icon, QMessageBox::Critical);
    QTEST(home->prompter.shown.first().title, "title");
    if (path == "export")
        QVERIFY(home->prompter.shown.first().text.contains(exported));
    QVERIFY2(errorLog().mid(logSize).contains(logged), qPrintable(errorLog()));
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::errorLogOnAFullDisk()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("this machine has no /dev/full");
    QVERIFY(QFile::link("/dev/full", home->dataPath() + "/errorLog.txt"));
    start();
    // The failing error log was said at the start (the new database is logged)
    // and is not said again; each import still says its own failure.
    home->prompter.clear();
    const QStringList before = snapshot();
    for (int i = 0; i < 2; ++i) {
        home->prompter.paths.enqueue(home->dataPath() + "/missing.adi");
        pb->on_actionImport_Contact_Log_triggered();
    }
    QCOMPARE(home->prompter.shown.size(), 2);
    QVERIFY(pb->errorLogFailed);
    QCOMPARE(snapshot(), before);
}

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
