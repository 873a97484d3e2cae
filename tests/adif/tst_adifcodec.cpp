#include "adif/adifcodec.h"

#include <QFile>
#include <QTest>

using namespace Adif;

namespace
{
QByteArray golden(const QString& name)
{
    QFile f(QString(ADIF_TEST_DATA) + "/" + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    return f.readAll();
}

ExportStation fullStation()
{
    return {"Q1ABC",  "Q1ABC",   "K-1234",    "Test Forest", "CA",
            "Fresno", "36.7378", "-119.7871", "DM06fr"};
}

const QDateTime exportTime(QDate(2023, 7, 4), QTime(19, 30, 5), Qt::UTC);
} // namespace

class TestAdifCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldLengthCountsCharacters_data();
    void fieldLengthCountsCharacters();
    void extract_data();
    void extract();
    void potaExampleIsByteExact();
    void potaSigInfoOnlyWithP2P();
    void completeFileIsByteExact();
    void completeSkipsEmptyOptionalFields();
    void emptyStationDetailsKeepTheirFields();
    void stateCentreRowLosesPlace();
    void headerOnly();
    void fileNames_data();
    void fileNames();
    void activationWindow_data();
    void activationWindow();
    void split_data();
    void split();
    void largeFileWithoutHeaderEnd();
};

void TestAdifCodec::fieldLengthCountsCharacters_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("plain") << "K-0001" << QByteArray("<F:6>K-0001");
    QTest::newRow("empty") << "" << QByteArray("<F:0>");
    // Four letters, five bytes: the length is what a reader counts as characters.
    QTest::newRow("accent") << QString::fromUtf8("Ren\xc3\xa9") << QByteArray("<F:4>Ren\xc3\xa9");
    QTest::newRow("brackets kept") << "a<b>c" << QByteArray("<F:5>a<b>c");
    QTest::newRow("spaces kept") << " x " << QByteArray("<F:3> x ");
}

void TestAdifCodec::fieldLengthCountsCharacters()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, utf8);
    QCOMPARE(field("F", value).toUtf8(), utf8);
    QCOMPARE(extractField(field("F", value), "F"), value);
}

void TestAdifCodec::extract_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lower-case tag") << "<call:4>Q2XX <EOR>"
                                    << "CALL"
                                    << "Q2XX";
    QTest::newRow("mixed-case request") << "<CALL:4>Q2XX"
                                        << "Call"
                                        << "Q2XX";
    QTest::newRow("length 0") << "<CALL:0>Q2XX"
                              << "CALL"
                              << "";
    QTest::newRow("negative length") << "<CALL:-3>Q2XX"
                                     << "CALL"
                                     << "";
    QTest::newRow("length not a number") << "<CALL:x>Q2XX"
                                         << "CALL"
                                         << "";
    QTest::newRow("absent") << "<NAME:3>Bob"
                            << "CALL"
                            << "";
    QTest::newRow("type indicator") << "<QSO_DATE:8:D>20230704 <TIME_ON:4>1415"
                                    << "QSO_DATE"
                                    << "20230704";
    QTest::newRow("runs past end") << "<COMMENT:40>short"
                                   << "COMMENT"
                                   << "short";
    QTest::newRow("nothing after bracket") << "<COMMENT:5>"
                                           << "COMMENT"
                                           << "";
    QTest::newRow("no closing bracket") << "<CALL:4"
                                        << "CALL"
                                        << "";
    QTest::newRow("huge length") << "<CALL:99999999999>Q2XX"
                                 << "CALL"
                                 << "";
    QTest::newRow("longer name not matched") << "<MY_SIG_INFO:6>K-1234"
                                             << "SIG_INFO"
                                             << "";
    QTest::newRow("first of two") << "<SIG_INFO:6>K-0001 <SIG_INFO:6>K-0002"
                                  << "SIG_INFO"
                                  << "K-0001";
    QTest::newRow("type colon only") << "<CALL::>Q2XX"
                                     << "CALL"
                                     << "";
    QTest::newRow("across lines") << "<NAME:7>Ann\nLee"
                                  << "NAME"
                                  << "Ann\nLee";
    // A tag written inside an earlier value is found first, as a plain
    // search of the record finds it.
    QTest::newRow("tag inside a value") << "<COMMENT:16>see <CALL:2>Q3 ok <CALL:4>Q2XX"
                                        << "CALL"
                                        << "Q3";
    QTest::newRow("doubled bracket") << "<<CALL:4>Q2XX"
                                     << "CALL"
                                     << "Q2XX";
    QTest::newRow("lower-case tag") << "<call:4>Q2XX <Call:4>Q3YY"
                                    << "CALL"
                                    << "Q2XX";
    QTest::newRow("lower-case name asked") << "<CALL:4>Q2XX"
                                           << "call"
                                           << "Q2XX";
    QTest::newRow("bracket without colon first") << "<EOR> <x <CALL:4>Q2XX"
                                                 << "CALL"
                                                 << "Q2XX";
    QTest::newRow("accented value") << "<NAME:4>Zoë! <CALL:4>Q2XX"
                                    << "NAME"
                                    << "Zoë!";
}

void TestAdifCodec::extract()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(extractField(line, name), expected);
    // The import reads every record through the one-pass index: it must
    // give the same value for every row.
    QCOMPARE(FieldIndex(line).value(name), expected);
}

void TestAdifCodec::potaExampleIsByteExact()
{
    ExportContact c;
    c.call = "Q2XX";
    c.date = "20230704";
    c.time = "141500";
    c.band = "20M";
    c.mode = "SSB";
    c.name = "Ignored";
    c.comment = "not in the upload";
    const QString text = header(exportTime) + potaRecord(fullStation(), c);
    QCOMPARE(text.toUtf8(), golden("pota_example.adi"));
}

void TestAdifCodec::potaSigInfoOnlyWithP2P()
{
    ExportContact c;
    c.call = "Q2XX";
    QVERIFY(!potaRecord(fullStation(), c).contains("<SIG_INFO"));
    QVERIFY(!completeRecord(fullStation(), c).contains("<SIG_INFO"));
    c.p2p = "K-0001";
    QVERIFY(potaRecord(fullStation(), c).endsWith("<CALL:4>Q2XX <SIG_INFO:6>K-0001 <EOR>\n"));
    QVERIFY(completeRecord(fullStation(), c).contains("\n<SIG_INFO:6>K-0001\n"));
}

void TestAdifCodec::completeFileIsByteExact()
{
    ExportContact a{"Q2XX",   "20230704",    "141500",    QString::fromUtf8("Ren\xc3\xa9"),
                    "Kern",   "Bakersfield", "CA",        "59",
                    "57",     "SSB",         "20M",       "14.285",
                    "100",    "35.3433",     "-118.7289", "DM05",
                    "K-0001", "Nice <sig>"};
    ExportContact b;
    b.call = "Q3ABC";
    b.date = "20230704";
    b.time = "150000";
    b.sent = "599";
    b.rcvd = "579";
    b.mode = "CW";
    b.band = "40M";
    b.frequency = "7.030";
    b.power = "5";
    const QString text =
        header(exportTime) + completeRecord(fullStation(), a) + completeRecord(fullStation(), b);
    QCOMPARE(text.toUtf8(), golden("complete_example.adi"));
}

void TestAdifCodec::completeSkipsEmptyOptionalFields()
{
    ExportContact c;
    c.call = "Q3ABC";
    c.sent = "599";
    const QString r = completeRecord(fullStation(), c);
    QVERIFY(r.contains("<TIME_ON:0>\n<RST_SENT:3>599\n"));
    QVERIFY(r.contains("<TX_PWR:0>\n<STATION_CALLSIGN:5>Q1ABC\n"));
    QVERIFY(r.endsWith("<MY_GRIDSQUARE:6>DM06fr\n<EOR>\n\n"));
}

void TestAdifCodec::emptyStationDetailsKeepTheirFields()
{
    ExportContact c;
    const QString r = completeRecord(ExportStation(), c);
    for (const char* name : {"MY_CNTY", "MY_LAT", "MY_LON", "MY_GRIDSQUARE", "PARK_NAME"})
        QVERIFY2(r.contains(QString("\n<%1:0>\n").arg(name)), name);
}

void TestAdifCodec::stateCentreRowLosesPlace()
{
    ExportContact c;
    c.county = "Kern";
    c.lat = "35.3";
    c.lon = "-118.7";
    c.grid = "DM05";
    c.state = "CA";
    c.city = "Bakersfield";
    const QString normal = completeRecord(fullStation(), c);
    QVERIFY(normal.contains("<CNTY:4>Kern\n"));
    QVERIFY(normal.contains("<LAT:4>35.3\n<LON:6>-118.7\n"));
    c.city = stateCentreCity;
    const QString centre = completeRecord(fullStation(), c);
    QVERIFY(!centre.contains("<CNTY:"));
    QVERIFY(!centre.contains("<LAT:"));
    QVERIFY(!centre.contains("<LON:"));
    // The rest of the place and the station's own position stay.
    QVERIFY(centre.contains("<STATE:2>CA\n"));
    QVERIFY(centre.contains("<GRIDSQUARE:4>DM05\n"));
    QVERIFY(centre.contains("<MY_LAT:7>36.7378\n"));
}

void TestAdifCodec::headerOnly()
{
    const QString h = header(exportTime);
    QVERIFY(h.endsWith("<EOH>\n\n"));
    QVERIFY(golden("pota_example.adi").startsWith(h.toUtf8()));
    QVERIFY(records(h).isEmpty());
}

void TestAdifCodec::fileNames_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("multi");
    QTest::addColumn<QString>("name");
    QTest::newRow("pota") << "POTA" << false << "Q1ABC@K-1234_20230704.adi";
    QTest::newRow("pota multi-state") << "POTA" << true << "Q1ABC@K-1234_CA_20230704.adi";
    QTest::newRow("complete") << "COMPLETE" << false << "Q1ABC@K-1234_20230704_complete.adi";
    QTest::newRow("complete multi-state")
        << "COMPLETE" << true << "Q1ABC@K-1234_20230704_complete.adi";
}

void TestAdifCodec::fileNames()
{
    QFETCH(QString, type);
    QFETCH(bool, multi);
    QFETCH(QString, name);
    QCOMPARE(exportFileName(type, "Q1ABC", "K-1234", "CA", "20230704", multi), name);
}

void TestAdifCodec::activationWindow_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("taken");
    // An evening activation running past midnight UTC.
    QTest::newRow("before start") << "20230704"
                                  << "20230705"
                                  << "20230704"
                                  << "175959" << false;
    QTest::newRow("at start") << "20230704"
                              << "20230705"
                              << "20230704"
                              << "180000" << true;
    QTest::newRow("at stop") << "20230704"
                             << "20230705"
                             << "20230705"
                             << "020000" << true;
    QTest::newRow("after stop") << "20230704"
                                << "20230705"
                                << "20230705"
                                << "020001" << false;
    QTest::newRow("day between") << "20230704"
                                 << "20230706"
                                 << "20230705"
                                 << "235959" << true;
    QTest::newRow("day after") << "20230704"
                               << "20230705"
                               << "20230706"
                               << "000000" << false;
    QTest::newRow("one day, inside") << "20230705"
                                     << "20230705"
                                     << "20230705"
                                     << "010000" << true;
    QTest::newRow("one day, early") << "20230705"
                                    << "20230705"
                                    << "20230705"
                                    << "000000" << false;
    QTest::newRow("dates reversed") << "20230706"
                                    << "20230705"
                                    << "20230705"
                                    << "010000" << false;
}

void TestAdifCodec::activationWindow()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, taken);
    // The one-day rows use an early-morning window 000001..020000.
    ActivationWindow w{start, end, start == end ? "000001" : "180000", "020000"};
    QCOMPARE(w.contains(date, time), taken);
}

void TestAdifCodec::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("calls");
    const QString r1 = "<CALL:4>Q2XX <QSO_DATE:8>20230704 <EOR>\n";
    const QString r2 = "<CALL:5>Q3ABC <QSO_DATE:8>20230704 <eor>\n";
    QTest::newRow("header") << "Made by hand\n<PROGRAMID:3>abc\n<EOH>\n\n" + r1 + r2
                            << QStringList{"Q2XX", "Q3ABC"};
    QTest::newRow("lower-case eoh") << "Made by hand\n<eoh>\n" + r1 << QStringList{"Q2XX"};
    QTest::newRow("no header") << r1 + r2 << QStringList{"Q2XX", "Q3ABC"};
    QTest::newRow("header without eoh")
        << "Notes from another logger\nmore notes\n" + r1 + r2 << QStringList{"Q2XX", "Q3ABC"};
    QTest::newRow("last without eor") << r1 + "<CALL:4>Q4YY <QSO_DATE:8>20230704\n"
                                      << QStringList{"Q2XX", "Q4YY"};
    QTest::newRow("record over lines")
        << "x\n<EOH>\n<CALL:4>\nQ2XX\n<QSO_DATE:8>20230704\n<EOR>\n\n" + r2
        << QStringList{"", "Q3ABC"};
    QTest::newRow("two on a line") << "<CALL:1>A <EOR><CALL:1>B <EOR>\n" << QStringList{"A", "B"};
    QTest::newRow("junk between") << r1 + "junk\n" + r2 << QStringList{"Q2XX", "Q3ABC"};
    QTest::newRow("crlf") << "h\r\n<EOH>\r\n" + QString(r1).replace("\n", "\r\n")
                          << QStringList{"Q2XX"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("header only") << "h\n<EOH>\n\n" << QStringList{};
    QTest::newRow("text only") << "nothing here\n" << QStringList{};
}

void TestAdifCodec::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, calls);
    const QStringList got = records(text);
    QStringList gotCalls;
    for (const QString& r : got) {
        QVERIFY2(r.startsWith('<'), qPrintable(r));
        gotCalls << extractField(r, "CALL");
    }
    // The call of the record written over lines sits on its own line after the tag.
    if (QTest::currentDataTag() == QLatin1String("record over lines"))
        QCOMPARE(got.value(0), QString("<CALL:4>\nQ2XX\n<QSO_DATE:8>20230704\n<EOR>"));
    else
        QCOMPARE(gotCalls, calls);
}

void TestAdifCodec::largeFileWithoutHeaderEnd()
{
    // Neither <EOH> nor a leading "<": the whole file is read as header first,
    // which must not cost a search of the whole buffer for every line.
    QString text = "Exported by a logger that writes no header end\n";
    for (int i = 0; i < 50000; ++i)
        text += QString("<CALL:%1>Q%2 <EOR>\n").arg(QString::number(i).size() + 1).arg(i);
    const QStringList got = records(text);
    QCOMPARE(got.size(), 50000);
    QCOMPARE(extractField(got.last(), "CALL"), QString("Q49999"));
}

QTEST_GUILESS_MAIN(TestAdifCodec)
#include "tst_adifcodec.moc"
