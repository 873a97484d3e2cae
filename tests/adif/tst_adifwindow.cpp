#include "app/parkbook.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace
{
const QStringList rowColumns = {"date",  "time",      "park",  "call", "name",   "city", "county",
                                "state", "lat",       "lon",   "grid", "sent",   "rcvd", "mode",
                                "band",  "frequency", "power", "p2p",  "comment"};

// Writes one log row; unnamed columns stay empty text.
void addRow(const QVariantHash& values)
{
    QSqlQuery q(QSqlDatabase::database("parkbook"));
    QStringList names, marks;
    for (const QString& c : rowColumns) {
        names << c;
        marks << "?";
    }
    q.prepare("INSERT INTO log (" + names.join(",") + ") VALUES (" + marks.join(",") + ")");
    for (const QString& c : rowColumns)
        q.addBindValue(values.value(c, QString("")).toString());
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
}

QList<QVariantHash> rows(const QString& where = "1")
{
    QList<QVariantHash> list;
    QSqlQuery q(QSqlDatabase::database("parkbook"));
    q.exec("SELECT * FROM log WHERE " + where + " ORDER BY date, time, park");
    while (q.next()) {
        QVariantHash h;
        for (int i = 0; i < q.record().count(); ++i)
            h.insert(q.record().fieldName(i), q.value(i).toString());
        list << h;
    }
    return list;
}

int rowCount()
{
    QSqlQuery q("SELECT count(*) FROM log", QSqlDatabase::database("parkbook"));
    return q.next() ? q.value(0).toInt() : -1;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString errorLog(const TempHome& home)
{
    return QString::fromUtf8(readFile(home.dataPath() + "/errorLog.txt"));
}
} // namespace

class TestAdifWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void potaExportMatchesWorkedExample();
    void exportFileNames();
    void secondExportReplacesFirst();
    void completeExportStateCentrePerRow();
    void apostropheInParkExports();
    void exportFileThatCannotBeOpened();
    void importActivationWindow();
    void importTwiceKeepsOneRow();
    void importParksFromActiveSlots();
    void importFallbacks();
    void importFileThatCannotBeOpened();
    void roundTrip();

private:
    void setActivation(const QString& park, const QString& start, const QString& end,
                       const QString& startTime = "000000", const QString& stopTime = "235959");
    void setSlots(const QList<int>& active);
    QString writeImportFile(const QString& name, const QString& text);

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;
};

void TestAdifWindow::init()
{
    home = std::make_unique<TempHome>();
    home->writeQuietSettings();
    pb = home->makeParkbook();
    QSqlQuery("DELETE FROM log", QSqlDatabase::database("parkbook"));
    Ui::Station* s = pb->station->ui;
    s->station->setText("Q1ABC");
    s->call->setText("Q1ABC");
    s->state->setCurrentText("CA");
    s->county->setText("Fresno");
    s->lat->setText("36.7378");
    s->lon->setText("-119.7871");
    s->grid->setText("DM06fr");
    s->power->setText("100");
    pb->ui->mst->setChecked(false);
    pb->ui->parkName->setText("Test Forest");
    pb->clockTick = QDateTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
    setSlots({});
    home->prompter.clear(); // whatever the start-up had to say
}

void TestAdifWindow::cleanup()
{
    pb.reset();
    home.reset();
}

void TestAdifWindow::setActivation(const QString& park, const QString& start, const QString& end,
                                   const QString& startTime, const QString& stopTime)
{
    pb->ui->parkReference->setText(park);
    pb->ui->parkDate->setText(start);
    pb->ui->endDate->setText(end);
    pb->ui->startTime->setText(startTime);
    pb->ui->stopTime->setText(stopTime);
}

void TestAdifWindow::setSlots(const QList<int>& active)
{
    Ui::Station* s = pb->station->ui;
    QCheckBox* boxes[] = {s->act1, s->act2, s->act3, s->act4, s->act5};
    QLineEdit* refs[] = {s->pRef1, s->pRef2, s->pRef3, s->pRef4, s->pRef5};
    QLineEdit* names[] = {s->name1, s->name2, s->name3, s->name4, s->name5};
    for (int i = 0; i < 5; ++i) {
        refs[i]->setText(QString("K-000%1").arg(i + 1));
        names[i]->setText(QString("Park %1").arg(i + 1));
        boxes[i]->setChecked(active.contains(i + 1));
    }
}

QString TestAdifWindow::writeImportFile(const QString& name, const QString& text)
{
    const QString path = home->dataPath() + "/" + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(text.toUtf8());
    return path;
}

void TestAdifWindow::potaExportMatchesWorkedExample()
{
    setActivation("K-1234", "20230704", "20230704");
    addRow({{"date", "20230704"},
            {"time", "141500"},
            {"park", "K-1234"},
            {"call", "Q2XX"},
            {"band", "20M"},
            {"mode", "SSB"},
            {"name", "Bob"},
            {"comment", "hi"}});
    // Same park on other days, and the same day at another park: not exported.
    addRow({{"date", "20230703"}, {"time", "141500"}, {"park", "K-1234"}, {"call", "Q3OLD"}});
    addRow({{"date", "20230705"}, {"time", "000100"}, {"park", "K-1234"}, {"call", "Q3NEW"}});
    addRow({{"date", "20230704"}, {"time", "150000"}, {"park", "K-9999"}, {"call", "Q3OTH"}});
    pb->ui->actionExport_Park_Log->trigger();
    QCOMPARE(readFile(home->dataPath() + "/Q1ABC@K-1234_20230704.adi"),
             readFile(QString(ADIF_TEST_DATA) + "/pota_example.adi"));
    QVERIFY(home->prompter.shown.isEmpty());
}

void TestAdifWindow::exportFileNames()
{
    setActivation("K-1234", "20230704", "20230705");
    pb->ui->mst->setChecked(true);
    pb->ui->actionExport_Park_Log->trigger();
    pb->ui->actionExport_Contact_Log->trigger();
    QStringList files = QDir(home->dataPath()).entryList({"*.adi"}, QDir::Files, QDir::Name);
    QCOMPARE(files,
             QStringList({"Q1ABC@K-1234_20230704_complete.adi", "Q1ABC@K-1234_CA_20230704.adi"}));
    // A park with no contacts in its dates gives the header alone.
    QVERIFY(readFile(home->dataPath() + "/" + files[1]).endsWith("<EOH>\n\n"));
}

void TestAdifWindow::secondExportReplacesFirst()
{
    setActivation("K-1234", "20230704", "20230704");
    addRow({{"date", "20230704"}, {"time", "141500"}, {"park", "K-1234"}, {"call", "Q2XX"}});
    addRow({{"date", "20230704"}, {"time", "151500"}, {"park", "K-1234"}, {"call", "Q3YY"}});
    pb->ui->actionExport_Park_Log->trigger();
    QSqlQuery("DELETE FROM log WHERE call='Q3YY'", QSqlDatabase::database("parkbook"));
    pb->ui->actionExport_Park_Log->trigger();
    const QByteArray text = readFile(home->dataPath() + "/Q1ABC@K-1234_20230704.adi");
    QCOMPARE(text.count("<EOH>"), 1);
    QCOMPARE(text.count("<EOR>"), 1);
    QVERIFY(text.endsWith("<CALL:4>Q2XX <EOR>\n"));
}

void TestAdifWindow::completeExportStateCentrePerRow()
{
    setActivation("K-1234", "20230704", "20230704");
    addRow({{"date", "20230704"},
            {"time", "100000"},
            {"park", "K-1234"},
            {"call", "Q2XX"},
            {"city", "StateCenter"},
            {"county", "Kern"},
            {"lat", "35.3"},
            {"lon", "-118.7"},
            {"state", "CA"}});
    addRow({{"date", "20230704"},
            {"time", "110000"},
            {"park", "K-1234"},
            {"call", "Q3YY"},
            {"city", "Reno"},
            {"county", "Washoe"},
            {"lat", "39.5"},
            {"lon", "-119.8"},
            {"state", "NV"}});
    // Whatever contact sits in the entry form decides nothing about the rows.
    pb->contact->ui->city->setText("StateCenter");
    pb->ui->actionExport_Contact_Log->trigger();
    const QString text =
        QString::fromUtf8(readFile(home->dataPath() + "/Q1ABC@K-1234_20230704_complete.adi"));
    const QStringList records = text.split("<EOR>");
    QCOMPARE(records.size(), 3);
    QVERIFY(records[0].contains("<CALL:4>Q2XX"));
    QVERIFY(!records[0].contains("<CNTY:"));
    QVERIFY(!records[0].contains("<LAT:"));
    QVERIFY(!records[0].contains("<LON:"));
    QVERIFY(records[0].contains("<STATE:2>CA\n"));
    QVERIFY(records[1].contains("<CNTY:6>Washoe\n"));
    QVERIFY(records[1].contains("<LAT:4>39.5\n<LON:6>-119.8\n"));
    QVERIFY(records[1].contains("<PARK_NAME:11>Test Forest\n<MY_STATE:2>CA\n<MY_CNTY:6>Fresno\n"));
}

void TestAdifWindow::apostropheInParkExports()
{
    setActivation("K-12'34", "20230704", "20230704");
    addRow({{"date", "20230704"}, {"time", "141500"}, {"park", "K-12'34"}, {"call", "Q2XX"}});
    pb->ui->actionExport_Park_Log->trigger();
    const QByteArray text = readFile(home->dataPath() + "/Q1ABC@K-12'34_20230704.adi");
    QVERIFY(text.contains("<MY_SIG_INFO:7>K-12'34 "));
    QVERIFY(text.contains("<CALL:4>Q2XX <EOR>\n"));
}

void TestAdifWindow::exportFileThatCannotBeOpened()
{
    setActivation("K-1234", "20230704", "20230704");
    // A folder in the way of the file name.
    QVERIFY(QDir(home->dataPath()).mkdir("Q1ABC@K-1234_20230704.adi"));
    pb->ui->actionExport_Park_Log->trigger();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown[0].icon, QMessageBox::Critical);
    QVERIFY(errorLog(*home).contains("Could not open Q1ABC@K-1234_20230704.adi for Park Log"));
}

void TestAdifWindow::importActivationWindow()
{
    setActivation("K-1234", "20230704", "20230705", "180000", "020000");
    QString text = "Another logger\n<EOH>\n";
    for (const char* dt : {"20230704 175959", "20230704 180000", "20230705 020000",
                           "20230705 020001", "20230704 1815", "20230706 000000"}) {
        const QStringList parts = QString(dt).split(' ');
        text += QString("<CALL:4>Q2XX <QSO_DATE:8:D>%1 <TIME_ON:%2>%3 <MY_SIG_INFO:6>K-1234 "
                        "<BAND:3>20M <MODE:3>SSB <EOR>\n")
                    .arg(parts[0])
                    .arg(parts[1].size())
                    .arg(parts[1]);
    }
    // Each contact differs in time only; give them distinct calls so none is a duplicate.
    QStringList lines = text.split('\n');
    for (int i = 2; i < lines.size(); ++i)
        lines[i].replace("Q2XX", QString("Q%1XX").arg(i));
    home->prompter.paths.enqueue(writeImportFile("window.adi", lines.join('\n')));
    pb->ui->actionImport_Contact_Log->trigger();
    QStringList taken;
    for (const QVariantHash& r : rows())
        taken << r["date"].toString() + " " + r["time"].toString();
    QCOMPARE(taken, QStringList({"20230704 180000", "20230704 181500", "20230705 020000"}));
    QCOMPARE(home->prompter.chooserTitles, QStringList{"Select ADIF File"});
}

void TestAdifWindow::importTwiceKeepsOneRow()
{
    setActivation("K-1234", "20230704", "20230704");
    const QString first = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <TIME_ON:6>141500 <BAND:3>20M "
                          "<MODE:3>SSB <MY_SIG_INFO:6>K-1234 <RST_SENT:2>59 <EOR>\n"
                          "<CALL:4>Q3YY <QSO_DATE:8>20230704 <TIME_ON:6>151500 <BAND:3>40M "
                          "<MODE:2>CW <MY_SIG_INFO:6>K-1234 <SIG_INFO:6>K-0001 <EOR>\n";
    home->prompter.paths.enqueue(writeImportFile("a.adi", first));
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rowCount(), 2);
    // Same contacts again, bands and modes in another case and a new report:
    // the rows are written over, not doubled.
    const QString again = QString(first)
                              .replace("20M", "20m")
                              .replace("<MODE:3>SSB", "<MODE:3>ssb")
                              .replace("<RST_SENT:2>59", "<RST_SENT:2>57");
    home->prompter.paths.enqueue(writeImportFile("b.adi", again));
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rowCount(), 2);
    QCOMPARE(rows("call='Q2XX'").value(0).value("sent").toString(), QString("57"));
    // The stored band stays as first written.
    QCOMPARE(rows("call='Q2XX'").value(0).value("band").toString(), QString("20M"));
    // The other station moved to another park: a new contact.
    home->prompter.paths.enqueue(
        writeImportFile("c.adi", QString(first).replace("K-0001", "K-0002")));
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rowCount(), 3);
    QCOMPARE(rows("call='Q3YY'").size(), 2);
}

void TestAdifWindow::importParksFromActiveSlots()
{
    setActivation("K-0001", "20230704", "20230704");
    const QString file = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <TIME_ON:6>141500 <BAND:3>20M "
                         "<MODE:3>SSB <EOR>\n";
    // No active slot and no MY_SIG_INFO: nothing is written.
    home->prompter.paths.enqueue(writeImportFile("a.adi", file));
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(rowCount(), 0);
    setSlots({1, 3});
    home->prompter.paths.enqueue(writeImportFile("a.adi", file));
    pb->ui->actionImport_Contact_Log->trigger();
    QStringList parks;
    for (const QVariantHash& r : rows())
        parks << r["park"].toString();
    QCOMPARE(parks, QStringList({"K-0001", "K-0003"}));
}

void TestAdifWindow::importFallbacks()
{
    setActivation("K-1234", "20230704", "20230704");
    Ui::Contact* c = pb->contact->ui;
    c->name->setText("Ann");
    c->city->setText("Tulsa");
    c->grid->setText("EM26");
    c->last->setText("Lee");
    pb->ui->p2p->setText("K-0042");
    home->prompter.paths.enqueue(writeImportFile(
        "a.adi", "<call:4>Q2XX <qso_date:8>20230704 <time_on:4>1415 <band:3>20M <mode:3>SSB "
                 "<my_sig_info:6>K-1234 <name:0> <gridsquare:4>EM10 <freq:x>14.2 <eor>\n"));
    pb->ui->actionImport_Contact_Log->trigger();
    const QVariantHash r = rows().value(0);
    QCOMPARE(r["time"].toString(), QString("141500"));
    QCOMPARE(r["name"].toString(), QString("Ann"));  // empty in the file
    QCOMPARE(r["grid"].toString(), QString("EM10")); // the file wins
    QCOMPARE(r["last"].toString(), QString("Lee"));  // always the Contact window's
    QCOMPARE(r["city"].toString(), QString("Tulsa"));
    QCOMPARE(r["p2p"].toString(), QString("K-0042")); // the entry form's park-to-park
    QCOMPARE(r["power"].toString(), QString("100"));  // the Station window's
    QCOMPARE(r["station"].toString(), QString("Q1ABC"));
    QCOMPARE(r["operator"].toString(), QString("Q1ABC"));
    QCOMPARE(r["frequency"].toString(), QString(""));
}

void TestAdifWindow::importFileThatCannotBeOpened()
{
    home->prompter.paths.enqueue(home->dataPath() + "/gone.adi");
    pb->ui->actionImport_Contact_Log->trigger();
    QCOMPARE(home->prompter.shown.size(), 1);
    QCOMPARE(home->prompter.shown[0].icon, QMessageBox::Critical);
    QVERIFY(errorLog(*home).contains("gone.adi"));
    // No file chosen: nothing at all.
    home->prompter.clear();
    home->prompter.paths.enqueue("");
    pb->ui->actionImport_Contact_Log->trigger();
    QVERIFY(home->prompter.shown.isEmpty());
}

void TestAdifWindow::roundTrip()
{
    setActivation("K-1234", "20230704", "20230705");
    const QList<QVariantHash> original = {
        {{"date", "20230704"},
         {"time", "141500"},
         {"park", "K-1234"},
         {"call", "Q2XX"},
         {"band", "20M"},
         {"mode", "SSB"},
         {"sent", "59"},
         {"rcvd", "57"},
         {"name", QString::fromUtf8("Ren\xc3\xa9")},
         {"state", "CA"},
         {"grid", "DM05"},
         {"p2p", "K-0001"},
         {"comment", "Loud <and> clear"},
         {"county", "Kern"},
         {"frequency", "14.285"},
         {"power", "100"}},
        {{"date", "20230705"},
         {"time", "010203"},
         {"park", "K-1234"},
         {"call", "Q3YY"},
         {"band", "40m"},
         {"mode", "FT8"},
         {"sent", "-10"},
         {"rcvd", "-15"}},
    };
    for (const QVariantHash& r : original)
        addRow(r);
    pb->ui->actionExport_Contact_Log->trigger();
    QSqlQuery("DELETE FROM log", QSqlDatabase::database("parkbook"));
    QCOMPARE(rowCount(), 0);
    home->prompter.paths.enqueue(home->dataPath() + "/Q1ABC@K-1234_20230704_complete.adi");
    pb->ui->actionImport_Contact_Log->trigger();
    const QList<QVariantHash> back = rows();
    QCOMPARE(back.size(), original.size());
    for (int i = 0; i < back.size(); ++i) {
        for (const char* col : {"call", "date", "time", "band", "mode", "sent", "rcvd", "name",
                                "state", "grid", "p2p", "comment", "park"})
            QCOMPARE(back[i].value(col).toString(), original[i].value(col, "").toString());
    }
}

QTEST_MAIN(TestAdifWindow)
#include "tst_adifwindow.moc"
