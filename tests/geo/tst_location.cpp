#include "app/parkbook.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_station.h"

#include <QTest>

// The main window's location members working on the real Station, Contact and
// main forms, with the state centres loaded from the shipped table.
class TstLocation : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
    }

    void cleanup()
    {
        pb.reset();
        home.reset();
    }

    // Typing the position is enough: the Station window reports each change.
    // Without a latitude the grid stays (the WSJT-X tests see it sent again).
    void gridFollowsPosition()
    {
        Ui::Station* s = pb->station->ui;
        s->lat->setText("north");
        s->lon->setText("west");
        QCOMPARE(pb->ui->parkGrid->text(), QString("JJ00aa")); // words read as 0
        s->lat->setText("41.714775");
        s->lon->setText("-72.727260");
        s->lat->clear();
        QCOMPARE(pb->ui->parkGrid->text() + ' ' + s->grid->text(), QString("FN31pr FN31pr"));
    }

    void typedStateFillsContactWithCentre()
    {
        pb->station->ui->lat->setText("41.714775");
        pb->station->ui->lon->setText("-72.727260");
        Ui::Contact* c = pb->contact->ui;
        for (QLineEdit* field : {c->city, c->county, c->grid, c->dist})
            field->setText("x");
        // A quote finds nothing: only distance and bearing are blanked.
        QTest::keyClicks(pb->ui->state, "'");
        QCOMPARE(c->city->text() + c->dist->text(), QString("x"));

        // TX is stored as 31.476, -99.331 (read as float when the table is loaded).
        pb->ui->state->clear();
        QTest::keyClicks(pb->ui->state, "tx");
        QCOMPARE(pb->ui->state->text(), QString("TX"));
        QCOMPARE(pb->ui->state->cursorPosition(), 2);
        QVERIFY(pb->ui->state->isModified());
        const QStringList shown = {c->city->text(), c->state->text(), c->county->text(),
                                   c->grid->text(), c->lat->text(),   c->lon->text(),
                                   c->dist->text(), c->bear->text()};
        QCOMPARE(shown, QStringList({"StateCenter", "TX", "", "", "31.475999", "-99.33100", "1628 ",
                                     "253"}));
    }

    // The Station window's state and county reach the main window.
    void stationStateAndCountyReachMainWindow()
    {
        Ui::Station* s = pb->station->ui;
        s->state->setCurrentIndex(s->state->findText("TX"));
        QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));
        QTest::keyClicks(s->county, "travis");
        QCOMPARE(pb->ui->parkCounty->text(), s->county->text());
        QVERIFY(pb->ui->parkCounty->text().endsWith("ravis"));
    }
};

QTEST_MAIN(TstLocation)
#include "tst_location.moc"
