#include "qrz/qrzxml.h"

#include <QTest>

// Hostile and oversized answers are in the reliability suite and the fuzzer.
class TestQrzXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textRules()
    {
        QCOMPARE(
            QStringList({Qrz::camelCase("NEW  YORK CITY"), Qrz::camelCase("mCdONALD o'BRIEN"),
                         Qrz::licenseClass("p"), Qrz::licenseClass("T"), Qrz::licenseClass("EX"),
                         Qrz::subscriptionExpiry("Wed Jan 01 12:34:03 2031"),
                         Qrz::subscriptionExpiry("non-subscriber"),
                         Qrz::subscriptionExpiry("2031-01-01")}),
            QStringList({"New  York City", "Mcdonald O'brien", "Technician+", "Technician", "",
                         "Jan 01, 2031", "Unsubscribed", "2031-01-01"}));
    }

    // Recognised by local name whatever the prefix or parent, the elements
    // after an Error are still read, and a raw NUL inside a value neither ends
    // the reading nor is kept. An answer cut short is not complete, yet what
    // closed before the cut counts.
    void elementsInDocumentOrder()
    {
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
        QCOMPARE(QStringList({result.call, result.firstName, result.county, result.error,
                              result.key, result.count}),
                 QStringList({"Q2XX", "John", "NewYork", "Not found: Q9ZZZ", "abc", "7"}));
        const Qrz::Document cut =
            Qrz::readDocument("<QRZDatabase><Session><Key>abc</Key><SubExp>Wed Ja");
        QVERIFY(!cut.complete);
        QCOMPARE(Qrz::readResult(cut).key, "abc");
    }

    // Values travel percent-encoded; the QRZ link tests log in with such a password.
    void urlsCarryEncodedValues()
    {
        const QString endpoint = "https://xmldata.qrz.com/xml/current/";
        QCOMPARE(QString::fromLatin1(Qrz::lookupUrl(endpoint, "a&b#;+ %=é", "q2&x").toEncoded()),
                 endpoint + "?s=a%26b%23%3B%2B%20%25%3D%C3%A9;callsign=Q2%26X");
    }
};

QTEST_GUILESS_MAIN(TestQrzXml)
#include "tst_qrzxml.moc"
