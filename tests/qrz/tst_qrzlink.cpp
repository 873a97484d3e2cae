#include "db/logtable.h"
#include "fakeqrzserver.h"
#include "journey.h"
#include "qrz/contact.h"
#include "qrz/qrzxml.h"
#include "ui_contact.h"

#include <QProgressBar>
#include <QSignalSpy>

// A main window in a temporary home that talks to a fake QRZ service: the
// session, the lookups of both windows and the populate run; then the reader
// of the service's answers on its own (hostile and oversized answers are in
// the reliability suite and the fuzzer).
class TestQrzLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<FakeQrzServer> server;
    std::unique_ptr<Parkbook> pb;

    bool signIn()
    {
        pb->connectQRZ();
        const bool connected = QTest::qWaitFor([this] { return pb->qrzConnected; }, 10000);
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
        std::tie(row.date, row.call, row.name, row.city) = std::tie(date, call, name, city);
        QVERIFY(LogTable::insert(Database::log(), row));
    }

    // "name|city|county" of every contact, in id order.
    static QStringList details()
    {
        return rowsOf(Database::log(), "SELECT name, city, county FROM log ORDER BY id");
    }

    void populate(QMessageBox::StandardButton answer)
    {
        home->prompter.answers.enqueue(answer);
        pb->on_actionPopulate_QRZ_Data_triggered();
    }

private Q_SLOTS:
    // A fresh install; the station gets the fake's account afterwards, so
    // each test signs in itself.
    void init()
    {
        home = std::make_unique<TempHome>();
        server = std::make_unique<FakeQrzServer>();
        qputenv("PARKBOOK_QRZ_URL", server->url().toUtf8());
        pb = home->makeParkbook();
        home->prompter.clear();
        pb->station->ui->call->setText(server->user);
        pb->station->ui->pwd->setText(server->password);
    }

    void cleanup()
    {
        pb.reset();
        home.reset(); // before the next one, which returns to the folder this one left
    }

    // After a good login, a second one. Nothing is sent without a password,
    // nor over plain http to another machine; a failure shows its box once
    // (the status runs once per finished reply, not once per connect); a
    // non-subscriber is warned and stays connected, and a password travels
    // percent-encoded.
    void login_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<int>("outcome"); // 0: nothing sent, 1: sent and offline, 2: connected
        const QString failed = "QRZ XML Database Connection ";
        QTest::newRow("no password")
            << QStringList{failed} << "Operator Callsign or QRZ Password is missing." << 0;
        QTest::newRow("plain http elsewhere")
            << QStringList{"QRZ Address Not Secure"} << "QRZ address is not https" << 0;
        QTest::newRow("no answer") << QStringList{failed} << "" << 1;
        QTest::newRow("refused") << QStringList{"QRZ Login Error", failed}
                                 << "Operator Call or QRZ Password error" << 1;
        QTest::newRow("non-subscriber") << QStringList{"Non QRZ XML Data Subscriber"} << "" << 2;
    }

    void login()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, logged);
        QFETCH(int, outcome);
        const QString row = QTest::currentDataTag();
        QVERIFY(signIn());
        if (row == "plain http elsewhere")
            qputenv("PARKBOOK_QRZ_URL", "http://xmldata.qrz.com/xml/current/");
        server->dropNext = row == "no answer" ? 5 : 0; // the network layer retries once
        server->login =
            row == "refused" ? FakeQrzServer::Login::Refused : FakeQrzServer::Login::NonSubscriber;
        server->password = "p&#;+ %=xé";
        server->count = "42";
        pb->station->ui->pwd->setText(row == "no password" ? "" : server->password);
        QSignalSpy finished(pb->networkManager, &QNetworkAccessManager::finished);
        pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), outcome ? 1 : 0, 10000);
        QVERIFY(pb->qrzReply == nullptr); // answered, or never asked
        QCOMPARE(home->prompter.titles(), titles);
        QVERIFY(errorLog().contains(logged));
        QCOMPARE(errorLog().count("QRZ Login Error or No Internet Connection."), int(outcome == 1));
        QCOMPARE(pb->qrzConnected, outcome == 2);
        QCOMPARE(pb->ui->connectStatus->text(), outcome == 1 ? "Offline" : "Connected");
        if (outcome == 0)
            QCOMPARE(server->queries.size(), 1);
        if (outcome == 2) {
            QCOMPARE(pb->station->ui->expire->text(), QString("Unsubscribed"));
            QVERIFY(home->prompter.shown.first().text.endsWith(
                "You have retrieved 42 Calls in the last 24 hrs."));
        }
    }

    // Without a session, Esc with an empty call empties both windows without
    // running the state-centre handler, and the Contact window's lookup is
    // refused. An answer fills both windows; an unknown call or an ended
    // session shows the service's error in red in both, resets the reports to
    // 59 and leaves the session as it was. A captive portal's page, larger
    // than any QRZ answer, ends its request, which fails: a lookup as well as
    // a login.
    void lookups()
    {
        server->stations.insert(
            "Q2XX", "<call>Q2XX</call><fname>JOHN PAUL</fname><name>SMITH</name>"
                    "<addr2>NEW  YORK CITY</addr2><state>ny</state>"
                    "<country>United States</country><lat>40.712800</lat><lon>-74.006000</lon>"
                    "<grid>FN30as</grid><county>New York</county><dxcc>291</dxcc>"
                    "<class>p</class><born>1970</born><expdate>2030-01-01</expdate>");
        Ui::Contact* c = pb->contact->ui;
        Ui::Parkbook* ui = pb->ui;
        // Every field of the Contact window, and those of the entry form.
        const QList<QLineEdit*> cleared =
            pb->contact->findChildren<QLineEdit*>() + QList{ui->utc,   ui->name,    ui->state,
                                                            ui->mode,  ui->band,    ui->frequency,
                                                            ui->power, ui->comment, ui->p2p};
        for (QLineEdit* field : cleared)
            field->setText("x");
        ui->sent->setText("44");
        ui->rcvd->setText("33");
        QSignalSpy stateEdits(ui->state, &QLineEdit::textChanged);
        pb->lookUpContact();
        for (QLineEdit* field : cleared)
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QCOMPARE(ui->sent->text() + ui->rcvd->text(), QString("5959"));
        QCOMPARE(stateEdits.count(), 0);

        c->call->setText("Q2XX");
        pb->getContact();
        QCOMPARE(home->prompter.titles(), QStringList{"Not Connected to QRZ Database"});
        QVERIFY(errorLog().contains("Not Connected to QRZ Database."));
        QVERIFY(pb->qrzReply == nullptr);
        QVERIFY(signIn());
        pb->station->ui->lat->setText("41.7128");
        pb->station->ui->lon->setText("-74.0060");
        pb->ui->call->setText("q2xx");
        pb->lookUpContact();
        QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), QString("John"), 10000);
        QStringList shown;
        for (const QLineEdit* field :
             {c->last, c->license, c->city, c->state, c->county, c->country, c->dxcc, c->lat,
              c->lon, c->grid, c->born, c->expire, pb->ui->call, pb->ui->name, pb->ui->state})
            shown << field->text();
        QCOMPARE(shown.join('|'), QString("Smith|Technician+|New  York City|NY|New York|United "
                                          "States|291|40.712800|-74.00600|FN30as|1970|2030-01-"
                                          "01|Q2XX|John|NY")); // the longitude is 9 wide
        QCOMPARE(c->bear->text().trimmed(), QString("180"));   // due south of the station
        QVERIFY(pb->ui->call->isModified());

        for (const QString error : {"Not found: Q9ZZZ", "Session Timeout"}) {
            server->sessionExpired = error.startsWith("Session");
            pb->ui->call->setText("q9zzz");
            pb->ui->sent->setText("55");
            pb->ui->rcvd->setText("57");
            pb->lookUpContact();
            QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), error, 10000);
            for (const QLineEdit* name : {c->name, pb->ui->name})
                QCOMPARE(name->palette().color(QPalette::Text), pb->redText.color(QPalette::Text));
            QCOMPARE(QStringList({pb->ui->call->text(), pb->ui->name->text(), pb->ui->sent->text(),
                                  pb->ui->rcvd->text(), c->city->text()}),
                     QStringList({"q9zzz", error.left(15), "59", "59", ""}));
            QVERIFY(pb->qrzConnected);
        }

        server->rawAnswer = "<html>" + QByteArray(2 * 1024 * 1024, 'x') + "</html>";
        pb->ui->call->setText("Q2XX");
        pb->lookUpContact();
        const auto tooLarge = [this] {
            return errorLog().count("larger than 1 MiB and was not read.");
        };
        QTRY_COMPARE_WITH_TIMEOUT(tooLarge(), 1, 10000);
        QVERIFY(pb->qrzConnected && c->name->text().isEmpty());
        pb->connectQRZ();
        QTRY_COMPARE_WITH_TIMEOUT(tooLarge(), 2, 10000);
        QVERIFY(!pb->qrzConnected);
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
        populate(QMessageBox::Ok); // not connected: refused
        QVERIFY(signIn());
        populate(QMessageBox::Cancel);
        QCOMPARE(home->prompter.titles(), QStringList({"Warning: Possible Long Process Ahead"}));
        QVERIFY(home->prompter.shown.last().text.contains(
            "You have 4 records which will take about 0.02 Minutes."));
        QVERIFY(server->lookedUp.isEmpty());

        QSignalSpy progress(pb->progressBar, &QProgressBar::valueChanged);
        populate(QMessageBox::Ok);
        QVERIFY(!pb->progressBar->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!pb->populateRunning, 20000);
        QCOMPARE(details(), QStringList({"John|Stored City|Kings", "||", "Keep||Essex", "||",
                                         "John|New York|Kings"}));
        QCOMPARE(server->lookedUp, QStringList({"Q2XX", "Q3YY", "Q2XX"}));
        QVERIFY(!server->queries.filter("callsign=Q5DROP").isEmpty());
        QCOMPARE(progress.last().first().toInt(), 3); // count - 1
        QVERIFY(pb->progressBar->isHidden());
    }

    // Asked again while running, "No" keeps the run going and "Yes" stops it.
    // Every answer is written at once: closing the program mid-run keeps them.
    void populateCanBeStoppedOrCutShort()
    {
        QVERIFY(signIn());
        for (int i = 0; i < 30; ++i) {
            const QString call = QString("Q%1BB").arg(i);
            server->stations.insert(call, "<call>" + call + "</call><fname>ANN</fname>");
            addContact("20260102", call);
        }
        pb->ui->parkDate->setText("20260102");
        pb->ui->endDate->setText("20260102");
        populate(QMessageBox::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(server->lookedUp.size() >= 3, 10000);
        populate(QMessageBox::No);
        QCOMPARE(home->prompter.titles().last(), QString("QRZ Data Population Running"));
        QVERIFY(pb->populateRunning);
        populate(QMessageBox::Yes);
        QTRY_VERIFY_WITH_TIMEOUT(!pb->populateRunning, 10000);
        QTest::qWait(200); // nothing more may be asked
        QVERIFY(server->lookedUp.size() < 30);
        QVERIFY(pb->progressBar->isHidden());

        server->lookedUp.clear();
        populate(QMessageBox::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(server->lookedUp.size() >= 4, 10000);
        pb->close();
        pb.reset();
        QTest::qWait(100); // whatever was in flight has nowhere to go now
        pb = home->makeParkbook();
        QCOMPARE(details().size(), 30);
        QVERIFY(details().filter("Ann|").size() >= 3);
    }

    // The texts the answers are shown in (the lookups above show "NEW  YORK
    // CITY" and class "p", the logins a non-subscriber).
    void textRules()
    {
        QCOMPARE(QStringList({Qrz::camelCase("mCdONALD o'BRIEN"), Qrz::licenseClass("T"),
                              Qrz::licenseClass("EX"),
                              Qrz::subscriptionExpiry("Wed Jan 01 12:34:03 2031"),
                              Qrz::subscriptionExpiry("2031-01-01")}),
                 QStringList({"Mcdonald O'brien", "Technician", "", "Jan 01, 2031", "2031-01-01"}));
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

    // Values travel percent-encoded (the logins above use such a password).
    void urlsCarryEncodedValues()
    {
        const QString endpoint = "https://xmldata.qrz.com/xml/current/";
        QCOMPARE(QString::fromLatin1(Qrz::lookupUrl(endpoint, "a&b#;+ %=é", "q2&x").toEncoded()),
                 endpoint + "?s=a%26b%23%3B%2B%20%25%3D%C3%A9;callsign=Q2%26X");
    }
};

QTEST_MAIN(TestQrzLink)
#include "tst_qrzlink.moc"
