#include "parks/fixedwidth.h"
#include "parks/laterule.h"
#include "parks/seelog.h"

#include <QtTest>

class TestListLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lateRule_data();
    void lateRule();
    void fixedWidth();
    void justifyDigit_data();
    void justifyDigit();
};

void TestListLines::lateRule_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("late");
    QTest::newRow("235959") << "235959" << false;
    QTest::newRow("120000") << "120000" << false;
    QTest::newRow("000001") << "000001" << true;
    QTest::newRow("115959") << "115959" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("not a number") << "12ab00" << true;
    QTest::newRow("0930 four digits") << "0930" << true;
    QTest::newRow("1230 four digits") << "1230" << false;
    QTest::newRow("1200 four digits") << "1200" << false;
}

void TestListLines::lateRule()
{
    QFETCH(QString, time);
    QFETCH(bool, late);
    QCOMPARE(isLateContact(time), late);
}

void TestListLines::fixedWidth()
{
    QCOMPARE(fixedWidthLine({{"7", 3}, {"Q2XX", -6}, {"59", -3}}), QString("  7 Q2XX   59 "));
    // A longer value is not cut and pushes the next column right.
    QCOMPARE(fixedWidthLine({{"Q2XXXXX", -6}, {"Jo", -4}}), QString("Q2XXXXX Jo  "));
    // Values are taken literally, even when they look like place markers.
    QCOMPARE(fixedWidthLine({{"%2", -3}, {"x", 1}}), QString("%2  x"));
    QCOMPARE(fixedWidthLine({{"", -2}, {"", -2}}), QString("     "));
}

void TestListLines::justifyDigit_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one-letter prefix") << "Q1ABC"
                                       << " Q1ABC";
    QTest::newRow("two-letter prefix") << "QA1ABC"
                                       << "QA1ABC";
    QTest::newRow("short") << "Q"
                           << "Q";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("other decimal digit")
        << QString("K") + QChar(0x0663) + "X" << QString(" K") + QChar(0x0663) + "X";
}

void TestListLines::justifyDigit()
{
    QFETCH(QString, call);
    QFETCH(QString, shown);
    QCOMPARE(SeeLog::justifyDigit(call), shown);
}

QTEST_MAIN(TestListLines)
#include "tst_listlines.moc"
