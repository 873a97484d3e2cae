#include "app/parkbook.h"
#include "db/database.h"
#include "db/logtable.h"
#include "fakeqrzserver.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QFile>
#include <QNetworkReply>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

// A main window in a temporary home that talks to a fake QRZ service: the
// session, the lookups of both windows and the populate run.
class TestQrzLink : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<FakeQrzServer> server;
    std::unique_ptr<Parkbook> pb;

    bool signIn()
    {
        pb->connectQRZ();
        const bool connected =
            QTest::qWaitFor([this] { return pb->ui->connectStatus->text() == "Connected"; }, 10000);
        home->prompter.clear();
        return connected;
    }

    QString errorLog() const
    {
        QFile file(home->dataPath() + "/errorLog.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static void addContact(const QString& date, const QString& call, const QString& name = "",
                           const QString& city = "")
    {
        ContactRow row;
        row.date = date;
        row.park = "K-0001";
        row.call = call;
        row.name = name;
        row.city = city;
        QVERIFY(LogTable::insert(Database::log(), row));
    }

    // "name|city|county" of every contact, in id order.
    static QStringList details()
    {
        QSqlQuery query(Database::log());
        query.exec("SELECT ifnull(name, '') || '|' || ifnull(city, '') || '|' || "
                   "ifnull(county, '') FROM log ORDER BY id");
        QStringList out;
        while (query.next())
            out << query.value(0).toString();
        return out;
    }

    // Thirty contacts on one day, the range set to that day, and a run started.
    void startThirty()
    {
        QVERIFY(signIn());
        for (int i = 0; i < 30; ++i) {
            const QString call = QString("Q%1BB").arg(i);
            server->stations.insert(call, "<call>" + call + "</call><fname>ANN</fname>");
            addContact("20260102", call);
        }
        pb->ui->parkDate->setText("20260102");
        pb->ui->endDate->setText("20260102");
        home->prompter.answers.enqueue(QMessageBox::Ok);
        pb->on_actionPopulate_QRZ_Data_triggered();
        QTRY_VERIFY_WITH_TIMEOUT(server->lookedUp.size() >= 4, 10000);
    }

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<TempHome>();
        server = std::make_unique<FakeQrzServer>();
        QVERIFY(server->start());
        qputenv("PARKBOOK_QRZ_URL", server->url().toUtf8());
        pb = home->makeParkbook();
        // The start signs in only when the station has a call and password:
        // none yet, so each test signs in itself.
        QCoreApplication::processEvents();
        home->prompter.clear();
        pb->station->ui->call->setText(server->user);
        pb->station->ui->pwd->setText(server->password);
    }

    void cleanup()
    {
        pb.reset();
        qunsetenv("PARKBOOK_QRZ_URL");
        server.reset();
        home.reset();
    }

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
        if (!endpoint.isEmpty())
            qputenv("PARKBOOK_QRZ_URL", endpoint.toUtf8());
        pb->ui->connectStatus->setText("Offline");
        pb->station->ui->pwd->setText(password);
        pb->connectQRZ();
        QCOMPARE(home->prompter.shown.size(), 1);
        QVERIFY(errorLog().contains(logged));
        QVERIFY(pb->qrzReply == nullptr); // every request goes out through qrzReply at once
        QCOMPARE(pb->ui->connectStatus->text(), QString("Offline"));
    }

    // A non-subscriber, with a password that must travel percent-encoded.
    void nonSubscriberIsWarnedAndConnected()
    {
        server->password = "p&#;+ %=x";
        server->login = FakeQrzServer::Login::NonSubscriber;
        server->count = "42";
        pb->station->ui->pwd->setText(server->password);
        pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(pb->ui->connectStatus->text(), QString("Connected"), 10000);
        QCOMPARE(server->lastPassword, server->password);
        QVERIFY(server->queries.first().startsWith("username=N0CALL&password="));
        QCOMPARE(pb->sessionKey, server->key);
        QCOMPARE(pb->station->ui->expire->text(), QString("Unsubscribed"));
        QCOMPARE(home->prompter.titles(), QStringList{"Non QRZ XML Data Subscriber"});
        QVERIFY(home->prompter.shown.first().text.endsWith(
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
        QVERIFY(signIn());
        server->login = refused ? FakeQrzServer::Login::Refused : server->login;
        server->dropNext = refused ? 0 : 5; // the network layer retries once after a drop
        QSignalSpy finished(pb->networkManager, &QNetworkAccessManager::finished);
        pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QTEST(home->prompter.titles(), "titles");
        QVERIFY(home->prompter.shown.last().text.startsWith("Unable to make connection"));
        QVERIFY(!pb->qrzConnected);
        QCOMPARE(pb->ui->connectStatus->text(), QString("Offline"));
        QCOMPARE(errorLog().count("QRZ Login Error or No Internet Connection."), 1);
        QCOMPARE(errorLog().contains("Operator Call or QRZ Password error"), refused);
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
        if (lookup)
            QVERIFY(signIn());
        server->rawAnswer = "<html>" + QByteArray(2 * 1024 * 1024, 'x') + "</html>";
        QList<QNetworkReply::NetworkError> errors;
        connect(pb->networkManager, &QNetworkAccessManager::finished, this,
                [&errors](QNetworkReply* reply) { errors << reply->error(); });
        pb->ui->call->setText("Q2XX");
        lookup ? pb->lookUpContact() : pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
        disconnect(pb->networkManager, nullptr, this, nullptr);
        QCOMPARE(errors.first(), QNetworkReply::OperationCanceledError);
        QVERIFY(errorLog().contains("is larger than 1 MiB and was not read."));
        QCOMPARE(pb->qrzConnected, lookup);
    }

    void lookupFillsBothWindows()
    {
        server->stations.insert(
            "Q2XX", "<call>Q2XX</call><fname>JOHN PAUL</fname><name>SMITH</name>"
                    "<addr2>NEW  YORK CITY</addr2><state>ny</state>"
                    "<country>United States</country><lat>40.712800</lat><lon>-74.006000</lon>"
                    "<grid>FN30as</grid><county>New York</county><dxcc>291</dxcc>"
                    "<class>p</class><born>1970</born><expdate>2030-01-01</expdate>");
        QVERIFY(signIn());
        pb->station->ui->lat->setText("41.7128");
        pb->station->ui->lon->setText("-74.0060");
        pb->ui->call->setText("q2xx");
        pb->lookUpContact();
        Ui::Contact* c = pb->contact->ui;
        QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), QString("John"), 10000);
        const QList<QPair<QLineEdit*, QString>> expected = {
            {c->last, "Smith"},  {c->license, "Technician+"}, {c->city, "New  York City"},
            {c->state, "NY"},    {c->county, "New York"},     {c->country, "United States"},
            {c->dxcc, "291"},    {c->lat, "40.712800"},       {c->lon, "-74.00600"}, // 9 wide
            {c->grid, "FN30as"}, {c->born, "1970"},           {c->expire, "2030-01-01"}};
        for (const auto& [field, text] : expected)
            QCOMPARE(field->text(), text);
        QCOMPARE(c->bear->text().trimmed(), QString("180")); // due south of the station
        QCOMPARE(pb->ui->call->text(), QString("Q2XX"));
        QVERIFY(pb->ui->call->isModified());
        QCOMPARE(pb->ui->name->text(), QString("John"));
        QCOMPARE(pb->ui->state->text(), QString("NY"));
    }

    // An unknown call or an ended session: the service's error in red in both
    // windows, the reports back to 59, and the session left as it was.
    void lookupError_data()
    {
        QTest::addColumn<bool>("expired");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown call") << false << "Not found: Q9ZZZ";
        QTest::newRow("session timeout") << true << "Session Timeout";
    }

    void lookupError()
    {
        QFETCH(bool, expired);
        QFETCH(QString, error);
        QVERIFY(signIn());
        server->sessionExpired = expired;
        pb->ui->call->setText("q9zzz");
        pb->ui->sent->setText("55");
        pb->ui->rcvd->setText("57");
        pb->lookUpContact();
        Ui::Contact* c = pb->contact->ui;
        QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), error, 10000);
        QCOMPARE(c->name->palette().color(QPalette::Text), pb->redText.color(QPalette::Text));
        QCOMPARE(pb->ui->call->text(), QString("q9zzz"));
        QCOMPARE(pb->ui->name->text(), error.left(15));
        QCOMPARE(pb->ui->name->palette().color(QPalette::Text), pb->redText.color(QPalette::Text));
        QCOMPARE(pb->ui->sent->text() + pb->ui->rcvd->text(), QString("5959"));
        QVERIFY(pb->qrzConnected);
    }

    void withoutSession()
    {
        Ui::Parkbook* ui = pb->ui;
        Ui::Contact* c = pb->contact->ui;
        const QList<QLineEdit*> cleared = {
            ui->utc,     ui->name,   ui->state, ui->mode, ui->band,  ui->frequency, ui->power,
            ui->comment, ui->p2p,    c->dist,   c->bear,  c->call,   c->name,       c->last,
            c->born,     c->license, c->expire, c->city,  c->county, c->state,      c->country,
            c->dxcc,     c->lat,     c->lon,    c->grid};
        for (QLineEdit* field : cleared)
            field->setText("x");
        ui->sent->setText("44");
        ui->rcvd->setText("33");
        QSignalSpy stateEdits(ui->state, &QLineEdit::textChanged);
        // Esc with an empty call empties both windows.
        ui->call->setText("");
        pb->lookUpContact();
        for (QLineEdit* field : cleared)
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QCOMPARE(ui->sent->text() + ui->rcvd->text(), QString("5959"));
        QCOMPARE(stateEdits.count(), 0); // the state-centre handler did not run

        c->call->setText("Q2XX");
        pb->getContact();
        QCOMPARE(home->prompter.titles(), QStringList{"Not Connected to QRZ Database"});
        QVERIFY(errorLog().contains("Not Connected to QRZ Database."));
        QVERIFY(pb->qrzReply == nullptr);
    }

    // One lookup at a time in id order over the date range; stored data wins,
    // an empty column takes the answer, and a lookup that dies without an
    // answer does not stop the run.
    void populateFillsEmptyColumns()
    {
        server->stations.insert("Q2XX", "<call>Q2XX</call><fname>JOHN</fname>"
                                        "<addr2>NEW YORK</addr2><county>Kings</county>");
        server->stations.insert("Q3YY", "<call>Q3YY</call><fname></fname><county>Essex</county>");
        server->dropCall = "Q5DROP";
        addContact("20260102", "Q2XX", "", "Stored City");
        addContact("20260102", "Q5DROP");
        addContact("20260103", "Q3YY", "Keep");
        addContact("20260110", "Q2XX"); // outside the range
        addContact("20260104", "Q2XX");
        pb->ui->parkDate->setText("20260101");
        pb->ui->endDate->setText("20260104");
        pb->on_actionPopulate_QRZ_Data_triggered(); // not connected: refused
        QCOMPARE(home->prompter.titles(), QStringList({"Not Connected to QRZ Database"}));
        QVERIFY(signIn());
        pb->on_actionPopulate_QRZ_Data_triggered(); // the default answer is Cancel
        QCOMPARE(home->prompter.titles(), QStringList({"Warning: Possible Long Process Ahead"}));
        QVERIFY(home->prompter.shown.last().text.contains(
            "You have 4 records which will take about 0.02 Minutes."));
        QVERIFY(!pb->populateRunning);

        QSignalSpy progress(pb->progressBar, &QProgressBar::valueChanged);
        home->prompter.answers.enqueue(QMessageBox::Ok);
        pb->on_actionPopulate_QRZ_Data_triggered();
        QVERIFY(!pb->progressBar->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!pb->populateRunning, 20000);
        QCOMPARE(details(), QStringList({"John|Stored City|Kings", "||", "Keep||Essex", "||",
                                         "John|New York|Kings"}));
        QCOMPARE(server->lookedUp, QStringList({"Q2XX", "Q3YY", "Q2XX"}));
        QVERIFY(!server->queries.filter("callsign=Q5DROP").isEmpty());
        QCOMPARE(progress.last().first().toInt(), 3); // count - 1
        QVERIFY(pb->progressBar->isHidden());
    }

    // Asked again while running: "No" keeps the run going, "Yes" stops it
    // before the end of the range.
    void populateRefusesASecondRunAndCanStop()
    {
        startThirty();
        pb->on_actionPopulate_QRZ_Data_triggered();
        QCOMPARE(home->prompter.titles(), QStringList({"Warning: Possible Long Process Ahead",
                                                       "QRZ Data Population Running"}));
        QVERIFY(pb->populateRunning);
        home->prompter.answers.enqueue(QMessageBox::Yes);
        pb->on_actionPopulate_QRZ_Data_triggered();
        QTRY_VERIFY_WITH_TIMEOUT(!pb->populateRunning, 10000);
        QTest::qWait(200); // nothing more may be asked
        QVERIFY(server->lookedUp.size() < 30);
        QVERIFY(pb->progressBar->isHidden());
    }

    // Every answer is written at once: closing the program mid-run keeps them.
    void closingDuringPopulateKeepsWrittenRows()
    {
        startThirty();
        pb->close();
        pb.reset();
        QTest::qWait(100); // whatever was in flight has nowhere to go now
        pb = home->makeParkbook();
        const QStringList kept = details();
        QCOMPARE(kept.size(), 30);
        QVERIFY(kept.filter("Ann|").size() >= 3);
    }
};

QTEST_MAIN(TestQrzLink)
#include "tst_qrzlink.moc"
