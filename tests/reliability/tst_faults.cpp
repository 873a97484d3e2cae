#include "app/utcclock.h"
#include "db/backups.h"
#include "db/schema.h"
#include "journey.h"
#include "qrz/qrzxml.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtxpeer.h"

#include <QSettings>

static const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');

// Files, datagrams and answers written to hurt, writes that fail, and the
// copies of the log that guard against losing it.
//
// Hostile input must be read without a crash or a hang (the sanitizer build
// turns a bad read into a failure), and the program must still do its work
// afterwards. A write that fails must be said (a box through the prompter and
// a line in the error log) and leave what is already stored as it was.
//
// Running as root, a chmod'ed folder stops nothing, so the write faults are
// made without it: the database connection is reopened read-only
// (QSQLITE_OPEN_READONLY), or it is capped at its current size (PRAGMA
// max_page_count) after the free room is used up, which is SQLite's "database
// or disk is full"; a file on a full disk is a link to /dev/full.
class TestFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    void logContact(const QString& call)
    {
        pb->ui->call->setText(call);
        pb->on_logContact_pressed();
        QVERIFY(!pb->contactWriteFailed);
    }

    // A saved station with park K-0001 active all day on 2026-06-01 and two
    // contacts logged through the form.
    void start()
    {
        pb = home->makeParkbook();
        fillTestStation(*pb);
        pb->saveStation();
        pb->ui->endDate->setText("20260601");
        pb->ui->startTime->setText("000000");
        pb->ui->stopTime->setText("235959");
        logContact("N1AAA");
        logContact("N2BBB");
        home->prompter.clear();
    }

    // Imports `content` as the file `name`; a null content is a file that is not there.
    void importFile(const QString& name, const QByteArray& content = QByteArray())
    {
        QFile file(home->dataPath() + "/" + name);
        QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content)));
        file.close();
        home->prompter.paths.enqueue(file.fileName());
        pb->on_actionImport_Contact_Log_triggered();
    }

    static void breakDatabase(const QString& fault)
    {
        QSqlDatabase db = QSqlDatabase::database("parkbook");
        if (fault == "read-only") {
            db.close();
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            QVERIFY(db.open());
            return;
        }
        // Cap the file at its size, then fill what room is left inside it, so
        // that the next row the program writes finds none.
        rowsOf(db, "PRAGMA max_page_count = " + rowsOf(db, "PRAGMA page_count").value(0));
        QSqlQuery query(db);
        QVERIFY(query.prepare("INSERT INTO log (date, time, park, call, comment) "
                              "VALUES ('20250101', '000000', 'K-9999', 'N0FILL', ?)"));
        for (int size = 4096; size >= 1;) {
            query.addBindValue(QString(size, 'f'));
            if (!query.exec())
                size /= 2;
        }
    }

    // What the log file holds, read as another program would.
    static QStringList snapshot()
    {
        return Journey::run("SELECT * FROM log ORDER BY 1") +
               Journey::run("SELECT * FROM parks ORDER BY 1") +
               Journey::run("SELECT * FROM station");
    }

    QString errorLog() const
    {
        QFile file(home->dataPath() + "/errorLog.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private Q_SLOTS:
    void init()
    {
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
        home = std::make_unique<TempHome>();
    }
    void cleanup()
    {
        pb.reset();
        home.reset();
        UtcClock::clearFixed();
    }

    // ADIF files and WSJT-X datagrams; a datagram goes through the real
    // socket, and a status datagram after it proves the dispatch is still
    // alive and handled the hostile one before. Afterwards the log is as
    // sound as before, the contacts already stored are still there, and a
    // good file still imports.
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a datagram if it starts with WSJT-X's magic
        using P = WsjtxPeer;
        const QByteArray date = "<QSO_DATE:8>20260601 <TIME_ON:4>1200 ";
        QTest::newRow("huge length") << "<CALL:4294967296>W1AW " + date + "<EOR>";
        QTest::newRow("negative length") << "<CALL:-5>W1AW " + date + "<EOR>";
        QTest::newRow("NUL bytes, invalid UTF-8") << QByteArray("<CALL:4>W\0AW ", 13) +
                                                         "<NAME:6>\xff\xfe\xc3(\xe2\x82 " + date +
                                                         "<COMMENT:2>\xc0\x80<EOR>";
        QTest::newRow("10 MB field")
            << "<CALL:4>W1AW " + date + "<COMMENT:10485760>" + tenMegabytes + "<EOR>";
        QTest::newRow("10 MB without a tag end") << "<EOH><CALL:" + tenMegabytes;
        QTest::newRow("million empty records") << "<EOH>" + QByteArray("<EOR>").repeated(1000000);
        QTest::newRow("id of 4 GB")
            << P::header(2).left(8) + P::u32(2) + P::u32(0xfffffffe) + "WSJT-X";
        QTest::newRow("logged ADIF bad UTF-8 and NUL")
            << P::header(12) + P::rawText(QByteArray("<call:4>Q\0\xff\xfe <qso_date:8>20260601 "
                                                     "<time_on:6>120000 <name:3>\xc3\x28\xa0 <EOR>",
                                                     69));
        QTest::newRow("largest datagram")
            << P::loggedAdif("<comment:60000>" + QString(60000, 'x') + " <EOR>");
    }
    void hostileInput()
    {
        QFETCH(QByteArray, bytes);
        const bool datagram = bytes.startsWith(WsjtxPeer::header(0).left(4));
        start();
        if (!datagram)
            importFile("hostile.adi", bytes);
        WsjtxPeer peer;
        QUdpSocket probe;
        QVERIFY(peer.open() && probe.bind(QHostAddress::LocalHost, 0));
        const quint16 port = probe.localPort();
        probe.close();
        pb->wsjtx->ui->udpIp->setText("127.0.0.1");
        pb->wsjtx->ui->udpPort->setValue(port);
        pb->initUdpSocket();
        pb->potaMode = "Activating";
        for (int repeat = 0; datagram && repeat < 3; ++repeat) {
            peer.sendTo(port, bytes);
            const bool tx = !pb->txEnabled;
            peer.sendTo(port, WsjtxPeer::status({"", "", "", tx, false}));
            QTRY_COMPARE_WITH_TIMEOUT(pb->txEnabled, tx, 10000);
        }
        QCOMPARE(Journey::run("PRAGMA integrity_check"), QStringList{"ok"});
        importFile("good.adi", "<CALL:6>N1GOOD <QSO_DATE:8>20260601 <TIME_ON:4>1300 <MODE:3>SSB "
                               "<EOR>\n");
        QCOMPARE(Journey::run("SELECT call FROM log WHERE call LIKE 'N_%' ORDER BY call"),
                 QStringList({"N1AAA", "N1GOOD", "N2BBB"}));
    }

    // Whatever arrives, what is kept is never more than was read (no entity
    // grows into gigabytes, nothing past the answer limit), and a cut or
    // broken answer is never called complete.
    void qrzAnswers()
    {
        const QByteArray open = "<?xml version=\"1.0\"?><QRZDatabase><Callsign><call>Q2XX</call>";
        // Each entity holds sixteen of the one before: four &f; would be 64 MiB.
        QByteArray entities = "<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
        for (char e = 'b'; e <= 'f'; ++e)
            entities += "<!ENTITY " + QByteArray(1, e) + " \"" +
                        ("&" + QByteArray(1, char(e - 1)) + ";").repeated(16) + "\">";
        const std::pair<QByteArray, bool> rows[] = {
            {open + "<fname>\xff\xfe\xc3(</fname></Callsign></QRZDatabase>", false}, // bad UTF-8
            {open + "<fname>" + tenMegabytes + "</fname>", false},
            {QByteArray("<a>").repeated(200000) + QByteArray("</a>").repeated(200000), false},
            {"<?xml version=\"1.0\"?><!DOCTYPE q [" + entities +
                 "]><QRZDatabase><Callsign><fname>&f;&f;&f;&f;</fname></Callsign></QRZDatabase>",
             false},
            // Well-formed: the external entity is simply never resolved.
            {"<?xml version=\"1.0\"?><!DOCTYPE q [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
             "<QRZDatabase><Callsign><fname>&x;</fname></Callsign></QRZDatabase>",
             true},
        };
        for (const auto& [body, complete] : rows) {
            const Qrz::Document document = Qrz::readDocument(body);
            qsizetype kept = 0;
            for (const Qrz::Element& element : document.elements)
                kept += element.name.size() + element.text.size();
            QVERIFY2(kept <= Qrz::maxAnswerBytes && document.complete == complete,
                     body.left(80).constData());
            QVERIFY(!Qrz::readResult(document).firstName.contains("root:"));
        }
    }

    void writeIsReportedAndLosesNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("logged"); // in the new error-log lines
        // WSJT-X sends a logged contact once; it is stored, or its loss is said.
        const char* const rows[][5] = {
            {"import, full database", "import", "full", "ADIF Import Failed", "incoming.adi"},
            {"import, missing file", "import", "none", "Cannot Open ADIF File",
             "incoming.adi for ADIF import"},
            {"station, read-only database", "station", "read-only", "Station Details Not Saved",
             "Station details"},
            {"WSJT-X contact, full database", "wsjtx", "full", "WSJT-X Contact Not Logged",
             "N6FFF"},
            {"contact log export, full disk", "export", "disk", "Cannot Export Park Log",
             "Could not write K1OP@K-0001_20260601_complete.adi"},
            {"contact log export, folder in the way", "export", "folder", "Cannot Export Park Log",
             "Could not open K1OP@K-0001_20260601_complete.adi"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]) << QString(r[4]);
    }
    void writeIsReportedAndLosesNothing()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        if (fault == "disk" && !QFile::exists("/dev/full"))
            QSKIP("this machine has no /dev/full");
        start();
        const QString exported = home->dataPath() + "/K1OP@K-0001_20260601_complete.adi";
        if (fault == "disk")
            QVERIFY(QFile::link("/dev/full", exported));
        else if (fault == "folder")
            QVERIFY(QDir().mkdir(exported));
        else if (fault != "none")
            breakDatabase(fault);
        const QStringList before = snapshot();
        const qsizetype logSize = errorLog().size();

        if (path == "import") {
            importFile(
                "incoming.adi",
                fault == "none"
                    ? QByteArray()
                    : "<CALL:5>N3CCC <QSO_DATE:8>20260601 <TIME_ON:4>1500 <MODE:3>SSB <EOR>\n"
                      "<CALL:5>N4DDD <QSO_DATE:8>20260601 <TIME_ON:4>1501 <MODE:3>SSB <EOR>\n");
        } else if (path == "station") {
            pb->station->ui->station->setText("K9NEW");
            pb->saveStation();
        } else if (path == "wsjtx") {
            pb->logADIF(WsjtxPeer::loggedAdif("<call:5>N6FFF <qso_date:8>20260601 "
                                              "<time_on:6>143000 <mode:3>FT8 <band:3>20m <EOR>"));
        } else {
            // Park K-0001 is kept as it is, so the file takes the name in the way.
            home->prompter.answers.enqueue(QMessageBox::No);
            pb->createLogFile("COMPLETE");
            QCOMPARE(home->prompter.shown.takeFirst().title, QString("Retired Park Reference"));
        }
        QTEST(home->prompter.titles().join('|'), "title");
        QCOMPARE(home->prompter.shown.first().icon, QMessageBox::Critical);
        if (path == "export")
            QVERIFY(home->prompter.shown.first().text.contains(QFileInfo(exported).fileName()));
        QFETCH(QString, logged);
        QVERIFY2(errorLog().mid(logSize).contains(logged), qPrintable(errorLog()));
        QCOMPARE(snapshot(), before);
    }

    // The failing error log was said at the start (the new database is
    // logged) and is not said again; each import still says its own failure.
    void errorLogOnAFullDisk()
    {
        if (!QFile::exists("/dev/full"))
            QSKIP("this machine has no /dev/full");
        QVERIFY(QFile::link("/dev/full", home->dataPath() + "/errorLog.txt"));
        start();
        for (int i = 0; i < 2; ++i)
            importFile("missing.adi");
        QCOMPARE(home->prompter.titles(), QStringList(2, "Cannot Open ADIF File"));
        QVERIFY(pb->errorLogFailed);
    }

    // The first start says it makes a new log, later ones do not. An exit
    // after a contact leaves a copy, one without changes none; restoring the
    // copy keeps the log it replaces as another copy.
    void exitsAndRestoreRoundTrip()
    {
        pb = home->makeParkbook();
        QCOMPARE(home->prompter.count("New parkbook Database"), 1);
        fillTestStation(*pb);
        logContact("N1AAA");
        for (int hour : {15, 16}) {
            QVERIFY(pb->close());
            QCOMPARE(Backups::list(home->dataPath()).size(), 1);
            UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(hour, 0), Qt::UTC));
            home->prompter.clear();
            pb.reset();
            pb = home->makeParkbook();
            QCOMPARE(home->prompter.count("New parkbook Database"), 0);
        }
        fillTestStation(*pb);
        logContact("N2BBB");
        home->prompter.clear();
        home->prompter.choices.enqueue(0);
        pb->ui->actionRestore_Backup->trigger();
        QCOMPARE(home->prompter.chooserItems,
                 QStringList{"2026-06-01 14:30:15 UTC, 1 contact (parkbook-20260601-143015.db)"});
        QCOMPARE(Journey::run("SELECT call FROM log"), QStringList{"N1AAA"});
        QCOMPARE(home->prompter.titles().last(), QString("Backup Restored"));
        QCOMPARE(Backups::list(home->dataPath()).first().contacts, 2); // the log replaced
        // The restored log is the one written from now on.
        logContact("N3CCC");
        QCOMPARE(Journey::run("SELECT call FROM log ORDER BY id"), QStringList({"N1AAA", "N3CCC"}));
    }

    // A log of an early version is copied as it was before its tables change;
    // without the state centres (nor the icon) the start says so and goes on.
    // A copy that cannot be written later is said, and the exit completes.
    void olderLogThenFailedBackup()
    {
        // Before a contact had a country and a DXCC entity.
        Journey::run(QString(Schema::createLog).remove("country TEXT, dxcc TEXT, "));
        Journey::run("INSERT INTO log (call) VALUES ('Q2XX')");
        QVERIFY(QFile::remove(home->infoPath() + "/State_LatLon.csv"));
        QVERIFY(QFile::remove(home->infoPath() + "/Parkbook.png"));
        pb = home->makeParkbook();
        QCOMPARE(home->prompter.count("Cannot open State_LatLon.csv file"), 1);
        QVERIFY(errorLog().contains("/State_LatLon.csv' file."));
        QCOMPARE(rowsOf(QSqlDatabase::database("memory"), "SELECT count(*) FROM mLog"),
                 QStringList{"0"});
        const QString columns = "SELECT count(*) FROM PRAGMA_TABLE_INFO('log')";
        QCOMPARE(Journey::run(columns), QStringList{"28"});
        const Backups::Copy copy = Backups::list(home->dataPath()).value(0);
        QCOMPARE(copy.contacts, 1);
        QSqlDatabase::addDatabase("QSQLITE", "copy").setDatabaseName(copy.path);
        QCOMPARE(rowsOf(QSqlDatabase::database("copy"), columns), QStringList{"26"});
        QSqlDatabase::removeDatabase("copy");

        fillTestStation(*pb);
        logContact("N1AAA");
        // The exit's copy is first written beside its name; a folder there stops it.
        const QString folder = Backups::folder(home->dataPath());
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(15, 0), Qt::UTC));
        QVERIFY(QDir().mkpath(folder + "/parkbook-20260601-150000.db.partial"));
        home->prompter.clear();
        QVERIFY(pb->close());
        QCOMPARE(home->prompter.titles(), QStringList{"Backup Not Written"});
        QVERIFY(!QSqlDatabase::database("parkbook", false).isOpen());
        QCOMPARE(QSettings(home->iniPath(), QSettings::IniFormat).value("Main/BackupsKept").toInt(),
                 10);
        QVERIFY(errorLog().contains("Cannot write a backup of the log to " + folder));
        QCOMPARE(Backups::list(home->dataPath()).size(), 1); // the older copy stays
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
