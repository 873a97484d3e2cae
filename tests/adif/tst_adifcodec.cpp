#include "adif/adifcodec.h"
#include "adif/uploadcheck.h"

#include <QFile>
#include <QTest>

using namespace Adif;

namespace
{
const ExportStation station{"Q1ABC",  "Q1ABC",   "K-1234",    "Test Forest", "CA",
                            "Fresno", "36.7378", "-119.7871", "DM06fr"};
const QDateTime exportTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
} // namespace

class TestAdifCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        // (without one it is checked whole against pota_example.adi by tst_adifwindow).
        b.p2p = "K-0001";
        QVERIFY(potaRecord(station, b)
                    .endsWith("<CALL:5>Q3ABC <SIG:4>POTA <SIG_INFO:6>K-0001 <EOR>\n"));
        // Station details left empty keep their fields.
        const QString r = completeRecord(ExportStation(), ExportContact());
        for (const char* name : {"MY_CNTY", "MY_LAT", "MY_LON", "MY_GRIDSQUARE", "PARK_NAME"})
            QVERIFY2(r.contains(QString("\n<%1:0>\n").arg(name)), name);
        // File names: reserved and control characters and leading dots become
        // "_" (tst_adifwindow exports with ../x); only the POTA file of a
        // multi-state park names the state.
        QCOMPARE(exportFileName("POTA", "..a/\\:*?\"<>|\t", "K-1234", "CA", "20230704", false),
                 QString("__a__________@K-1234_20230704.adi"));
        QCOMPARE(exportFileName("COMPLETE", "Q1ABC", "US-1234", "CA", "20230704", true),
                 QString("Q1ABC@US-1234_20230704_complete.adi"));
    }
    // The operator's parks, then the other station's.
    void parks_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("parks");
        QTest::newRow("SIG_INFO without SIG")
            << "<MY_SIG_INFO:6>K-1234 <SIG_INFO:6>K-0001" << QStringList{"K-1234", "K-0001"};
        QTest::newRow("POTA, any case")
            << "<my_sig:4>pota <MY_SIG_INFO:6>K-1234 <SIG:4>POTA <SIG_INFO:6>K-0001"
            << QStringList{"K-1234", "K-0001"};
        QTest::newRow("SOTA and WWFF are no parks")
            << "<MY_SIG:4>SOTA <MY_SIG_INFO:9>W6/CT-001 <SIG:4>WWFF <SIG_INFO:8>KFF-1234"
            << QStringList{""};
        QTest::newRow("POTA_REF lists, locations dropped")
            << "<MY_SIG:4>SOTA <MY_SIG_INFO:9>W6/CT-001 <MY_POTA_REF:29>US-4556@US-NY, "
               "US-12345@US-CA <POTA_REF:15>VE-5082,GB-0001"
            << QStringList{"US-4556", "US-12345", "VE-5082,GB-0001"};
        QTest::newRow("value hijack")
            << "<COMMENT:22>see <MY_SIG_INFO:6>K-9 <SIG_INFO:0>" << QStringList{""};
    }
    void parks()
    {
        QFETCH(QString, record);
        const FieldIndex fields(record);
        QTEST(operatorParks(fields) << otherParks(fields), "parks");
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
            // its boundaries are checked through the import in tst_adifwindow.
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
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("calls");
        const QString r1 = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <EOR>\n";
        const QString r2 = "<CALL:5>Q3ABC <QSO_DATE:8>20230704 <eor>\n";
        const QStringList both{"Q2XX", "Q3ABC"};
        QTest::newRow("header") << "Made by hand\n<PROGRAMID:3>abc\n<eoh>\n\n" + r1 + r2 << both;
        QTest::newRow("no header") << r1 + r2 << both;
        QTest::newRow("header without eoh")
            << "Notes from another logger\nmore\n" + r1 + r2 << both;
        QTest::newRow("last without eor") << r1 + "<CALL:4>Q4YY <QSO_DATE:8>20230704\n"
                                          << QStringList{"Q2XX", "Q4YY"};
        QTest::newRow("two on a line") << "<CALL:1>A <EOR><CALL:1>B <EOR>\n"
                                       << QStringList{"A", "B"};
        QTest::newRow("crlf") << "h\r\n<EOH>\r\n" + QString(r1).replace("\n", "\r\n")
                              << QStringList{"Q2XX"};
        QTest::newRow("header only") << "h\n<EOH>\n\n" << QStringList{};
        // A value's length counts the CR LF of a line it spans.
        QTest::newRow("value across a line") << "<NOTES:4>a\r\nb<CALL:4>Q2XX <EOR>\r\n"
                                             << QStringList{"Q2XX"};
    }
    void split()
    {
        QFETCH(QString, text);
        QStringList calls;
        for (const QString& r : records(text)) {
            QVERIFY2(r.startsWith('<'), qPrintable(r));
            calls << extractField(r, "CALL");
        }
        QTEST(calls, "calls");
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

QTEST_GUILESS_MAIN(TestAdifCodec)
#include "tst_adifcodec.moc"
