#include "adif/adifcodec.h"
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_station.h"
#include "wsjtxpeer.h"

#include <QCheckBox>
#include <QComboBox>
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
    void loggingAContact_data();
    void loggingAContact();
    void importingAFile_data();
    void importingAFile();
    void savingTheStation();
    void wsjtxLoggedContact_data();
    void wsjtxLoggedContact();
    void exportingToAFullDisk_data();
    void exportingToAFullDisk();
    void errorLogOnAFullDisk();

private:
    void start();
    void addFaultColumn();
    void breakDatabase(const QString& fault);
    static QStringList snapshot();
    QString errorLog() const;
    QString goodFile();

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

// A station with park K-0001 active and two contacts logged through the form.
void TestWriteFailures::start()
{
    home->writeQuietSettings();
    pb = home->makeParkbook();
    Ui::Station* form = pb->station->ui;
    form->station->setText("K1STN");
    form->call->setText("K1OP");
    form->mode->setCurrentText("SSB");
    form->band->setCurrentText("20m");
    form->pRef1->setText("K-0001");
    form->act1->setChecked(true);
    pb->saveStation();
    pb->ui->parkReference->setText("K-0001");
    pb->ui->parkDate->setText("20260601");
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

void TestWriteFailures::addFaultColumn()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only database") << "read-only";
    QTest::newRow("full database") << "full";
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

QString TestWriteFailures::goodFile()
{
    const QString path = home->dataPath() + "/incoming.adi";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("<CALL:5>N3CCC <QSO_DATE:8>20260601 <TIME_ON:4>1500 <MODE:3>SSB <EOR>\n"
                   "<CALL:5>N4DDD <QSO_DATE:8>20260601 <TIME_ON:4>1501 <MODE:3>SSB <EOR>\n");
    return path;
}

void TestWriteFailures::loggingAContact_data()
{
    addFaultColumn();
}

void TestWriteFailures::loggingAContact()
{
    QFETCH(QString, fault);
    start();
    breakDatabase(fault);
    const QStringList before = snapshot();
    const qsizetype logSize = errorLog().size();

    pb->ui->call->setText("N5EEE");
    pb->on_logContact_pressed();
    QVERIFY(pb->contactWriteFailed);
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().icon, QMessageBox::Critical);
    QVERIFY(errorLog().mid(logSize).contains("N5EEE"));
    QCOMPARE(pb->ui->call->text(), QString("N5EEE")); // kept for another try
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::importingAFile_data()
{
    addFaultColumn();
}

void TestWriteFailures::importingAFile()
{
    QFETCH(QString, fault);
    start();
    const QString path = goodFile();
    breakDatabase(fault);
    const QStringList before = snapshot();
    const qsizetype logSize = errorLog().size();

    home->prompter.paths.enqueue(path);
    pb->on_actionImport_Contact_Log_triggered();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().title, QString("ADIF Import Failed"));
    QVERIFY(errorLog().mid(logSize).contains("incoming.adi"));
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::savingTheStation()
{
    start();
    breakDatabase("read-only");
    const QStringList before = snapshot();
    const qsizetype logSize = errorLog().size();

    pb->station->ui->station->setText("K9NEW");
    pb->saveStation();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().title, QString("Station Details Not Saved"));
    QVERIFY(errorLog().mid(logSize).contains("Station details"));
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::wsjtxLoggedContact_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("writable database") << QString();
    QTest::newRow("read-only database") << "read-only";
    QTest::newRow("full database") << "full";
}

// WSJT-X sends a logged contact once; it is stored, or its loss is said.
void TestWriteFailures::wsjtxLoggedContact()
{
    QFETCH(QString, fault);
    start();
    if (!fault.isEmpty())
        breakDatabase(fault);
    const QStringList before = snapshot();
    const qsizetype logSize = errorLog().size();

    pb->logADIF(WsjtxPeer::loggedAdif("<call:5>N6FFF <qso_date:8>20260601 <time_on:6>143000 "
                                      "<mode:3>FT8 <band:3>20m <EOR>"));
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("SELECT count(*) FROM log WHERE call='N6FFF' AND park='K-0001'"));
    QVERIFY(query.next());
    if (fault.isEmpty()) {
        QCOMPARE(query.value(0).toInt(), 1);
        QCOMPARE(home->prompter.shown.size(), 0);
        return;
    }
    QCOMPARE(query.value(0).toInt(), 0);
    query.finish();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().title, QString("WSJT-X Contact Not Logged"));
    QVERIFY(errorLog().mid(logSize).contains("N6FFF"));
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::exportingToAFullDisk_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("park log") << "POTA";
    QTest::newRow("contact log") << "COMPLETE";
}

void TestWriteFailures::exportingToAFullDisk()
{
    QFETCH(QString, type);
    if (!QFile::exists("/dev/full"))
        QSKIP("this machine has no /dev/full");
    start();
    const QString name =
        Adif::exportFileName(type, "K1OP", "K-0001", pb->station->ui->state->currentText(),
                             "20260601", pb->ui->mst->isChecked());
    QVERIFY(QFile::link("/dev/full", home->dataPath() + "/" + name));
    const QStringList before = snapshot();

    pb->createLogFile(type);
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown.first().icon, QMessageBox::Critical);
    QVERIFY(home->prompter.shown.first().text.contains(name));
    QVERIFY(errorLog().contains("Could not write " + name));
    QCOMPARE(snapshot(), before);
}

void TestWriteFailures::errorLogOnAFullDisk()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("this machine has no /dev/full");
    QVERIFY(QFile::link("/dev/full", home->dataPath() + "/errorLog.txt"));
    start();
    // The new database was announced at the start, and its error-log line
    // could not be written: that much is said once.
    home->prompter.clear();
    const QStringList before = snapshot();

    home->prompter.paths.enqueue(home->dataPath() + "/missing.adi");
    pb->on_actionImport_Contact_Log_triggered();
    home->prompter.paths.enqueue(home->dataPath() + "/missing.adi");
    pb->on_actionImport_Contact_Log_triggered();
    // Each import says its own failure; the failing error log was said before
    // and is not said again.
    QCOMPARE(home->prompter.shown.size(), 2);
    QVERIFY(pb->errorLogFailed);
    QCOMPARE(snapshot(), before);
}

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
