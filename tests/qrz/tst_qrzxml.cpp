#include "qrz/qrzxml.h"

#include <QTest>

// Hostile and oversized answers are in the reliability suite and the fuzzer.
class TestQrzXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textRules()
    {
        QCOMPARE(Qrz::camelCase("NEW  YORK CITY"), QString("New  York City"));
        QCOMPARE(Qrz::camelCase("mCdONALD o'BRIEN"), QString("Mcdonald O'brien"));
        QCOMPARE(Qrz::licenseClass("p"), QString("Technician+"));
        QCOMPARE(Qrz::licenseClass("T"), QString("Technician"));
        QVERIFY(Qrz::licenseClass("EX").isEmpty());
        QCOMPARE(Qrz::subscriptionExpiry("Wed Jan 01 12:34:03 2031"), QString("Jan 01, 2031"));
        QCOMPARE(Qrz::subscriptionExpiry("non-subscriber"), QString("Unsubscribed"));
        QCOMPARE(Qrz::subscriptionExpiry("2031-01-01"), QString("2031-01-01"));
    }

    void elementsInDocumentOrder()
    {
        // Recognised by local name whatever the prefix or parent, the elements
        // after an Error are still read, and a raw NUL inside a value neither
        // ends the reading nor is kept.
        QByteArray body = "<q:QRZDatabase xmlns:q=\"http://xmldata.qrz.com\"><q:Callsign>"
                          "<q:call>q2xx</q:call><q:fname>JOHN PAUL</q:fname>"
                          "<q:county>New York</q:county></q:Callsign><q:Session>"
                          "<q:Error>Not found: Q9ZZZ</q:Error><q:Key>abc</q:Key>"
                          "<q:Count>7</q:Count></q:Session><key>lower</key></q:QRZDatabase>";
        body.replace("New York", QByteArray("New\0York", 8));
        const Qrz::Document document = Qrz::readDocument(body);
        QVERIFY(document.complete);
        QStringList names;
        for (const Qrz::Element& element : document.elements)
            names << element.name;
        QCOMPARE(names, QStringList({"QRZDatabase", "Callsign", "call", "fname", "county",
                                     "Session", "Error", "Key", "Count", "key"}));
        const Qrz::Result result = Qrz::readResult(document);
        QCOMPARE(result.call, "Q2XX");
        QCOMPARE(result.firstName, "John");
        QCOMPARE(result.county, "NewYork");
        QCOMPARE(result.error, "Not found: Q9ZZZ");
        QCOMPARE(result.key, "abc");
        QCOMPARE(result.count, "7");
    }

    // An answer cut short is not complete, yet what closed before the cut counts.
    void cutAnswer()
    {
        const Qrz::Document document =
            Qrz::readDocument("<QRZDatabase><Session><Key>abc</Key><SubExp>Wed Ja");
        QVERIFY(!document.complete);
        QCOMPARE(Qrz::readResult(document).key, "abc");
    }

    void urlsCarryEncodedValues()
    {
        const QString password = "a&b#;+ %=é";
        const QString encoded = "a%26b%23%3B%2B%20%25%3D%C3%A9";
        const QString endpoint = "https://xmldata.qrz.com/xml/current/";
        const QUrl login = Qrz::loginUrl(endpoint, "N0CALL", password);
        QCOMPARE(login.scheme(), "https");
        QCOMPARE(QString::fromLatin1(login.toEncoded()),
                 endpoint + "?username=N0CALL&password=" + encoded);
        const QUrl lookup = Qrz::lookupUrl(endpoint, password, "q2&x");
        QCOMPARE(QString::fromLatin1(lookup.toEncoded()),
                 endpoint + "?s=" + encoded + ";callsign=Q2%26X");
    }
};

QTEST_GUILESS_MAIN(TestQrzXml)
#include "tst_qrzxml.moc"
