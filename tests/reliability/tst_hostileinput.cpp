#include "app/parkbook.h"
#include "qrz/qrzxml.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_wsjtx.h"
#include "wsjtx/wsjtx.h"
#include "wsjtxpeer.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUdpSocket>
#include <QVariant>

// Files, datagrams and answers written to hurt: each must be read without a
// crash or a hang (the sanitizer build turns a bad read into a failure), and
// the program must still do its work afterwards.
class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adifFiles_data();
    void adifFiles();
    void wsjtxDatagrams_data();
    void wsjtxDatagrams();
    void qrzAnswers_data();
    void qrzAnswers();
};

namespace
{
const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');

// The first value of `sql` on the log database.
QVariant first(const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}

// Builds the main window in `home` with park K-0001 active on 2026-06-01.
std::unique_ptr<Parkbook> start(TempHome& home)
{
    auto pb = home.makeParkbook();
    fillTestStation(*pb);
    pb->ui->endDate->setText("20260601");
    pb->ui->startTime->setText("000000");
    pb->ui->stopTime->setText("235959");
    home.prompter.clear();
    return pb;
}

bool importFile(TempHome& home, Parkbook& pb, const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    home.prompter.paths.enqueue(path);
    pb.on_actionImport_Contact_Log_triggered();
    return true;
}
} // namespace

void TestHostileInput::adifFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray date = "<QSO_DATE:8>20260601 <TIME_ON:4>1200 ";
    QTest::newRow("truncated value") << QByteArray("<EOH><CALL:10>W1");
    QTest::newRow("huge length") << "<CALL:4294967296>W1AW " + date + "<EOR>";
    QTest::newRow("longer than any integer")
        << "<CALL:999999999999999999999999>W1AW " + date + "<EOR>";
    QTest::newRow("negative length") << "<CALL:-5>W1AW " + date + "<EOR>";
    QTest::newRow("NUL bytes") << QByteArray("<CALL:4>W\0AW <NAME:5>B\0\0b! ", 27) + date + "<EOR>";
    QTest::newRow("invalid UTF-8")
        << "<CALL:4>W1AW <NAME:6>\xff\xfe\xc3(\xe2\x82 " + date + "<COMMENT:2>\xc0\x80<EOR>";
    QTest::newRow("10 MB field") << "<CALL:4>W1AW " + date + "<COMMENT:10485760>" + tenMegabytes +
                                        "<EOR>";
    QTest::newRow("10 MB without a tag end") << "<EOH><CALL:" + tenMegabytes;
    QTest::newRow("million empty records") << "<EOH>" + QByteArray("<EOR>").repeated(1000000);
}

// After the hostile file the log is as sound as before, the contact already
// stored is still there, and a good file still imports.
void TestHostileInput::adifFiles()
{
    QFETCH(QByteArray, content);
    TempHome home;
    auto pb = start(home);
    QVERIFY(QSqlQuery(QSqlDatabase::database("parkbook"))
                .exec("INSERT INTO log (date, time, park, call) VALUES ('20260530', '101010', "
                      "'K-0001', 'N0KEEP')"));
    QVERIFY(importFile(home, *pb, home.dataPath() + "/hostile.adi", content));
    QCOMPARE(first("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(first("SELECT count(*) FROM log WHERE call='N0KEEP' AND date='20260530'").toInt(), 1);

    const int before = first("SELECT count(*) FROM log").toInt();
    QVERIFY(importFile(home, *pb, home.dataPath() + "/good.adi",
                       "<CALL:6>N1GOOD <QSO_DATE:8>20260601 <TIME_ON:4>1300 <MODE:3>SSB <EOR>\n"));
    QCOMPARE(first("SELECT count(*) FROM log").toInt(), before + 1);
}

void TestHostileInput::wsjtxDatagrams_data()
{
    QTest::addColumn<QByteArray>("datagram");
    const QByteArray decodeHead = WsjtxPeer::header(2) + '\x01' + WsjtxPeer::u32(45000000) +
                                  WsjtxPeer::u32(quint32(-10)) + QByteArray(8, '\0') +
                                  WsjtxPeer::u32(1200);
    QTest::newRow("id of 4 GB") << WsjtxPeer::header(2).left(8) + WsjtxPeer::u32(2) +
                                       WsjtxPeer::u32(0xfffffffe) + "WSJT-X";
    QTest::newRow("negative id length")
        << WsjtxPeer::header(2).left(12) + WsjtxPeer::u32(0x80000000) + "WSJT-X";
    QTest::newRow("decode message longer than datagram")
        << decodeHead + WsjtxPeer::text("~") + WsjtxPeer::u32(60000) + "CQ POTA Q2XX";
    QTest::newRow("decode NUL and bad UTF-8")
        << WsjtxPeer::decode(QByteArray("CQ \0POTA \xff\xfe Q2XX\xc3", 17));
    QTest::newRow("logged ADIF huge field")
        << WsjtxPeer::loggedAdif("<call:4294967295>Q2XX <qso_date:8>20260601 <EOR>");
    QTest::newRow("logged ADIF bad UTF-8 and NUL")
        << WsjtxPeer::header(12) +
               WsjtxPeer::rawText(QByteArray("<call:4>Q\0\xff\xfe <qso_date:8>20260601 "
                                             "<time_on:6>120000 <name:3>\xc3\x28\xa0 <EOR>",
                                             69));
    QTest::newRow("largest datagram")
        << WsjtxPeer::loggedAdif("<comment:60000>" + QString(60000, 'x') + " <EOR>");
    QTest::newRow("unknown type") << WsjtxPeer::header(0xffffffff) + QByteArray(100, '\xff');
}

// Sent through the real socket; a status datagram after it proves the
// dispatch is still alive and handled the hostile one before.
void TestHostileInput::wsjtxDatagrams()
{
    QFETCH(QByteArray, datagram);
    TempHome home;
    auto pb = start(home);
    WsjtxPeer peer;
    QVERIFY(peer.open());
    quint16 port = 0;
    {
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        port = probe.localPort();
    }
    pb->wsjtx->ui->udpIp->setText("127.0.0.1");
    pb->wsjtx->ui->udpPort->setValue(port);
    pb->initUdpSocket();
    pb->potaMode = "Activating";
    const int rows = first("SELECT count(*) FROM log").toInt();

    for (int repeat = 0; repeat < 3; ++repeat) {
        peer.sendTo(port, datagram);
        WsjtxPeer::StatusFields barrier;
        barrier.txEnabled = !pb->txEnabled;
        peer.sendTo(port, WsjtxPeer::status(barrier));
        QTRY_COMPARE_WITH_TIMEOUT(pb->txEnabled, barrier.txEnabled, 10000);
    }
    QCOMPARE(first("PRAGMA integrity_check").toString(), QString("ok"));
    QVERIFY(first("SELECT count(*) FROM log").toInt() >= rows);
}

void TestHostileInput::qrzAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("complete");
    const QByteArray open = "<?xml version=\"1.0\"?><QRZDatabase><Callsign><call>Q2XX</call>";
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("NUL bytes") << open +
                                      QByteArray("<fname>A\0l</fname></Callsign></QRZDatabase>", 43)
                               << true;
    QTest::newRow("invalid UTF-8")
        << open + "<fname>\xff\xfe\xc3(</fname></Callsign></QRZDatabase>" << false;
    QTest::newRow("10 MB text") << open + "<fname>" + tenMegabytes + "</fname>" << false;
    QTest::newRow("deeply nested")
        << QByteArray("<a>").repeated(200000) + QByteArray("</a>").repeated(200000) << false;
    // Each entity holds sixteen of the one before: four &f; would be 64 MiB.
    QByteArray entities = "<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
    for (char e = 'b'; e <= 'f'; ++e)
        entities += "<!ENTITY " + QByteArray(1, e) + " \"" +
                    ("&" + QByteArray(1, char(e - 1)) + ";").repeated(16) + "\">";
    QTest::newRow("entity expansion")
        << "<?xml version=\"1.0\"?><!DOCTYPE q [" + entities +
               "]><QRZDatabase><Callsign><fname>&f;&f;&f;&f;</fname></Callsign></QRZDatabase>"
        << false;
    QTest::newRow("external entity")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE q [<!ENTITY x SYSTEM "
                      "\"file:///etc/passwd\">]><QRZDatabase><Callsign><fname>&x;</fname>"
                      "</Callsign></QRZDatabase>")
        << true; // well-formed; the reference is simply never resolved
}

// Whatever arrives, what is kept is never more than was read (no entity
// grows into gigabytes, nothing past the answer limit), and a cut or broken
// answer is never called complete.
void TestHostileInput::qrzAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, complete);
    const Qrz::Document document = Qrz::readDocument(body);
    qsizetype kept = 0;
    for (const Qrz::Element& element : document.elements)
        kept += element.name.size() + element.text.size();
    QVERIFY2(kept <= Qrz::maxAnswerBytes, qPrintable(QString::number(kept)));
    QCOMPARE(document.complete, complete);
    const Qrz::Result result = Qrz::readResult(document);
    QVERIFY(result.firstName.size() <= Qrz::maxAnswerBytes);
    QVERIFY(!result.firstName.contains("root:"));
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
