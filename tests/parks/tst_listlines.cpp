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
}

void TestListLines::lateRule()
{
    QFETCH(QString, time);
    QFETCH(bool, late);
    QCOMPARE(isLateContact(time), late);
}

void TestListLines::fixedWidth()
{
    // A value is taken literally, even when it looks like a place marker.
    QCOMPARE(fixedWidthLine({{"%2", -3}, {"x", 1}}), QString("%2  x"));
}

void TestListLines::justifyDigit()
{
    QCOMPARE(SeeLog::justifyDigit("Q1ABC"), QString(" Q1ABC"));
    QCOMPARE(SeeLog::justifyDigit("QA1ABC"), QString("QA1ABC"));
    QCOMPARE(SeeLog::justifyDigit("Q"), QString("Q")); // too short to hold a digit second
}

QTEST_MAIN(TestListLines)
#include "tst_listlines.moc"
