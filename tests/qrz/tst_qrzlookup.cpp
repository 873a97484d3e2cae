#include "qrz/contact.h"
#include "qrzfixture.h"
#include "ui_contact.h"

#include <QSettings>
#include <QSignalSpy>

namespace
{
const QString station = "<call>Q2XX</call><fname>JOHN PAUL</fname><name>SMITH</name>"
                        "<addr1>12 MAIN ST</addr1><addr2>NEW  YORK CITY</addr2><state>ny</state>"
                        "<country>United States</country><lat>40.712800</lat>"
                        "<lon>-74.006000</lon><grid>FN30as</grid><county>New York</county>"
                        "<dxcc>291</dxcc><class>%1</class><born>1970</born>"
                        "<expdate>2030-01-01</expdate>";

QList<QLineEdit*> contactFields(Contact* c)
{
    return {c->ui->dist,    c->ui->bear,   c->ui->call, c->ui->name,   c->ui->last,  c->ui->born,
            c->ui->license, c->ui->expire, c->ui->city, c->ui->county, c->ui->state, c->ui->country,
            c->ui->dxcc,    c->ui->lat,    c->ui->lon,  c->ui->grid};
}
} // namespace

class TestQrzLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foundStationFillsBothWindows_data();
    void foundStationFillsBothWindows();
    void errorAnswerShowsInRed_data();
    void errorAnswerShowsInRed();
    void emptyCallClearsBothWindows();
    void lateAnswerRefillsClearedForm();
    void getContactWithoutSession();
    void contactWindowLimitsAndTyping();
};

void TestQrzLookup::foundStationFillsBothWindows_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("license");
    QTest::newRow("p") << "p"
                       << "Technician+";
    QTest::newRow("E") << "E"
                       << "Extra";
    QTest::newRow("unknown") << "z"
                             << "";
}

void TestQrzLookup::foundStationFillsBothWindows()
{
    QFETCH(QString, code);
    QFETCH(QString, license);
    QrzFixture f;
    QVERIFY(f.build());
    f.server.stations.insert("Q2XX", station.arg(code));
    QRZ_CONNECT(f);

    f.pb->station->ui->lat->setText("41.7128");
    f.pb->station->ui->lon->setText("-74.0060");
    f.pb->ui->call->setText("q2xx");
    f.pb->lookUpContact();
    Contact* c = f.pb->contact;
    QTRY_COMPARE_WITH_TIMEOUT(c->ui->name->text(), QString("John"), 10000);
    QCOMPARE(f.server.lookedUp, QStringList({"Q2XX"}));
    QCOMPARE(c->ui->license->text(), license);
    QCOMPARE(c->ui->last->text(), QString("Smith"));
    QCOMPARE(c->ui->city->text(), QString("New  York City"));
    QCOMPARE(c->ui->state->text(), QString("NY"));
    QCOMPARE(c->ui->county->text(), QString("New York"));
    QCOMPARE(c->ui->lat->text(), QString("40.712800"));
    QCOMPARE(c->ui->lon->text(), QString("-74.00600")); // cut to the field's 9 characters
    QCOMPARE(c->ui->grid->text(), QString("FN30as"));
    // One degree of latitude due south of the station.
    bool number = false;
    const int miles = c->ui->dist->text().trimmed().toInt(&number);
    QVERIFY(number);
    QVERIFY2(miles >= 68 && miles <= 70, qPrintable(c->ui->dist->text()));
    QCOMPARE(c->ui->bear->text().trimmed(), QString("180"));
    QCOMPARE(c->ui->name->palette().color(QPalette::Text), f.pb->blueText.color(QPalette::Text));
    QCOMPARE(f.pb->ui->call->text(), QString("Q2XX"));
    QVERIFY(f.pb->ui->call->isModified());
    QCOMPARE(f.pb->ui->name->text(), QString("John"));
    QCOMPARE(f.pb->ui->state->text(), QString("NY"));
    // The status stays up after a lookup and no box was shown.
    QCOMPARE(f.pb->ui->connectStatus->text(), QString("Connected"));
    QCOMPARE(f.home.prompter.shown.size(), 0);
}

void TestQrzLookup::errorAnswerShowsInRed_data()
{
    QTest::addColumn<bool>("expired");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown call") << false << "Not found: Q9ZZZ";
    QTest::newRow("session time-out") << true << "Session Timeout";
}

void TestQrzLookup::errorAnswerShowsInRed()
{
    QFETCH(bool, expired);
    QFETCH(QString, error);
    QrzFixture f;
    QVERIFY(f.build());
    QRZ_CONNECT(f);
    f.server.sessionExpired = expired;
    Contact* c = f.pb->contact;
    c->ui->city->setText("Old City");
    c->ui->dist->setText("123");
    f.pb->ui->call->setText("q9zzz");
    f.pb->ui->sent->setText("55");
    f.pb->ui->rcvd->setText("57");
    f.pb->ui->comment->setText("nice");
    f.pb->ui->p2p->setText("K-0001");
    f.pb->lookUpContact();
    QTRY_COMPARE_WITH_TIMEOUT(c->ui->name->text(), error, 10000);
    QCOMPARE(c->ui->name->palette().color(QPalette::Text), f.pb->redText.color(QPalette::Text));
    QCOMPARE(c->ui->city->text(), QString());
    QCOMPARE(c->ui->dist->text(), QString("123"));
    QCOMPARE(c->ui->call->text(), QString("Q9ZZZ"));
    QCOMPARE(f.pb->ui->call->text(), QString("q9zzz"));
    QCOMPARE(f.pb->ui->name->text(), error.left(15));
    QCOMPARE(f.pb->ui->name->palette().color(QPalette::Text), f.pb->redText.color(QPalette::Text));
    QCOMPARE(f.pb->ui->sent->text(), QString("59"));
    QCOMPARE(f.pb->ui->rcvd->text(), QString("59"));
    QCOMPARE(f.pb->ui->comment->text(), QString());
    QCOMPARE(f.pb->ui->p2p->text(), QString());
    // A failed lookup leaves the session as it was.
    QVERIFY(f.pb->qrzConnected);
}

void TestQrzLookup::emptyCallClearsBothWindows()
{
    QrzFixture f;
    QVERIFY(f.build());
    Ui::Parkbook* ui = f.pb->ui;
    const QList<QLineEdit*> form = {ui->utc,       ui->name,  ui->state,   ui->mode, ui->band,
                                    ui->frequency, ui->power, ui->comment, ui->p2p};
    for (QLineEdit* field : form)
        field->setText("x");
    ui->sent->setText("44");
    ui->rcvd->setText("33");
    for (QLineEdit* field : contactFields(f.pb->contact))
        field->setText("y");
    QSignalSpy stateEdits(ui->state, &QLineEdit::textChanged);

    ui->call->setText("");
    f.pb->lookUpContact();
    for (QLineEdit* field : form)
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
    QCOMPARE(ui->sent->text(), QString("59"));
    QCOMPARE(ui->rcvd->text(), QString("59"));
    for (QLineEdit* field : contactFields(f.pb->contact))
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
    QCOMPARE(stateEdits.count(), 0);
    QVERIFY(f.server.queries.isEmpty());
}

void TestQrzLookup::lateAnswerRefillsClearedForm()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.server.stations.insert("Q2XX", station.arg("g"));
    QRZ_CONNECT(f);
    f.pb->ui->call->setText("Q2XX");
    f.pb->lookUpContact();
    // The form is cleared (as after logging) before the answer is in.
    f.pb->ui->call->setText("");
    f.pb->lookUpContact();
    QCOMPARE(f.pb->ui->name->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(f.pb->ui->name->text(), QString("John"), 10000);
    QCOMPARE(f.pb->ui->call->text(), QString("Q2XX"));
    QCOMPARE(f.pb->ui->state->text(), QString("NY"));
    QCOMPARE(f.pb->contact->ui->license->text(), QString("General"));
}

void TestQrzLookup::getContactWithoutSession()
{
    QrzFixture f;
    QVERIFY(f.build());
    f.pb->contact->ui->call->setText("Q2XX");
    f.pb->getContact();
    QCOMPARE(f.boxes("Not Connected to QRZ Database"), 1);
    QVERIFY(f.errorLog().contains("Not Connected to QRZ Database."));

    // Connected, "Get Contact" looks up the call typed in the Contact window.
    f.server.stations.insert("Q2XX", station.arg("t"));
    QRZ_CONNECT(f);
    QSignalSpy get(f.pb->contact, &Contact::getContactSig);
    f.pb->contact->ui->getContact->click();
    QCOMPARE(get.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(f.pb->contact->ui->license->text(), QString("Technician"), 10000);
}

void TestQrzLookup::contactWindowLimitsAndTyping()
{
    QrzFixture f;
    QVERIFY(f.build());
    Contact* c = f.pb->contact;
    f.pb->on_actionContact_Details_triggered();
    QVERIFY(c->isVisible());
    QCOMPARE(c->windowTitle(), QString("Alt+C: Contact Details from QRZ"));
    QTest::keyClicks(c->ui->call, "k1ab");
    QCOMPARE(c->ui->call->text(), QString("K1AB"));
    c->ui->call->setCursorPosition(1);
    QTest::keyClicks(c->ui->call, "x");
    QCOMPARE(c->ui->call->text(), QString("KX1AB"));
    QCOMPARE(c->ui->call->cursorPosition(), 2);
    QVERIFY(c->ui->city->isReadOnly());
    c->ui->county->setText("A county name that is far too long");
    QCOMPARE(c->ui->county->text().size(), 15);

    QSignalSpy escape(c, &Contact::escapeSig);
    c->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(c));
    QTest::keyClick(c->ui->call, Qt::Key_Escape);
    QCOMPARE(escape.count(), 1);

    c->writeSettings(f.pb->settingsFile);
    QSettings settings(f.home.iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("Contact/Visible").toString(), QString("Yes"));
    QCOMPARE(settings.value("Contact/Exist").toString(), QString("Yes"));
}

QTEST_MAIN(TestQrzLookup)
#include "tst_qrzlookup.moc"
