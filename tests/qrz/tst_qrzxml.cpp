#include "qrz/qrzxml.h"

#include <QTest>

class TestQrzXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void camelCaseWords_data();
    void camelCaseWords();
    void licenseClasses_data();
    void licenseClasses();
    void expiry_data();
    void expiry();
    void lookupAnswer();
    void elementsInDocumentOrder();
    void hostileAnswers_data();
    void hostileAnswers();
    void urlsCarryEncodedValues_data();
    void urlsCarryEncodedValues();
};

void TestQrzXml::camelCaseWords_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("capitals") << "JOHN"
                              << "John";
    QTest::newRow("double space kept") << "NEW  YORK CITY"
                                       << "New  York City";
    QTest::newRow("leading space") << " ab"
                                   << " Ab";
    QTest::newRow("mixed") << "mCdONALD o'BRIEN"
                           << "Mcdonald O'brien";
}

void TestQrzXml::camelCaseWords()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(Qrz::camelCase(in), out);
}

void TestQrzXml::licenseClasses_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("e") << "e"
                       << "Extra";
    QTest::newRow("A") << "A"
                       << "Advanced";
    QTest::newRow("g") << "g"
                       << "General";
    QTest::newRow("T") << "T"
                       << "Technician";
    QTest::newRow("p") << "p"
                       << "Technician+";
    QTest::newRow("n") << "n"
                       << "Novice";
    QTest::newRow("C") << "C"
                       << "Club";
    QTest::newRow("unknown") << "x"
                             << "";
    QTest::newRow("two letters") << "EX"
                                 << "";
}

void TestQrzXml::licenseClasses()
{
    QFETCH(QString, code);
    QFETCH(QString, text);
    QCOMPARE(Qrz::licenseClass(code), text);
}

void TestQrzXml::expiry_data()
{
    QTest::addColumn<QString>("subExp");
    QTest::addColumn<QString>("shown");
    QTest::newRow("24 characters") << "Wed Jan 01 12:34:03 2031"
                                   << "Jan 01, 2031";
    QTest::newRow("non-subscriber") << "non-subscriber"
                                    << "Unsubscribed";
    QTest::newRow("too short for the layout") << "2031-01-01"
                                              << "2031-01-01";
    QTest::newRow("empty") << ""
                           << "";
}

void TestQrzXml::expiry()
{
    QFETCH(QString, subExp);
    QFETCH(QString, shown);
    QCOMPARE(Qrz::subscriptionExpiry(subExp), shown);
    if (subExp.size() == 24)
        QCOMPARE(shown.size(), 12);
}

void TestQrzXml::lookupAnswer()
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
        "<QRZDatabase version=\"1.34\" xmlns=\"http://xmldata.qrz.com\">"
        "<Callsign><call>q2xx</call><fname>JOHN PAUL</fname><name>SMITH</name>"
        "<addr1>12 MAIN ST</addr1><addr2>NEW  YORK CITY</addr2><state>ny</state>"
        "<country>United States</country><lat>40.712800</lat><lon>-74.006000</lon>"
        "<grid>FN30as</grid><county>New&#0;York</county><dxcc>291</dxcc><class>p</class>"
        "<born>1970</born><expdate>2030-01-01</expdate></Callsign>"
        "<Session><Key>k1</Key><Count>124</Count></Session></QRZDatabase>";
    // A raw NUL inside a value must neither end the reading nor be shown.
    QByteArray withNul = body;
    withNul.replace("New&#0;York", QByteArray("New\0York", 8));
    const Qrz::Result result = Qrz::readResult(Qrz::readDocument(withNul));
    QCOMPARE(result.call, "Q2XX");
    QCOMPARE(result.firstName, "John");
    QCOMPARE(result.lastName, "Smith");
    QCOMPARE(result.city, "New  York City");
    QCOMPARE(result.state, "NY");
    QCOMPARE(result.license, "Technician+");
    QCOMPARE(result.lat, "40.712800");
    QCOMPARE(result.lon, "-74.006000");
    QCOMPARE(result.grid, "FN30as");
    QCOMPARE(result.dxcc, "291");
    QCOMPARE(result.born, "1970");
    QCOMPARE(result.expire, "2030-01-01");
    QCOMPARE(result.country, "United States");
    QCOMPARE(result.county, "NewYork");
    QCOMPARE(result.key, "k1");
    QVERIFY(result.hasKey);
    QCOMPARE(result.count, "124");
    QVERIFY(result.error.isEmpty());
}

void TestQrzXml::elementsInDocumentOrder()
{
    // Recognised by local name whatever the prefix or parent, and the
    // elements after an Error are still read.
    const QByteArray body = "<q:QRZDatabase xmlns:q=\"http://xmldata.qrz.com\"><q:Session>"
                            "<q:Error>Not found: Q9ZZZ</q:Error><q:Key>abc</q:Key>"
                            "<q:Count>7</q:Count></q:Session><key>lower</key></q:QRZDatabase>";
    const Qrz::Document document = Qrz::readDocument(body);
    QVERIFY(document.complete);
    QStringList names;
    for (const Qrz::Element& element : document.elements)
        names << element.name;
    QCOMPARE(names, QStringList({"QRZDatabase", "Session", "Error", "Key", "Count", "key"}));
    const Qrz::Result result = Qrz::readResult(document);
    QCOMPARE(result.error, "Not found: Q9ZZZ");
    QCOMPARE(result.key, "abc");
    QCOMPARE(result.count, "7");
}

void TestQrzXml::hostileAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("key");
    QTest::newRow("not xml") << QByteArray("<html><body>502 Bad Gateway") << false << "";
    QTest::newRow("empty") << QByteArray() << false << "";
    QTest::newRow("cut inside a value")
        << QByteArray("<QRZDatabase><Session><Key>abc</Key><SubExp>Wed Ja") << false << "abc";
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00<\x01", 5) << false << "";
    QByteArray huge = "<QRZDatabase><Session><Key>abc</Key><Remark>";
    huge += QByteArray(3 * Qrz::maxAnswerBytes, 'x');
    huge += "</Remark></Session></QRZDatabase>";
    QTest::newRow("larger than an answer can be") << huge << false << "abc";
    QByteArray deep;
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    QTest::newRow("deeply nested") << deep << false << "";
}

void TestQrzXml::hostileAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, complete);
    QFETCH(QString, key);
    const Qrz::Document document = Qrz::readDocument(body);
    QCOMPARE(document.complete, complete);
    const Qrz::Result result = Qrz::readResult(document);
    QCOMPARE(result.key, key);
    QVERIFY(result.call.isEmpty());
}

void TestQrzXml::urlsCarryEncodedValues_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("plain") << "secret"
                           << "secret";
    QTest::newRow("ampersand") << "a&b"
                               << "a%26b";
    QTest::newRow("hash semicolon plus") << "#;+"
                                         << "%23%3B%2B";
    QTest::newRow("space percent equals") << "a b%="
                                          << "a%20b%25%3D";
    QTest::newRow("non-ascii") << "é"
                               << "%C3%A9";
}

void TestQrzXml::urlsCarryEncodedValues()
{
    QFETCH(QString, password);
    QFETCH(QString, encoded);
    const QString endpoint = "https://xmldata.qrz.com/xml/current/";
    const QUrl login = Qrz::loginUrl(endpoint, "N0CALL", password);
    QCOMPARE(login.scheme(), "https");
    QCOMPARE(login.path(), "/xml/current/");
    QCOMPARE(QString::fromLatin1(login.toEncoded()),
             endpoint + "?username=N0CALL&password=" + encoded);

    const QUrl lookup = Qrz::lookupUrl(endpoint, password, "q2&x");
    QCOMPARE(QString::fromLatin1(lookup.toEncoded()),
             endpoint + "?s=" + encoded + ";callsign=Q2%26X");
}

QTEST_GUILESS_MAIN(TestQrzXml)
#include "tst_qrzxml.moc"
