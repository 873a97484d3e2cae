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

private Q_SLOTS:
    // Typing the position is enough: the Station window reports each change;
    // without a latitude the grid stays (the WSJT-X tests see it sent again).
    // A state typed in the main window fills the Contact window with its
    // centre, and the Station window's state and county reach the main window.
    void locationReachesEveryWindow()
    {
        TempHome home;
        const auto pb = home.makeParkbook();
        Ui::Station* s = pb->station->ui;
        s->lat->setText("north");
        s->lon->setText("west");
        QCOMPARE(pb->ui->parkGrid->text(), QString("JJ00aa")); // words read as 0
        s->lat->setText("41.714775");
        s->lon->setText("-72.727260");
        s->lat->clear();
        QCOMPARE(pb->ui->parkGrid->text() + ' ' + s->grid->text(), QString("FN31pr FN31pr"));
        s->lat->setText("41.714775");

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

        s->state->setCurrentIndex(s->state->findText("TX"));
        QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));
        QTest::keyClicks(s->county, "travis");
        QCOMPARE(pb->ui->parkCounty->text(), s->county->text());
        QVERIFY(pb->ui->parkCounty->text().endsWith("ravis"));
    }
};

QTEST_MAIN(TstLocation)
#include "tst_location.moc"
