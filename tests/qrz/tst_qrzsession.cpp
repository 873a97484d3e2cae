#include "qrzfixture.h"

#include <QNetworkReply>
#include <QSignalSpy>

class TestQrzSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Nothing is sent without a password, nor over plain http to another machine.
    void loginNotSent_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("endpoint"); // empty: the fake's
        QTest::addColumn<QString>("logged");
        QTest::newRow("no password") << ""
                                     << ""
                                     << "Operator Callsign or QRZ Password is missing.";
        QTest::newRow("plain http elsewhere") << "secret"
                                              << "http://xmldata.qrz.com/xml/current/"
                                              << "QRZ address is not https";
    }

    void loginNotSent()
    {
        QFETCH(QString, password);
        QFETCH(QString, endpoint);
        QFETCH(QString, logged);
        QrzFixture f;
        QVERIFY(f.build());
        if (!endpoint.isEmpty())
            qputenv("PARKBOOK_QRZ_URL", endpoint.toUtf8());
        f.pb->ui->connectStatus->setText("Offline");
        f.pb->station->ui->pwd->setText(password);
        f.pb->connectQRZ();
        QCOMPARE(f.home.prompter.shown.size(), 1);
        QVERIFY(f.errorLog().contains(logged));
        QVERIFY(f.pb->qrzReply == nullptr); // every request goes out through qrzReply at once
        QCOMPARE(f.pb->ui->connectStatus->text(), QString("Offline"));
    }

    // A non-subscriber, with a password that must travel percent-encoded.
    void nonSubscriberIsWarnedAndConnected()
    {
        QrzFixture f;
        f.server.password = "p&#;+ %=x";
        f.server.login = FakeQrzServer::Login::NonSubscriber;
        f.server.count = "42";
        QVERIFY(f.build());
        f.pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(f.pb->ui->connectStatus->text(), QString("Connected"), 10000);
        QCOMPARE(f.server.lastPassword, f.server.password);
        QVERIFY(f.server.queries.first().startsWith("username=N0CALL&password="));
        QCOMPARE(f.pb->sessionKey, f.server.key);
        QCOMPARE(f.pb->station->ui->expire->text(), QString("Unsubscribed"));
        QCOMPARE(f.home.prompter.titles(), QStringList{"Non QRZ XML Data Subscriber"});
        QVERIFY(f.home.prompter.shown.first().text.endsWith(
            "You have retrieved 42 Calls in the last 24 hrs."));
    }

    void failedLogin_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("no answer") << false << QStringList{"QRZ XML Database Connection "};
        QTest::newRow("refused") << true
                                 << QStringList{"QRZ Login Error", "QRZ XML Database Connection "};
    }

    // After a good login, a second connect that fails shows its box once:
    // the status runs once per finished reply, not once per connect.
    void failedLogin()
    {
        QFETCH(bool, refused);
        QrzFixture f;
        QVERIFY(f.build());
        QRZ_CONNECT(f);
        if (refused)
            f.server.login = FakeQrzServer::Login::Refused;
        else
            f.server.dropNext = 5; // the network layer retries once after a drop
        QSignalSpy finished(f.pb->networkManager, &QNetworkAccessManager::finished);
        f.pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QTEST(f.home.prompter.titles(), "titles");
        QVERIFY(f.home.prompter.shown.last().text.startsWith("Unable to make connection"));
        QVERIFY(!f.pb->qrzConnected);
        QCOMPARE(f.pb->ui->connectStatus->text(), QString("Offline"));
        const QString log = f.errorLog();
        QCOMPARE(log.count("QRZ Login Error or No Internet Connection."), 1);
        QCOMPARE(log.contains("Operator Call or QRZ Password error"), refused);
    }

    void oversizedAnswerIsNotRead_data()
    {
        QTest::addColumn<bool>("lookup");
        QTest::newRow("login") << false;
        QTest::newRow("lookup") << true;
    }

    // A captive portal answers with its own page, larger than any QRZ answer:
    // the request is ended there and fails.
    void oversizedAnswerIsNotRead()
    {
        QFETCH(bool, lookup);
        QrzFixture f;
        QVERIFY(f.build());
        if (lookup)
            QRZ_CONNECT(f);
        f.server.rawAnswer = "<html>" + QByteArray(2 * 1024 * 1024, 'x') + "</html>";
        QObject context;
        QList<QNetworkReply::NetworkError> errors;
        connect(f.pb->networkManager, &QNetworkAccessManager::finished, &context,
                [&errors](QNetworkReply* reply) { errors << reply->error(); });
        f.pb->ui->call->setText("Q2XX");
        if (lookup)
            f.pb->lookUpContact();
        else
            f.pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
        QCOMPARE(errors.first(), QNetworkReply::OperationCanceledError);
        QVERIFY(f.errorLog().contains("is larger than 1 MiB and was not read."));
        QCOMPARE(f.pb->qrzConnected, lookup);
    }
};

QTEST_MAIN(TestQrzSession)
#include "tst_qrzsession.moc"
