#include "logging/loglines.h"

#include <QtTest>

class TestLogLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parkLogLine_data();
    void parkLogLine();
    void contactLogLine_data();
    void contactLogLine();
    void headersLineUpWithTheirColumns();
};

namespace
{
LogLineFields contact(const QString& call, const QString& name)
{
    LogLineFields f;
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

void TestLogLines::parkLogLine_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    // Time is cut to hhmm; the name to 10 characters; a 7-character call is
    // kept whole and pushes the rest of the line one column right.
    QTest::newRow("plain") << 1 << "K1ABC"
                           << "Joe"
                           << "  1 0930 K1ABC  Joe        MA 59  57  K-1234  SSB      20m   "
                              "14.250    100  nice";
    QTest::newRow("long name") << 12 << "K1ABC"
                               << "Bartholomews"
                               << " 12 0930 K1ABC  Bartholome MA 59  57  K-1234  SSB      20m   "
                                  "14.250    100  nice";
    QTest::newRow("7-char call") << 123 << "KD1ABCD"
                                 << "Joe"
                                 << "123 0930 KD1ABCD Joe        MA 59  57  K-1234  SSB      20m   "
                                    "14.250    100  nice";
}

void TestLogLines::parkLogLine()
{
    QFETCH(int, number);
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(QString, start);
    const QString line = LogLines::parkLogLine(number, contact(call, name));
    QCOMPARE(line, start + QString(60, ' '));
}

void TestLogLines::contactLogLine_data()
{
    QTest::addColumn<QString>("park");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7-char park") << "K-0001"
                                 << "   42 20260601 K-0001  0930 K1ABC  20m   SSB      K-1234 ";
    QTest::newRow("longer park pushes")
        << "VE-00012"
        << "   42 20260601 VE-00012 0930 K1ABC  20m   SSB      K-1234 ";
}

void TestLogLines::contactLogLine()
{
    QFETCH(QString, park);
    QFETCH(QString, expected);
    LogLineFields f = contact("K1ABC", "Joe");
    f.id = "42";
    f.date = "20260601";
    f.park = park;
    QCOMPARE(LogLines::contactLogLine(f), expected);
}

void TestLogLines::headersLineUpWithTheirColumns()
{
    const QString park = LogLines::parkLogHeader();
    QVERIFY(park.startsWith("Num Time Call   Name       ST Snt Rcv P2P     Mode     Band  "
                            "Frq(MHz)  Pwr  Comments"));
    // Each title starts where its column starts in a contact line.
    const QString line = LogLines::parkLogLine(1, contact("K1ABC", "Joe"));
    QCOMPARE(park.indexOf("Comments"), line.indexOf("nice"));
    QCOMPARE(park.size(), line.size());
    QCOMPARE(LogLines::contactLogHeader(),
             QString("Db-ID   Date   Pk-Ref  Time Call   Band  Mode     P2P    "));
}

QTEST_GUILESS_MAIN(TestLogLines)
#include "tst_loglines.moc"
