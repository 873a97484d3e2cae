#include "logging/loglines.h"

#include <QtTest>

class TestLogLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parkLogLines();
    void longParkKeepsContactLogColumns();
};

namespace
{
ContactRow contact(const QString& call, const QString& name)
{
    ContactRow f;
    f.time = "093015";
    f.call = call;
    f.name = name;
    f.state = "MA";
    f.sent = "59";
    f.rcvd = "57";
    f.p2p = "K-1234";
    f.mode = "SSB";
    f.band = "20m";
    f.frequency = "14.250";
    f.power = "100";
    f.comment = "nice";
    return f;
}
} // namespace

void TestLogLines::parkLogLines()
{
    // Time is cut to hhmm; the name to 10 characters; a 7-character call is
    // kept whole and pushes the rest of the line one column right.
    const QString rest =
        "MA 59  57  K-1234     SSB      20m   14.250    100  nice" + QString(60, ' ');
    QCOMPARE(LogLines::parkLogLine(12, contact("K1ABC", "Bartholomews")),
             " 12 0930 K1ABC  Bartholome " + rest);
    QCOMPARE(LogLines::parkLogLine(123, contact("KD1ABCD", "Joe")),
             "123 0930 KD1ABCD Joe        " + rest);

    // The header's titles stand over their columns.
    const QString header = LogLines::parkLogHeader();
    const QString plain = LogLines::parkLogLine(1, contact("K1ABC", "Joe"));
    QCOMPARE(header.indexOf("Comments"), plain.indexOf("nice"));
    QCOMPARE(header.size(), plain.size());
}

void TestLogLines::longParkKeepsContactLogColumns()
{
    const LogTable::ListedContact f{"42",    "20260601", "XX-1234567", "093015",
                                    "K1ABC", "20m",      "SSB",        "K-1234"};
    QCOMPARE(LogLines::contactLogLine(f),
             QString("   42 20260601 XX-1234567 0930 K1ABC  20m   SSB      K-1234    "));
}

QTEST_GUILESS_MAIN(TestLogLines)
#include "tst_loglines.moc"
