#include "qrz/contact.h"
#include "qrzfixture.h"
#include "ui_contact.h"

#include <QSignalSpy>

class TestQrzLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answerFillsBothWindows()
    {
        QrzFixture f;
        QVERIFY(f.build());
        f.server.stations.insert(
            "Q2XX", "<call>Q2XX</call><fname>JOHN PAUL</fname><name>SMITH</name>"
                    "<addr2>NEW  YORK CITY</addr2><state>ny</state>"
                    "<country>United States</country><lat>40.712800</lat><lon>-74.006000</lon>"
                    "<grid>FN30as</grid><county>New York</county><dxcc>291</dxcc>"
                    "<class>p</class><born>1970</born><expdate>2030-01-01</expdate>");
        QRZ_CONNECT(f);
        f.pb->station->ui->lat->setText("41.7128");
        f.pb->station->ui->lon->setText("-74.0060");
        f.pb->ui->call->setText("q2xx");
        f.pb->lookUpContact();

        Ui::Contact* c = f.pb->contact->ui;
        QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), QString("John"), 10000);
        const QList<QPair<QLineEdit*, QString>> expected = {
            {c->last, "Smith"},  {c->license, "Technician+"}, {c->city, "New  York City"},
            {c->state, "NY"},    {c->county, "New York"},     {c->country, "United States"},
            {c->dxcc, "291"},    {c->lat, "40.712800"},       {c->lon, "-74.00600"}, // 9 wide
            {c->grid, "FN30as"}, {c->born, "1970"},           {c->expire, "2030-01-01"}};
        for (const auto& [field, text] : expected)
            QCOMPARE(field->text(), text);
        QCOMPARE(c->bear->text().trimmed(), QString("180")); // due south of the station
        QCOMPARE(f.pb->ui->call->text(), QString("Q2XX"));
        QVERIFY(f.pb->ui->call->isModified());
        QCOMPARE(f.pb->ui->name->text(), QString("John"));
        QCOMPARE(f.pb->ui->state->text(), QString("NY"));
    }

    void errorAnswerShowsInRed()
    {
        QrzFixture f;
        QVERIFY(f.build());
        QRZ_CONNECT(f);
        f.pb->ui->call->setText("q9zzz");
        f.pb->ui->sent->setText("55");
        f.pb->ui->rcvd->setText("57");
        f.pb->lookUpContact();
        const QString error = "Not found: Q9ZZZ";
        Ui::Contact* c = f.pb->contact->ui;
        QTRY_COMPARE_WITH_TIMEOUT(c->name->text(), error, 10000);
        QCOMPARE(c->name->palette().color(QPalette::Text), f.pb->redText.color(QPalette::Text));
        QCOMPARE(f.pb->ui->call->text(), QString("q9zzz"));
        QCOMPARE(f.pb->ui->name->text(), error.left(15));
        QCOMPARE(f.pb->ui->name->palette().color(QPalette::Text),
                 f.pb->redText.color(QPalette::Text));
        QCOMPARE(f.pb->ui->sent->text(), QString("59"));
        QCOMPARE(f.pb->ui->rcvd->text(), QString("59"));
        QVERIFY(f.pb->qrzConnected); // a failed lookup leaves the session as it was
    }

    void withoutSession()
    {
        QrzFixture f;
        QVERIFY(f.build());
        Ui::Parkbook* ui = f.pb->ui;
        Ui::Contact* c = f.pb->contact->ui;
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
        f.pb->lookUpContact();
        for (QLineEdit* field : cleared)
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QCOMPARE(ui->sent->text(), QString("59"));
        QCOMPARE(ui->rcvd->text(), QString("59"));
        QCOMPARE(stateEdits.count(), 0); // the state-centre handler did not run

        c->call->setText("Q2XX");
        f.pb->getContact();
        QCOMPARE(f.home.prompter.titles(), QStringList{"Not Connected to QRZ Database"});
        QVERIFY(f.errorLog().contains("Not Connected to QRZ Database."));
        QVERIFY(f.pb->qrzReply == nullptr);
    }
};

QTEST_MAIN(TestQrzLookup)
#include "tst_qrzlookup.moc"
