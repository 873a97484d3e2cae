#include "adif/adifcodec.h"
#include "adif/uploadcheck.h"
#include "journey.h"
#include "qrz/contact.h"
#include "ui_contact.h"

#include <QDirIterator>
#include <QtTest>

using namespace Adif;

namespace
{
// Runs "; "-separated statements on the log file; the rows of the last, each "a|b|c".
QStringList sql(const QString& statements)
{
    QStringList rows;
    for (const QString& statement : statements.split("; ", Qt::SkipEmptyParts))
        rows = Journey::run(statement);
    return rows;
}

QStringList rows(const QString& columns, const QString& from = "log ORDER BY date, time, park, p2p")
{
    return sql("SELECT " + columns + " FROM " + from);
}

// Ten contacts of US-1234 on 4 July 2023, Q2XA to Q2XJ.
const QString tenContacts =
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9) INSERT INTO log "
    "(date, time, park, call, band, mode) SELECT '20230704', printf('14%04d', i), 'US-1234', "
    "'Q2X' || char(65 + i), '20M', 'SSB' FROM n";

// The station and the moment of the codec's exports.
const ExportStation station{"Q1ABC",  "Q1ABC",   "K-1234",    "Test Forest", "CA",
                            "Fresno", "36.7378", "-119.7871", "DM06fr"};
const QDateTime exportTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
} // namespace

// The ADIF exports and the import as the operator drives them from the windows,
// then the codec underneath on its own.
class TestAdifWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    // A file of the data directory, or one at an absolute path.
    QByteArray readFile(const QString& name) const
    {
        QFile f(QDir(home->dataPath()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Imports the file `name` of the data directory, written with `text` first unless null.
    void importFile(const QString& name, const QString& text = QString())
    {
        QFile f(home->dataPath() + "/" + name);
        QVERIFY(text.isNull() || (f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0));
        f.close();
        home->prompter.paths.enqueue(f.fileName());
        pb->ui->actionImport_Contact_Log->trigger();
    }

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
        pb->station->ui->station->setText("Q1ABC");
        pb->station->ui->call->setText("Q1ABC");
        pb->station->ui->state->setCurrentText("CA");
        pb->station->activeBox(1)->setChecked(false); // the one a fresh install ticks
        // K-1234 activated all day on 4 July 2023.
        pb->ui->parkReference->setText("K-1234");
        pb->ui->parkDate->setText("20230704");
        pb->ui->endDate->setText("20230704");
        pb->ui->startTime->setText("000000");
        pb->ui->stopTime->setText("235959");
        pb->clockTick = QDateTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
        home->prompter.clear(); // whatever the start-up had to say
    }
    void cleanup()
    {
        pb.reset();
        home.reset();
    }

    // The park log for POTA: the upload check's box and its buttons, which
    // button it offers first, what the file holds, and that the log never
    // changes. A multi-state park names the state in the file's name.
    void potaExport_data()
    {
        QTest::addColumn<QString>("stored"); // shown park: K-1234 if they name it, else US-1234
        QTest::addColumn<int>("answer");     // -1: the box's default
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("seen"); // the boxes, then texts in the file or the box
        const QString offered = "Upload Check: Export with US- references|Export anyway|Cancel";
        // Rows on other days or of another park are left out, and the file of
        // an earlier export is replaced.
        QTest::newRow("worked example, K- kept")
            << "INSERT INTO log (date, time, park, call, band, mode, name, comment) VALUES "
               "('20230704', '141500', 'K-1234', 'Q2XX', '20M', 'SSB', 'Bob', 'hi'); INSERT INTO "
               "log (date, time, park, call) VALUES ('20230703', '141500', 'K-1234', 'Q3OLD'), "
               "('20230705', '000100', 'K-1234', 'Q3NEW'), ('20230704', '150000', 'K-9999', "
               "'Q3OTH')"
            << 1 << "Q1ABC@K-1234_20230704.adi" << QStringList{offered, "golden"};
        const QString retired = "INSERT INTO log (date, time, park, call, p2p) VALUES ('20230704', "
                                "'141500', 'K-1234', 'Q2XX', 'K-0001')";
        QTest::newRow("retired kept")
            << retired << 1 << "Q1ABC@K-1234_20230704.adi"
            << QStringList{offered, "<MY_SIG_INFO:6>K-1234 ", "<SIG_INFO:6>K-0001 "};
        QTest::newRow("retired written as US-")
            << retired << -1 << "Q1ABC@US-1234_20230704.adi"
            << QStringList{offered, "<MY_SIG_INFO:7>US-1234 ", "<SIG_INFO:7>US-0001 "};
        QTest::newRow("no contacts")
            << "" << -1 << "Q1ABC@US-1234_20230704.adi" << QStringList{"", "<EOH>\n\n"};
        QTest::newRow("ten clean, multi-state")
            << tenContacts << -1 << "Q1ABC@US-1234_CA_20230704.adi"
            << QStringList{"", "<CALL:4>Q2XJ <EOR>"};
        // Cancel, the default, writes nothing.
        QTest::newRow("faults, cancelled")
            << tenContacts + "; UPDATE log SET band='' WHERE call='Q2XD'; CREATE TABLE parkList "
                             "(reference TEXT); INSERT INTO parkList VALUES ('US-0001')"
            << -1 << "Q1ABC@US-1234_20230704.adi"
            << QStringList{"Upload Check: Export anyway|Cancel", "<missing>",
                           "20230704 140003 Q2XD: no band", "US-1234 is not in the park list"};
    }
    void potaExport()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(QStringList, seen);
        pb->ui->parkReference->setText(stored.contains("'K-1234'") ? "K-1234" : "US-1234");
        pb->ui->mst->setChecked(file.contains("_CA_"));
        sql(stored);
        if (!seen.contains("<missing>")) {
            QFile earlier(home->dataPath() + "/" + file);
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(QByteArray(4000, 'x')));
        }
        const QStringList before = rows("*");
        if (answer >= 0)
            home->prompter.choices.enqueue(answer);
        pb->ui->actionExport_Park_Log->trigger();

        QStringList boxes;
        for (const ScriptedPrompter::Shown& box : home->prompter.shown)
            boxes << box.title + ": " + box.buttonTexts.join('|');
        QCOMPARE(boxes.join('\n'), seen.takeFirst());
        if (seen == QStringList{"golden"})
            QCOMPARE(readFile(file), readFile(ADIF_TEST_DATA "/pota_example.adi"));
        const QString text =
            readFile(file) + (boxes.isEmpty() ? "" : home->prompter.shown.first().text);
        for (const QString& expected : seen)
            QVERIFY2(expected == "golden" || text.contains(expected), qPrintable(text));
        QCOMPARE(rows("*"), before);
    }

    // The complete export and its import give back what was stored: a bound
    // apostrophe, an accent, ADIF's own brackets in a value. A row's own city
    // (not the entry form's) says whether its place is only a state centre.
    void completeRoundTrip()
    {
        pb->ui->parkReference->setText("K-12'34");
        pb->ui->endDate->setText("20230705");
        pb->contact->ui->city->setText("StateCenter");
        sql("INSERT INTO log (date, time, park, call, band, mode, sent, rcvd, name, state, grid, "
            "p2p, comment, city, county, lat, lon, frequency, power) VALUES ('20230704', "
            "'141500', 'K-12''34', 'Q2XX', '20M', 'SSB', '59', '57', 'Ren\xc3\xa9', 'CA', 'DM05', "
            "'K-0001', 'Loud <and> clear', 'Bakersfield', 'Kern', '35.3', '-118.7', '14.285', "
            "'100'), ('20230705', '010203', 'K-12''34', 'Q3YY', '40m', 'FT8', '-10', '-15', '', "
            "'', '', '', '', 'StateCenter', 'Washoe', '39.5', '-119.8', '', '')");
        const QString columns =
            "call, date, time, band, mode, sent, rcvd, name, state, grid, p2p, comment, park";
        const QStringList before = rows(columns);
        home->prompter.answers.enqueue(QMessageBox::No); // K-0001 stays as it is
        pb->ui->actionExport_Contact_Log->trigger();
        const QString name = "Q1ABC@K-12'34_20230704_complete.adi";
        const QStringList records = QString::fromUtf8(readFile(name)).split("<EOR>");
        QVERIFY(records[0].contains("<CNTY:4>Kern\n") && records[0].contains("<LAT:4>35.3\n"));
        for (const char* tag : {"<CNTY:", "<LAT:", "<LON:"})
            QVERIFY2(!records.value(1).contains(tag), tag);
        sql("DELETE FROM log");
        importFile(name);
        QCOMPARE(rows(columns), before);
    }

    // Another logger's file, imported for an evening activation: only its
    // records inside the window are taken, and none of the Contact window's
    // values, the main window's p2p or the shown park's name reach them.
    void importOtherLoggersFile()
    {
        pb->ui->endDate->setText("20230705");
        pb->ui->startTime->setText("180000");
        pb->ui->stopTime->setText("020000");
        const QString file =
            "Another logger\n<EOH>\n<call:4>Q2XX <qso_date:8:D>20230704 <time_on:4>1800 "
            "<band:3>20M <mode:3>SSB <name:0> <gridsquare:4>EM10 <eor>\n";
        // No active slot and no park in the record: nothing is written.
        importFile("import.adi", file);
        QCOMPARE(rows("park").size(), 0);
        pb->station->parkRef(1)->setText("K-0001");
        pb->station->activeBox(1)->setChecked(true);
        for (QLineEdit* field : pb->contact->findChildren<QLineEdit*>())
            field->setText("Stale");
        pb->ui->p2p->setText("K-0042");
        pb->ui->parkName->setText("Shown Park");
        // Imported twice: the second time rewrites the same rows.
        for (int i = 0; i < 2; ++i)
            importFile("import.adi",
                       file + "<CALL:4>Q1XX <QSO_DATE:8>20230704 <TIME_ON:6>175959 <EOR>\n"
                              "<CALL:4>Q4XX <QSO_DATE:8>20230705 <TIME_ON:6>020001 <EOR>\n"
                              "<CALL:4>Q3XX <QSO_DATE:8:D>20230705 <TIME_ON:6>020000 <EOR>\n"
                              "<CALL:4>Q3YY <QSO_DATE:8>20230704 <TIME_ON:4>1900 "
                              "<MY_POTA_REF:15>US-4556,US-4557 <POTA_REF:7>VE-5082 "
                              "<COUNTRY:6>Canada <EOR>\n"
                              "<CALL:4>Q4ZZ <QSO_DATE:8>20230704 <TIME_ON:4>2000 <MY_SIG:4>SOTA "
                              "<MY_SIG_INFO:9>W6/CT-001 <CNTRY:6>Mexico <EOR>\n"
                              "<CALL:4>Q5AA <QSO_DATE:8>20230704 <TIME_ON:4>2100 "
                              "<COMMENT:22>see <MY_SIG_INFO:6>K-9 <EOR>\n");
        // The time is padded, the file's grid is kept; a SOTA reference or a
        // park inside a comment is no park, so the ticked slot's park takes those.
        QCOMPARE(rows("park, time, call, grid, p2p, country"),
                 QStringList({"K-0001|180000|Q2XX|EM10||", "US-4556|190000|Q3YY||VE-5082|Canada",
                              "US-4557|190000|Q3YY||VE-5082|Canada", "K-0001|200000|Q4ZZ|||Mexico",
                              "K-0001|210000|Q5AA|||", "K-0001|020000|Q3XX|||"}));
        const QString stored = rows("*").join('\n');
        QVERIFY2(!stored.contains("Stale") && !stored.contains("K-0042"), qPrintable(stored));
        // The open contact log fills after the import (the second one's fill
        // taking over the first's): six contacts in four groups of date and park.
        QTRY_COMPARE_WITH_TIMEOUT(pb->contactLog->windowTitle() + " " +
                                      QString::number(pb->contactLog->ui->log->blockCount()),
                                  QString("All Contacts Log,  Contacts = 6 9"), 5000);
        // Records made for the file, counted once it is in.
        QCOMPARE(rows("date, park, ifnull(name, ''), QSOs, P2Ps", "parks ORDER BY date, park"),
                 QStringList({"20230704|K-0001||3|0", "20230704|US-4556||1|1",
                              "20230704|US-4557||1|1", "20230705|K-0001||1|0"}));
    }

    // Park references of 8 and 10 characters typed into the Station window
    // and the p2p field, and calls that are no file name, go whole through the
    // park log, the export (written in the data directory) and the import.
    void journey_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("fileName");
        const char* const rows[][4] = {
            {"up and out", "../x", "US-12345", "___x@US-12345_20230704.adi"},
            {"10 characters", "Q1ABC", "XX-1234567", "Q1ABC@XX-1234567_20230704.adi"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }
    void journey()
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
        QTest::keyClicks(pb->ui->p2p, reference.toLower());
        pb->ui->call->setText("Q2XX");
        pb->on_logContact_pressed();

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
        const QString station = QString("<STATION_CALLSIGN:%1>%2 ").arg(call.size()).arg(call);
        QVERIFY2(text.contains(station), qPrintable(text));
        sql("DELETE FROM log");
        importFile(fileName);
        QCOMPARE(rows("park, p2p, operator"),
                 QStringList{reference + "|" + reference + "|" + call});
        QVERIFY(home->prompter.shown.isEmpty());
    }

    // The value of CALL in one line.
    void extract()
    {
        const char* const cases[][3] = {
            {"lower case, first of two", "<call:4>Q2XX <Call:4>Q3YY", "Q2XX"},
            {"absent", "<NAME:3>Bob", ""},
            {"longer name not matched", "<OLD_CALL:4>Q9ZZ <CALL:4>Q2XX", "Q2XX"},
            {"type indicator", "<CALL:4:S>Q2XX <TIME_ON:4>1415", "Q2XX"},
            {"length 0", "<CALL:0>Q2XX", ""},
            {"length not a number", "<CALL:x>Q2XX", ""},
            {"huge length", "<CALL:99999999999>Q2XX", ""},
            {"runs past end", "<CALL:40>Q2XX", "Q2XX"},
            {"no closing bracket", "<CALL:4", ""},
            // A value is stepped over by its length: a tag written inside it is text.
            {"tag inside a value", "<COMMENT:16>see <CALL:2>Q3 ok <CALL:4>Q2XX", "Q2XX"},
            {"value ends at the tag", "<COMMENT:4>see <CALL:4>Q2XX", "Q2XX"},
            {"bracket without colon first", "<EOR> <x <CALL:4>Q2XX", "Q2XX"},
        };
        for (const auto& [name, line, expected] : cases) {
            // The import reads every record through the one-pass index: it
            // must give the same value.
            const QString found = extractField(line, "CALL");
            QVERIFY2(found == expected && FieldIndex(line).value(u"CALL") == expected,
                     qPrintable(name + (": " + found)));
        }
    }
    void exports()
    {
        // The first contact fills every field (a four-letter name ending in é is
        // announced with length 4); the second leaves the optional ones out.
        ExportContact a{"Q2XX",   "20230704",    "141500",    QString::fromUtf8("Ren\xc3\xa9"),
                        "Kern",   "Bakersfield", "CA",        "59",
                        "57",     "SSB",         "20M",       "14.285",
                        "100",    "35.3433",     "-118.7289", "DM05",
                        "K-0001", "Nice <sig>"};
        ExportContact b{"Q3ABC", "20230704", "150000", "",  "", "", "", "599", "579",
                        "CW",    "40M",      "7.030",  "5", "", "", "", "",    ""};
        const QString text =
            header(exportTime) + completeRecord(station, a) + completeRecord(station, b);
        QFile golden(ADIF_TEST_DATA "/complete_example.adi");
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(text.toUtf8(), golden.readAll());
        // The POTA record names the other park only for a park-to-park contact
        // (without one it is checked whole against pota_example.adi by potaExport above).
        b.p2p = "K-0001";
        QVERIFY(potaRecord(station, b)
                    .endsWith("<CALL:5>Q3ABC <SIG:4>POTA <SIG_INFO:6>K-0001 <EOR>\n"));
        // Station details left empty keep their fields.
        const QString r = completeRecord(ExportStation(), ExportContact());
        for (const char* name : {"MY_CNTY", "MY_LAT", "MY_LON", "MY_GRIDSQUARE", "PARK_NAME"})
            QVERIFY2(r.contains(QString("\n<%1:0>\n").arg(name)), name);
        // File names: reserved and control characters and leading dots become
        // "_" (journey above exports with ../x); only the POTA file of a
        // multi-state park names the state.
        QCOMPARE(exportFileName("POTA", "..a/\\:*?\"<>|\t", "K-1234", "CA", "20230704", false),
                 QString("__a__________@K-1234_20230704.adi"));
        QCOMPARE(exportFileName("COMPLETE", "Q1ABC", "US-1234", "CA", "20230704", true),
                 QString("Q1ABC@US-1234_20230704_complete.adi"));
    }
    // The operator's parks, then the other station's.
    void parks()
    {
        const std::pair<const char*, const char*> rows[] = {
            {"<MY_SIG_INFO:6>K-1234 <SIG_INFO:6>K-0001", "K-1234|K-0001"}, // SIG_INFO without SIG
            {"<my_sig:4>pota <MY_SIG_INFO:6>K-1234 <SIG:4>POTA <SIG_INFO:6>K-0001",
             "K-1234|K-0001"}, // POTA in any case
            // SOTA and WWFF are no parks.
            {"<MY_SIG:4>SOTA <MY_SIG_INFO:9>W6/CT-001 <SIG:4>WWFF <SIG_INFO:8>KFF-1234", ""},
            // POTA_REF lists, their locations dropped.
            {"<MY_SIG:4>SOTA <MY_SIG_INFO:9>W6/CT-001 <MY_POTA_REF:29>US-4556@US-NY, "
             "US-12345@US-CA <POTA_REF:15>VE-5082,GB-0001",
             "US-4556|US-12345|VE-5082,GB-0001"},
            {"<COMMENT:22>see <MY_SIG_INFO:6>K-9 <SIG_INFO:0>", ""}, // a value's text is no field
        };
        for (const auto& [record, parks] : rows) {
            const FieldIndex fields(record);
            const QString found = (operatorParks(fields) << otherParks(fields)).join('|');
            QVERIFY2(found == parks, qPrintable(found + " from " + record));
        }
    }
    // Each reference as stored and as written; it is retired if they differ.
    void retiredReferences()
    {
        const char* const rows[][2] = {
            {"K-0001", "US-0001"},    {"VE-5082,K-12345", "VE-5082,US-12345"},
            {"US-4556", "US-4556"},   {"K-123", "K-123"},
            {"K-123456", "K-123456"}, {"AK-1234", "AK-1234"},
            {"K-1234A", "K-1234A"}};
        for (const auto& [stored, written] : rows) {
            QCOMPARE(currentReferences(stored), QString(written));
            QVERIFY2(hasRetiredReference(stored) == (QString(stored) != written), stored);
        }
    }
    // The window's first and last dates, then a contact's date and time.
    void activationWindow()
    {
        const std::pair<const char*, bool> rows[] = {
            // An evening activation running past midnight UTC, 18:00 to 02:00;
            // its boundaries are checked through importOtherLoggersFile above.
            {"20230704 20230706 20230705 235959", true},  // the day between
            {"20230704 20230705 20230706 000000", false}, // the day after
            // One day, 00:00:01 to 02:00.
            {"20230705 20230705 20230705 010000", true},
            {"20230705 20230705 20230705 000000", false},
            {"20230706 20230705 20230705 010000", false}, // dates reversed
        };
        for (const auto& [row, taken] : rows) {
            const QStringList f = QString(row).split(' ');
            const ActivationWindow w{f[0], f[1], f[0] == f[1] ? "000001" : "180000", "020000"};
            QVERIFY2(w.contains(f[2], f[3]) == taken, row);
        }
    }
    // The calls of the records found.
    void split()
    {
        const QString r1 = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <EOR>\n";
        const QString r2 = "<CALL:5>Q3ABC <QSO_DATE:8>20230704 <eor>\n";
        const std::pair<QString, const char*> rows[] = {
            {"Made by hand\n<PROGRAMID:3>abc\n<eoh>\n\n" + r1 + r2, "Q2XX Q3ABC"},
            {r1 + r2, "Q2XX Q3ABC"},                                       // no header
            {"Notes from another logger\nmore\n" + r1 + r2, "Q2XX Q3ABC"}, // header without eoh
            {r1 + "<CALL:4>Q4YY <QSO_DATE:8>20230704\n", "Q2XX Q4YY"},     // last without eor
            {"<CALL:1>A <EOR><CALL:1>B <EOR>\n", "A B"},                   // two on a line
            {"h\r\n<EOH>\r\n" + QString(r1).replace("\n", "\r\n"), "Q2XX"},
            {"h\n<EOH>\n\n", ""}, // header only
            // A value's length counts the CR LF of a line it spans.
            {"<NOTES:4>a\r\nb<CALL:4>Q2XX <EOR>\r\n", "Q2XX"},
        };
        for (const auto& [text, calls] : rows) {
            QStringList found;
            for (const QString& r : records(text)) {
                QVERIFY2(r.startsWith('<'), qPrintable(r));
                found << extractField(r, "CALL");
            }
            QVERIFY2(found.join(' ') == calls, qPrintable(found.join(' ') + " from " + text));
        }
    }
    // Eleven clean contacts of one day; each row spoils one thing. The park
    // list holds one park, or there is none.
    void uploadCheck()
    {
        using F = UploadFinding;
        const struct {
            const char *name, *field, *value, *listed;
            QList<int> rules;
        } rows[] = {
            {"clean, portable", "call", "Q2XX/P", "", {}},
            {"lower case", "call", "q2xx", "", {F::BadCall}},
            {"station call", "station", "Q1ABC-P", "", {F::BadCall}},
            {"empty call", "call", "", "", {F::MissingField}},
            {"blank mode", "mode", " ", "", {F::MissingField}},
            {"later today", "time", "193006", "", {F::FutureDate}},
            {"no such day", "date", "20230231", "", {F::BadDate, F::FewContacts}},
            {"not listed", "p2p", "US-0001", "US-1234", {F::UnknownPark}},
            // A retired reference whose US- form is listed is only retired.
            {"retired", "park", "K-1234", "US-1234", {F::RetiredPark}},
            {"retired other park", "p2p", "VE-5082,K-0001", "", {F::RetiredPark}},
            {"nine contacts", "count", "9", "", {F::FewContacts}},
        };
        for (const auto& r : rows) {
            Upload u{"Q1ABC", "Q1ABC", "US-1234", {}, std::nullopt, exportTime};
            for (int i = 0; i < 11; ++i)
                u.contacts.append({"20230704", QString("14%1").arg(i, 4, 10, QChar('0')),
                                   "Q2X" + QString(QChar('A' + i)), "20M", "SSB", ""});
            UploadContact& c = u.contacts[0];
            const QHash<QString, QString*> spoilt{{"call", &c.call},           {"band", &c.band},
                                                  {"mode", &c.mode},           {"date", &c.date},
                                                  {"time", &c.time},           {"p2p", &c.p2p},
                                                  {"station", &u.stationCall}, {"park", &u.park}};
            if (r.field == QString("count"))
                u.contacts.resize(QString(r.value).toInt());
            else if (spoilt.contains(r.field))
                *spoilt[r.field] = r.value;
            if (*r.listed)
                u.listedParks = QSet<QString>{r.listed};
            QList<int> rules;
            for (const UploadFinding& finding : checkUpload(u))
                rules << finding.rule;
            QVERIFY2(rules == r.rules, r.name);
        }
    }
};

QTEST_MAIN(TestAdifWindow)
#include "tst_adifwindow.moc"
