#include "app/parkbook.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"
#include "ui_station.h"

#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace
{
void sql(const QString& statement)
{
    QSqlQuery q(QSqlDatabase::database("parkbook"));
    QVERIFY2(q.exec(statement), qPrintable(q.lastError().text()));
}

// The chosen columns of every log row, one "a|b|c" text per row.
QStringList rows(const QString& columns)
{
    QStringList list;
    QSqlQuery q(QSqlDatabase::database("parkbook"));
    q.exec("SELECT " + columns + " FROM log ORDER BY date, time, park, p2p");
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        list << values.join('|');
    }
    return list;
}
} // namespace

class TestAdifWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void potaExportMatchesWorkedExample();
    void multiStateAndCompleteExports();
    void filesThatCannotBeOpened();
    void retiredReferences_data();
    void retiredReferences();
    void uploadCheck_data();
    void uploadCheck();
    void importActivationWindow();
    void importTwiceKeepsOneRow();
    void importOtherLoggersFile();
    void journey_data();
    void journey();
    void roundTrip();

private:
    void importText(const QString& text);
    QByteArray readFile(const QString& name) const
    {
        QFile f(QDir(home->dataPath()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
};

void TestAdifWindow::init()
{
    home = std::make_unique<TempHome>();
    pb = home->makeParkbook();
    // A fresh install checks for updates at start-up (here against a closed port).
    QSignalSpy checked(pb.get(), &Parkbook::updateCheckFinished);
    QVERIFY(checked.wait(10000));
    sql("DELETE FROM log");
    pb->station->ui->station->setText("Q1ABC");
    pb->station->ui->call->setText("Q1ABC");
    pb->station->ui->state->setCurrentText("CA");
    for (int n = 1; n <= 5; ++n)
        pb->station->activeBox(n)->setChecked(false);
    pb->ui->mst->setChecked(false);
    // K-1234 activated all day on 4 July 2023.
    pb->ui->parkReference->setText("K-1234");
    pb->ui->parkDate->setText("20230704");
    pb->ui->endDate->setText("20230704");
    pb->ui->startTime->setText("000000");
    pb->ui->stopTime->setText("235959");
    pb->clockTick = QDateTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
    home->prompter.clear(); // whatever the start-up had to say
}

void TestAdifWindow::cleanup()
{
    pb.reset();
    home.reset();
}

void TestAdifWindow::importText(const QString& text)
{
    const QString path = home->dataPath() + "/import.adi";
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
    f.close();
    home->prompter.paths.enqueue(path);
    pb->ui->actionImport_Contact_Log->trigger();
}

void TestAdifWindow::potaExportMatchesWorkedExample()
{
    // K-1234 is written as stored ("Export anyway").
    for (int i = 0; i < 3; ++i)
        home->prompter.choices.enqueue(1);
    // No contacts yet: the header alone.
    pb->ui->actionExport_Park_Log->trigger();
    QVERIFY(readFile("Q1ABC@K-1234_20230704.adi").endsWith("<EOH>\n\n"));
    sql("INSERT INTO log (date, time, park, call, band, mode, name, comment) VALUES "
        "('20230704', '141500', 'K-1234', 'Q2XX', '20M', 'SSB', 'Bob', 'hi')");
    // Q3YY is deleted below; the others are on other days or at another park.
    sql("INSERT INTO log (date, time, park, call) VALUES ('20230704', '151500', 'K-1234', 'Q3YY'), "
        "('20230703', '141500', 'K-1234', 'Q3OLD'), ('20230705', '000100', 'K-1234', 'Q3NEW'), "
        "('20230704', '150000', 'K-9999', 'Q3OTH')");
    pb->ui->actionExport_Park_Log->trigger();
    QVERIFY(readFile("Q1ABC@K-1234_20230704.adi").contains("<CALL:4>Q3YY"));
    // Each export replaces the file before it.
    sql("DELETE FROM log WHERE call='Q3YY'");
    pb->ui->actionExport_Park_Log->trigger();
    QCOMPARE(readFile("Q1ABC@K-1234_20230704.adi"), readFile(ADIF_TEST_DATA "/pota_example.adi"));
    QCOMPARE(home->prompter.titles(), QStringList(3, "Upload Check"));
}

void TestAdifWindow::multiStateAndCompleteExports()
{
    sql("INSERT INTO log (date, time, park, call, city, county, lat, lon, state) VALUES "
        "('20230704', '100000', 'K-1234', 'Q2XX', 'StateCenter', 'Kern', '35.3', '-118.7', 'CA'), "
        "('20230704', '110000', 'K-1234', 'Q3YY', 'Reno', 'Washoe', '39.5', '-119.8', 'NV')");
    // Whatever contact sits in the entry form decides nothing about the rows.
    pb->contact->ui->city->setText("StateCenter");
    pb->ui->mst->setChecked(true);
    pb->ui->parkReference->setText("US-1234");
    sql("UPDATE log SET park='US-1234'");
    home->prompter.choices.enqueue(0); // no band, no mode: "Export anyway"
    pb->ui->actionExport_Park_Log->trigger();
    pb->ui->actionExport_Contact_Log->trigger();
    QCOMPARE(QDir(home->dataPath()).entryList({"*.adi"}, QDir::Files, QDir::Name),
             QStringList({"Q1ABC@US-1234_20230704_complete.adi", "Q1ABC@US-1234_CA_20230704.adi"}));
    const QStringList records =
        QString::fromUtf8(readFile("Q1ABC@US-1234_20230704_complete.adi")).split("<EOR>");
    QCOMPARE(records.size(), 3);
    for (const char* tag : {"<CNTY:", "<LAT:", "<LON:"})
        QVERIFY2(!records[0].contains(tag), tag);
    QVERIFY(records[1].contains("<CNTY:6>Washoe\n"));
    QVERIFY(records[1].contains("<LAT:4>39.5\n<LON:6>-119.8\n"));
}

void TestAdifWindow::filesThatCannotBeOpened()
{
    // A folder in the way of the export file name.
    pb->ui->parkReference->setText("US-1234");
    QVERIFY(QDir(home->dataPath()).mkdir("Q1ABC@US-1234_20230704.adi"));
    pb->ui->actionExport_Park_Log->trigger();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown[0].icon, QMessageBox::Critical);
    home->prompter.paths.enqueue(home->dataPath() + "/gone.adi");
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(home->prompter.shown.size(), 2);
    QCOMPARE(home->prompter.shown[1].icon, QMessageBox::Critical);
    const QByteArray errorLog = readFile("errorLog.txt");
    QVERIFY(errorLog.contains("Could not open Q1ABC@US-1234_20230704.adi for Park Log"));
    QVERIFY(errorLog.contains("gone.adi"));
}

// A park, or the other station's park, in the retired K- form: the upload
// check offers to write US- (its default button), the log never changes.
void TestAdifWindow::retiredReferences_data()
{
    QTest::addColumn<QString>("park");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("written"); // "park p2p"
    QTest::newRow("written as US-") << "K-1234" << -1 << "US-1234 US-0001";
    QTest::newRow("kept") << "K-1234" << 1 << "K-1234 K-0001";
    QTest::newRow("other park only") << "US-1234" << 0 << "US-1234 US-0001";
}

void TestAdifWindow::retiredReferences()
{
    QFETCH(QString, park);
    QFETCH(int, answer);
    QFETCH(QString, written);
    pb->ui->parkReference->setText(park);
    sql("INSERT INTO log (date, time, park, call, p2p) VALUES ('20230704', '141500', '" + park +
        "', 'Q2XX', 'K-0001')");
    const QStringList stored = rows("*");
    if (answer >= 0)
        home->prompter.choices.enqueue(answer);
    pb->ui->actionExport_Park_Log->trigger();
    QCOMPARE(home->prompter.titles(), QStringList{"Upload Check"});
    QCOMPARE(home->prompter.shown[0].buttonTexts,
             QStringList({"Export with US- references", "Export anyway", "Cancel"}));
    const QStringList refs = written.split(' ');
    const QString text = QString::fromUtf8(readFile("Q1ABC@" + refs[0] + "_20230704.adi"));
    QVERIFY2(text.contains(QString("<MY_SIG_INFO:%1>%2 ").arg(refs[0].size()).arg(refs[0])) &&
                 text.contains(QString("<SIG_INFO:%1>%2 ").arg(refs[1].size()).arg(refs[1])),
             qPrintable(text));
    QCOMPARE(rows("*"), stored);
}

// Ten contacts export without a box: an empty park list is no park list. A
// missing band and a park the loaded list lacks are said in one box, whose
// default (Cancel) writes nothing.
void TestAdifWindow::uploadCheck_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("clean") << "" << QStringList();
    QTest::newRow("faults") << "UPDATE log SET band='' WHERE call='Q2XD'; INSERT INTO parkList "
                               "(reference) VALUES ('US-0001')"
                            << QStringList{"20230704 140003 Q2XD: no band",
                                           "US-1234 is not in the park list"};
}

void TestAdifWindow::uploadCheck()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, said);
    pb->ui->parkReference->setText("US-1234");
    for (int i = 0; i < 10; ++i)
        sql(QString("INSERT INTO log (date, time, park, call, band, mode) VALUES ('20230704', "
                    "'14%1', 'US-1234', 'Q2X%2', '20M', 'SSB')")
                .arg(i, 4, 10, QChar('0'))
                .arg(QChar('A' + i)));
    sql("CREATE TABLE parkList (reference TEXT PRIMARY KEY, name TEXT, active TEXT, entityId "
        "TEXT, locationDesc TEXT, latitude TEXT, longitude TEXT, grid TEXT)");
    for (const QString& statement : fault.split("; ", Qt::SkipEmptyParts))
        sql(statement);
    pb->ui->actionExport_Park_Log->trigger();
    const QByteArray file = readFile("Q1ABC@US-1234_20230704.adi");
    QCOMPARE(file.count("<EOR>"), said.isEmpty() ? 10 : 0);
    if (said.isEmpty()) {
        QVERIFY(home->prompter.shown.isEmpty());
        return;
    }
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown[0].buttonTexts, QStringList({"Export anyway", "Cancel"}));
    for (const QString& line : said)
        QVERIFY2(home->prompter.shown[0].text.contains(line),
                 qPrintable(home->prompter.shown[0].text));
}

void TestAdifWindow::importActivationWindow()
{
    pb->ui->endDate->setText("20230705");
    pb->ui->startTime->setText("180000");
    pb->ui->stopTime->setText("020000");
    // Distinct calls, so that no record is a duplicate of another; the dates
    // carry their type indicator.
    const QString rest = " <MY_SIG_INFO:6>K-1234 <BAND:3>20M <MODE:3>SSB <EOR>\n";
    const QStringList records = {"<CALL:4>Q1XX <QSO_DATE:8:D>20230704 <TIME_ON:6>175959",
                                 "<CALL:4>Q2XX <QSO_DATE:8:D>20230704 <TIME_ON:6>180000",
                                 "<CALL:4>Q3XX <QSO_DATE:8:D>20230705 <TIME_ON:6>020000",
                                 "<CALL:4>Q4XX <QSO_DATE:8:D>20230705 <TIME_ON:6>020001"};
    importText("Another logger\n<EOH>\n" + records.join(rest) + rest);
    QCOMPARE(rows("date, time"), QStringList({"20230704|180000", "20230705|020000"}));
}

void TestAdifWindow::importTwiceKeepsOneRow()
{
    const QString first = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <TIME_ON:6>141500 <BAND:3>20M "
                          "<MODE:3>SSB <MY_SIG_INFO:6>K-1234 <RST_SENT:2>59 <EOR>\n"
                          "<CALL:4>Q3YY <QSO_DATE:8>20230704 <TIME_ON:6>151500 <BAND:3>40M "
                          "<MODE:2>CW <MY_SIG_INFO:6>K-1234 <SIG_INFO:6>K-0001 <EOR>\n";
    importText(first);
    QCOMPARE(rows("call").size(), 2);
    // Same contacts again, bands and modes in another case and a new report:
    // the rows are written over, not doubled.
    importText(QString(first)
                   .replace("20M", "20m")
                   .replace("<MODE:3>SSB", "<MODE:3>ssb")
                   .replace("<RST_SENT:2>59", "<RST_SENT:2>57"));
    QCOMPARE(rows("call, sent"), QStringList({"Q2XX|57", "Q3YY|"}));
    // The other station moved to another park: a new contact.
    importText(QString(first).replace("K-0001", "K-0002"));
    QCOMPARE(rows("call, p2p"), QStringList({"Q2XX|", "Q3YY|K-0001", "Q3YY|K-0002"}));
}

// Another logger's file: none of the Contact window's values nor the main
// window's p2p may end up in its contacts.
void TestAdifWindow::importOtherLoggersFile()
{
    const QString file = "<call:4>Q2XX <qso_date:8>20230704 <time_on:4>1415 <band:3>20M "
                         "<mode:3>SSB <name:0> <gridsquare:4>EM10 <eor>\n";
    // No active slot and no park in the record: nothing is written.
    importText(file);
    QCOMPARE(rows("park").size(), 0);
    pb->station->parkRef(1)->setText("K-0001");
    pb->station->activeBox(1)->setChecked(true);
    Ui::Contact* c = pb->contact->ui;
    for (QLineEdit* field : {c->name, c->last, c->born, c->city, c->county, c->state, c->country,
                             c->dxcc, c->lat, c->lon, c->grid, c->license, c->expire})
        field->setText("Stale");
    pb->ui->p2p->setText("K-0042");
    pb->ui->parkName->setText("Shown Park"); // of K-1234, not of the parks in the file
    importText(file +
               "<CALL:4>Q3YY <QSO_DATE:8>20230704 <TIME_ON:4>1500 <MY_POTA_REF:15>US-4556,US-4557 "
               "<POTA_REF:7>VE-5082 <COUNTRY:6>Canada <EOR>\n"
               "<CALL:4>Q4ZZ <QSO_DATE:8>20230704 <TIME_ON:4>1600 <MY_SIG:4>SOTA "
               "<MY_SIG_INFO:9>W6/CT-001 <CNTRY:6>Mexico <EOR>\n"
               "<CALL:4>Q5AA <QSO_DATE:8>20230704 <TIME_ON:4>1700 "
               "<COMMENT:22>see <MY_SIG_INFO:6>K-9 <EOR>\n");
    // The time is padded, the file's grid is kept; a SOTA reference or a park
    // inside a comment is no park, so the ticked slot's park takes those.
    QCOMPARE(rows("park, time, call, grid, p2p, country"),
             QStringList({"K-0001|141500|Q2XX|EM10||", "US-4556|150000|Q3YY||VE-5082|Canada",
                          "US-4557|150000|Q3YY||VE-5082|Canada", "K-0001|160000|Q4ZZ|||Mexico",
                          "K-0001|170000|Q5AA|||"}));
    const QString stored = rows("*").join('\n');
    QVERIFY2(!stored.contains("Stale") && !stored.contains("K-0042"), qPrintable(stored));
    QSqlQuery names(QSqlDatabase::database("parkbook"));
    QVERIFY(
        names.exec("SELECT count(*) FROM parks WHERE park LIKE 'US-%' AND ifnull(name, '')=''"));
    QVERIFY(names.next());
    QCOMPARE(names.value(0).toInt(), 2);
}

// Park references of 7, 8 and 10 characters typed into the Station window and
// the p2p field, and calls that are no file name, go whole through the park
// log, the export (written in the data directory) and the import.
void TestAdifWindow::journey_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("portable") << "Q1ABC/P"
                              << "VE-5082"
                              << "Q1ABC_P@VE-5082_20230704.adi";
    QTest::newRow("up and out") << "../x"
                                << "US-12345"
                                << "___x@US-12345_20230704.adi";
    QTest::newRow("10 characters") << "Q1ABC"
                                   << "XX-1234567"
                                   << "Q1ABC@XX-1234567_20230704.adi";
}

void TestAdifWindow::journey()
{
    QFETCH(QString, call);
    QFETCH(QString, reference);
    QFETCH(QString, fileName);
    Ui::Station* st = pb->station->ui;
    st->station->setText(call);
    st->call->setText(call);
    st->pk1->click();
    st->pRef1->clear();
    QTest::keyClicks(st->pRef1, reference.toLower());
    QCOMPARE(pb->ui->parkReference->text(), reference); // the slot is the current park
    st->act1->setChecked(true);
    pb->ui->parkDate->setText("20230704");
    QTest::keyClicks(pb->ui->p2p, reference.toLower());
    pb->ui->call->setText("Q2XX");
    pb->on_logContact_pressed();
    QCOMPARE(rows("park, p2p"), QStringList{reference + "|" + reference});

    // Park log: the reference fills its column and pushes nothing out of line.
    pb->on_actionLoad_Park_Log_triggered();
    const QString header = pb->parkLog->ui->header->toPlainText();
    const QString line = pb->parkLog->ui->log->toPlainText();
    QCOMPARE(line.indexOf(reference), header.indexOf("P2P"));
    QCOMPARE(line.size(), header.size());

    home->prompter.choices.enqueue(0); // "../x" is no call POTA takes: "Export anyway"
    pb->ui->actionExport_Park_Log->trigger();
    home->prompter.clear();
    QStringList written;
    for (QDirIterator it(home->path(), {"*.adi"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        written << it.next();
    QCOMPARE(written, QStringList{home->dataPath() + "/" + fileName});
    const QString text = QString::fromUtf8(readFile(fileName));
    auto field = [](const QString& value) {
        return QString(":%1>%2 ").arg(value.size()).arg(value);
    };
    for (const QString& expected : {"<STATION_CALLSIGN" + field(call) + "<OPERATOR" + field(call) +
                                        "<MY_SIG:4>POTA <MY_SIG_INFO" + field(reference),
                                    "<SIG_INFO" + field(reference)})
        QVERIFY2(text.contains(expected), qPrintable(text));
    sql("DELETE FROM log");
    home->prompter.paths.enqueue(home->dataPath() + "/" + fileName);
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rows("park, p2p, operator"), QStringList{reference + "|" + reference + "|" + call});
    QVERIFY(home->prompter.shown.isEmpty());
}

void TestAdifWindow::roundTrip()
{
    // The apostrophe goes through the export's select as a bound value.
    pb->ui->parkReference->setText("K-12'34");
    pb->ui->endDate->setText("20230705");
    sql("INSERT INTO log (date, time, park, call, band, mode, sent, rcvd, name, state, grid, p2p, "
        "comment, county, frequency, power) VALUES ('20230704', '141500', 'K-12''34', 'Q2XX', "
        "'20M', 'SSB', '59', '57', 'Ren\xc3\xa9', 'CA', 'DM05', 'K-0001', 'Loud <and> clear', "
        "'Kern', '14.285', '100'), ('20230705', '010203', 'K-12''34', 'Q3YY', '40m', 'FT8', "
        "'-10', '-15', '', '', '', '', '', '', '', '')");
    const QString columns =
        "call, date, time, band, mode, sent, rcvd, name, state, grid, p2p, comment, park";
    const QStringList before = rows(columns);
    QCOMPARE(before.size(), 2);
    home->prompter.answers.enqueue(QMessageBox::No); // K-0001 stays as it is
    pb->ui->actionExport_Contact_Log->trigger();
    sql("DELETE FROM log");
    home->prompter.paths.enqueue(home->dataPath() + "/Q1ABC@K-12'34_20230704_complete.adi");
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rows(columns), before);
}

QTEST_MAIN(TestAdifWindow)
#include "tst_adifwindow.moc"
