// The fixed-width lines of the park log, the contact log and the activation
// list, and the small rules they show.
#include "logging/loglines.h"
#include "parks/activationrecords.h"
#include "parks/fixedwidth.h"
#include "parks/laterule.h"
#include "parks/textcase.h"

#include <QtTest>

namespace
{
ContactRow contact(const QString& call, const QString& name)
{
    return {"",   "093015", "",    call,     name,  "",       "", "", "",
            "MA", "",       "",    "",       "",    "",       "", "", "59",
            "57", "SSB",    "20m", "14.250", "100", "K-1234", "", "", "nice"};
}
} // namespace

class TestListLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A contact is late before 12:00:00 UTC; a short time is read as hhmm...,
    // one that is no number is late. Names are capitalised word by word.
    void smallRules()
    {
        QString late;
        for (const char* time :
             {"235959", "120000", "000001", "115959", "", "12ab00", "0930", "1230"})
            late += isLateContact(time) ? 'L' : '-';
        QCOMPARE(late, QString("--LLLLL-"));
        QCOMPARE(TextCase::toCapitalize("yellowstone NATIONAL park o'neil twin-lakes"),
                 QString("Yellowstone National Park O'neil Twin-lakes"));
        // A value is taken literally, even when it looks like a place marker.
        QCOMPARE(fixedWidthLine({{"%2", -3}, {"x", 1}}), QString("%2  x"));
    }

    // Time is cut to hhmm and the name to 10 characters; a 7-character call
    // is kept whole and pushes the rest of the line one column right, as a
    // long park name pushes the county of an activation.
    void lines()
    {
        const QString rest =
            "MA 59  57  K-1234     SSB      20m   14.250    100  nice" + QString(60, ' ');
        QCOMPARE(LogLines::parkLogLine(12, contact("K1ABC", "Bartholomews")),
                 " 12 0930 K1ABC  Bartholome " + rest);
        QCOMPARE(LogLines::parkLogLine(123, contact("KD1ABCD", "Joe")),
                 "123 0930 KD1ABCD Joe        " + rest);
        const QString plain = LogLines::parkLogLine(1, contact("K1ABC", "Joe"));
        QCOMPARE(LogLines::parkLogHeader().indexOf("Comments"), plain.indexOf("nice"));
        QCOMPARE(LogLines::parkLogHeader().size(), plain.size());

        QCOMPARE(LogLines::contactLogLine(
                     {"42", "20260601", "XX-1234567", "093015", "K1ABC", "20m", "SSB", "K-1234"}),
                 QString("   42 20260601 XX-1234567 0930 K1ABC  20m   SSB      K-1234    "));

        ParkRecord record{0,    "20240301", "K-0001", "Short", "38.1", "-78.2", "Albemarle",
                          "VA", "US-VA",    "",       "7",     "0",    "123"};
        const QString line = activationLine(record);
        QCOMPARE(line, "20240301 K-0001     VA   7   0 123 38.1     -78.2     US-VA " +
                           QString("Short").leftJustified(64) + " " +
                           QString("Albemarle").leftJustified(20));
        record.name = QString(70, 'N');
        QCOMPARE(activationLine(record).indexOf("Albemarle"), line.indexOf("Albemarle") + 6);
        QCOMPARE(activationHeader().indexOf("Park Name"), line.indexOf("Short"));
    }
};

QTEST_GUILESS_MAIN(TestListLines)
#include "tst_listlines.moc"
