#include "qrzfixture.h"

#include <QSignalSpy>

class TestQrzSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyPasswordSendsNothing();
    void nonSubscriberIsWarnedAndConnected();
    void subscriberExpiryIsShortened();
    void oneBoxPerFailedReply();
    void passwordReachesServerIntact_data();
    void passwordReachesServerIntact();
    void refusedLogin();
};

void TestQrzSession::emptyPasswordSendsNothing()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.pb->ui->connectStatus->setText("Offline");
    f.pb->station->ui->pwd->setText("");
    f.pb->connectQRZ();
    QCOMPARE(f.boxes("QRZ XML Database Connection "), 1);
    QVERIFY(f.lastText("QRZ XML Database Connection ").startsWith("Connection to the QRZ XML"));
    QVERIFY(f.errorLog().contains("Operator Callsign or QRZ Password is missing."));
    // Give a request that should not exist every chance to show up.
    QTest::qWait(200);
    QVERIFY(f.server.queries.isEmpty());
    QCOMPARE(f.pb->ui->connectStatus->text(), QString("Offline"));
    QVERIFY(!f.pb->qrzConnected);
}

void TestQrzSession::nonSubscriberIsWarnedAndConnected()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.server.login = FakeQrzServer::Login::NonSubscriber;
    f.server.count = "42";
    QRZ_CONNECT(f);
    QVERIFY(f.pb->qrzConnected);
    QCOMPARE(f.pb->sessionKey, f.server.key);
    QCOMPARE(f.pb->station->ui->expire->text(), QString("Unsubscribed"));
    QCOMPARE(f.pb->station->ui->connectQRZ->text(), QString("Connected to QRZ"));
    // The warning came with the login answer, before the status was shown.
    f.pb->connectQRZ();
    QTRY_COMPARE_WITH_TIMEOUT(f.boxes("Non QRZ XML Data Subscriber"), 1, 10000);
    QVERIFY(f.lastText("Non QRZ XML Data Subscriber")
                .endsWith("You have retrieved 42 Calls in the last 24 hrs."));
    QCOMPARE(f.home.prompter.shown.first().icon, QMessageBox::Warning);
}

void TestQrzSession::subscriberExpiryIsShortened()
{
    QrzFixture f;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    QCOMPARE(f.pb->station->ui->expire->text(), QString("Jan 01, 2031"));
    QCOMPARE(f.home.prompter.shown.size(), 0);
}

void TestQrzSession::oneBoxPerFailedReply()
{
    QrzFixture f;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    // The network layer sends a request again once when the connection is
    // closed before any answer, so the server drops more than one.
    f.server.dropNext = 5;
    QSignalSpy finished(f.pb->networkManager, &QNetworkAccessManager::finished);
    f.pb->connectQRZ();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(f.boxes("QRZ XML Database Connection "), 1);
    QVERIFY(f.lastText("QRZ XML Database Connection ").startsWith("Unable to make connection"));
    QCOMPARE(f.pb->ui->connectStatus->text(), QString("Offline"));
    QCOMPARE(f.pb->station->ui->connectQRZ->text(), QString("Connect to QRZ"));
    QCOMPARE(f.errorLog().count("QRZ Login Error or No Internet Connection."), 1);
}

void TestQrzSession::passwordReachesServerIntact_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("ampersand") << "pa&ss";
    QTest::newRow("hash semicolon plus space") << "a#b;c+d e";
    QTest::newRow("percent and equals") << "100%=x";
}

void TestQrzSession::passwordReachesServerIntact()
{
    QFETCH(QString, password);
    QrzFixture f;
    f.server.password = password;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    QCOMPARE(f.server.lastPassword, password);
    QVERIFY(f.server.queries.first().startsWith("username=N0CALL&password="));
}

void TestQrzSession::refusedLogin()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.server.login = FakeQrzServer::Login::Refused;
    QSignalSpy finished(f.pb->networkManager, &QNetworkAccessManager::finished);
    f.pb->connectQRZ();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QVERIFY(!f.pb->qrzConnected);
    QCOMPARE(f.home.prompter.titles(),
             QStringList({"QRZ Login Error", "QRZ XML Database Connection "}));
    QVERIFY(f.lastText("QRZ Login Error").startsWith("Error: Username/password incorrect .\n"));
    QCOMPARE(f.pb->ui->connectStatus->text(), QString("Offline"));
    const QString log = f.errorLog();
    QVERIFY(log.indexOf("Operator Call or QRZ Password error") <
            log.indexOf("QRZ Login Error or No Internet Connection."));
    QVERIFY(log.contains("Operator Call or QRZ Password error connecting to QRZ database."));
}

QTEST_MAIN(TestQrzSession)
#include "tst_qrzsession.moc"
