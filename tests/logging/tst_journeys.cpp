// Whole operating sessions driven by the keyboard, started as a new user
// starts Parkbook: from an empty home, with every window a fresh install opens.
#include "app/utcclock.h"
#include "db/schema.h"
#include "fakeqrzserver.h"
#include "journey.h"
#include "parks/seelog.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "ui_activity.h"
#include "ui_contact.h"
#include "ui_seelog.h"

#include <QtTest>

using namespace Journey;

namespace
{
void makeOldLog(const QString& folder)
{
    QDir(QDir::currentPath()).mkpath(folder);
    for (const char* statement : {Schema::createLog, Schema::createStation, Schema::createParks})
        run(statement, folder);
}
} // namespace

class TestJourneys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }

    // A 2-fer logged with the activation list open: F1/F2 park to park, an
    // edit through the park log, a back-dated day; then a restart.
    void twoFerDayThenRestart()
    {
        TempHome home;
        {
            auto pb = firstStart(home, true);
            QVERIFY(pb);
            QVERIFY(pb->activationLog->isVisible());
            logContact(pb.get(), "q2aa", "57", "first");
            // The list shows the new counters; nothing was re-activated into
            // the selected slot, and only the park on show is in the park log.
            QVERIFY2(
                pb->activationLog->ui->log->toPlainText().contains("K-0001     MA   1   0   0"),
                qPrintable(pb->activationLog->ui->log->toPlainText()));
            QCOMPARE(QString("%1 %2 ").arg(pb->station->selectedSlot()).arg(pb->parkLogCount) +
                         pb->station->ui->pRef1->text(),
                     QString("1 1 K-0001"));

            // F1, a reference, F2: the form stays for a second reference.
            type(pb->ui->call, "q2bb");
            press(pb.get(), Qt::Key_Return);
            press(pb.get(), Qt::Key_F1);
            QTest::keyClicks(pb->ui->p2p, "k-1111");
            QStringList kept = form(pb.get());
            press(pb.get(), Qt::Key_F2);
            kept[10] = "";
            QCOMPARE(form(pb.get()), kept);
            QVERIFY(pb->ui->p2p->hasFocus());
            QTest::keyClicks(pb->ui->p2p, "k-2222");
            press(pb.get(), Qt::Key_F8);
            QCOMPARE(form(pb.get()),
                     QStringList({"", "", "", "", "59", "59", "", "", "", "", "", ""}));
            QVERIFY(pb->ui->call->hasFocus());

            logContact(pb.get(), "q2cc", "55", "third");
            // The first contact of the park log, corrected and logged again.
            press(pb.get(), Qt::Key_PageUp);
            QCOMPARE(pb->ui->call->text(), QString("Q2AA"));
            type(pb->ui->comment, " edited");
            press(pb.get(), Qt::Key_F8);
            QCOMPARE(pb->currentLogId, 0);

            // A contact of two days ago, typed in afterwards: the date stays.
            retype(pb->ui->parkDate, "20260530");
            logContact(pb.get(), "q2dd", "44", "late entry");
            logContact(pb.get(), "q2ee", "33", "");
            QCOMPARE(pb->ui->parkDate->text() + pb->station->ui->pRef1->text() +
                         pb->station->ui->pRef2->text(),
                     QString("20260530K-0001K-0002"));
            pb->close();
        }
        QCOMPARE(run("SELECT date, park, call, rcvd, p2p, comment FROM log ORDER BY date, call, "
                     "park, p2p"),
                 QStringList({"20260530|K-0001|Q2DD|44||late entry",
                              "20260530|K-0002|Q2DD|44||late entry", "20260530|K-0001|Q2EE|33||",
                              "20260530|K-0002|Q2EE|33||", "20260601|K-0001|Q2AA|57||first edited",
                              "20260601|K-0002|Q2AA|57||first", "20260601|K-0001|Q2BB|59|K-1111|",
                              "20260601|K-0001|Q2BB|59|K-2222|", "20260601|K-0002|Q2BB|59|K-1111|",
                              "20260601|K-0002|Q2BB|59|K-2222|", "20260601|K-0001|Q2CC|55||third",
                              "20260601|K-0002|Q2CC|55||third"}));
        QCOMPARE(run("SELECT date, park FROM parks ORDER BY date, park"),
                 QStringList(
                     {"20260530|K-0001", "20260530|K-0002", "20260601|K-0001", "20260601|K-0002"}));
        QCOMPARE(wrongCounters(), QStringList());

        // After a restart the station is as it was left; the records of one
        // date are listed in the order made (the tick of slot 2 made
        // K-0002's first) and the current one is the selected park's.
        auto pb = home.makeParkbook();
        QCOMPARE(QString("%1 %2 %3 %4 %5")
                     .arg(pb->station->ui->pRef1->text(), pb->station->ui->pRef2->text())
                     .arg(pb->station->selectedSlot())
                     .arg(pb->station->ui->act2->isChecked())
                     .arg(pb->ui->parkReference->text()),
                 QString("K-0001 K-0002 1 1 K-0001"));
        QCOMPARE(wrongCounters(), QStringList());
        QCOMPARE(listed(pb.get()), QStringList({"20260601 K-0002", "20260601 K-0001",
                                                "20260530 K-0001", "20260530 K-0002"}));
        QCOMPARE(
            run("SELECT park, date FROM parks WHERE id = " + QString::number(pb->activationParkId)),
            QStringList({"K-0001|20260601"}));
    }

    // A log written by an earlier version and other programs: two operators,
    // a record whose state is "?", right counters, no record for today.
    void startWithExistingLogKeepsItsRecords()
    {
        TempHome home;
        makeOldLog("Programs/Parkbook/Data");
        run("INSERT INTO station (station, call, park1, name1, state) VALUES "
            "('K1STN', 'K1OP', 'K-0003', 'Third Park', 'MA')");
        run("INSERT INTO parks (date, park, state, QSOs, LateQSOs, P2Ps) VALUES "
            "('20260510', 'K-0003', 'MA', '2', '1', '1'), "
            "('20260520', 'K-0004', '?', '3', '0', '0'), ('20260520', 'K-0005', 'MA', '1', '0', "
            "'0'), ('20260505', 'K-0003', 'MA', '0', '0', '0')");
        run("INSERT INTO log (date, time, park, call, p2p, operator) VALUES "
            "('20260510', '0930', 'K-0003', 'Q2AA', 'K-1111', 'K1OP'), "
            "('20260510', '1300', 'K-0003', 'Q2AB', '', 'K1OLD'), "
            "('20260520', '1400', 'K-0004', 'Q2AC', '', 'K1OLD'), "
            "('20260520', '1401', 'K-0004', 'Q2AD', '', 'K1OLD'), "
            "('20260520', '1402', 'K-0004', 'Q2AE', '', 'K1OP'), "
            "('20260520', '1500', 'K-0005', 'Q2AF', '', 'K1OLD')");
        const auto before = run("SELECT * FROM parks ORDER BY id");

        auto pb = home.makeParkbook();
        QVERIFY(pb->activationLog->isVisible());
        QCOMPARE(run("SELECT * FROM parks ORDER BY id"), before);
        // The list comes back on the selected park's record.
        QCOMPARE(QString("%1 %2 %3 %4")
                     .arg(pb->activationParkId)
                     .arg(pb->station->ui->pRef1->text(), pb->ui->parkReference->text(),
                          pb->ui->parkDate->text()),
                 QString("1 K-0003 K-0003 20260601"));
        // Statistics as counted by hand: 4 activations of 3 parks in 2 states,
        // every operator's contacts counted.
        pb->on_actionActivation_Statistics_triggered();
        const Ui::Activity* a = pb->activity->ui;
        QStringList figures;
        for (const QLineEdit* field : {a->attempts, a->successful, a->lateShift, a->unique,
                                       a->totalQso, a->states, a->parkToPark, a->DXs})
            figures << field->text().trimmed();
        QCOMPARE(figures.join(' '), QString("4 0 0 3 6 2 1 0"));
    }

    // F8 after a write that failed for the second park writes only that one.
    // Then hunting: HUNTER at once, and its contacts under it alone.
    void retryAfterHalfWrittenContactThenHunt()
    {
        TempHome home;
        auto pb = firstStart(home, true);
        QVERIFY(pb);
        run("CREATE TRIGGER refuse BEFORE INSERT ON log WHEN NEW.park = 'K-0002' "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        logContact(pb.get(), "q2aa", "57", "retry me");
        QVERIFY(home.prompter.shown.last().text.contains("K-0002")); // the park not logged
        QCOMPARE(pb->ui->call->text() + pb->ui->comment->text(), QString("Q2AAretry me"));

        run("DROP TRIGGER refuse");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(run("SELECT park, call, comment FROM log ORDER BY id"),
                 QStringList({"K-0001|Q2AA|retry me", "K-0002|Q2AA|retry me"}));
        QCOMPARE(pb->ui->call->text(), QString());
        QCOMPARE(wrongCounters(), QStringList());

        QTest::mouseClick(pb->ui->modeHunter, Qt::LeftButton);
        QCOMPARE(pb->station->ui->pRef1->text() + pb->ui->parkReference->text(),
                 QString("HUNTERHUNTER"));
        logContact(pb.get(), "q2bb", "57", "");
        QCOMPARE(run("SELECT park FROM log WHERE call = 'Q2BB'"), QStringList({"HUNTER"}));
    }

    void slowQrzAnswersStayWithTheirCall()
    {
        FakeQrzServer qrz;
        QVERIFY(qrz.start());
        qputenv("PARKBOOK_QRZ_URL", qrz.url().toUtf8());
        for (const QString station : {"Q2AA Anne Albany", "Q2BB Bob Buffalo", "Q2BC Carl Corning"})
            qrz.stations.insert(station.left(4), "<call>" + station.left(4) + "</call><fname>" +
                                                     station.section(' ', 1, 1) +
                                                     "</fname><name>Smith</name><addr2>" +
                                                     station.section(' ', 2) + "</addr2>");
        TempHome home;
        auto pb = firstStart(home, false);
        QVERIFY(pb);
        pb->station->ui->call->setText(qrz.user);
        pb->station->ui->pwd->setText(qrz.password);
        pb->connectQRZ();
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzConnected, 10000);
        Ui::Contact* details = pb->contact->ui;

        // Logged before the answer is in: the contact goes without details,
        // and the late answer does not refill the cleared form.
        qrz.holdLookups = true;
        logContact(pb.get(), "q2aa", "57", "");
        QTRY_COMPARE_WITH_TIMEOUT(qrz.lookedUp.size(), 1, 5000);
        qrz.releaseLookups();
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000);
        QCOMPARE(pb->ui->call->text() + pb->ui->name->text() + details->city->text(), QString());

        // A corrected call: only the answer for the call now entered counts.
        auto retypeLastLetter = [&pb](const QString& letter) {
            pb->ui->call->setFocus();
            pb->ui->call->end(false);
            QTest::keyClick(pb->ui->call, Qt::Key_Backspace);
            QTest::keyClicks(pb->ui->call, letter);
            press(pb.get(), Qt::Key_Return);
        };
        qrz.holdLookups = true;
        type(pb->ui->call, "q2bb");
        press(pb.get(), Qt::Key_Return);
        retypeLastLetter("c");
        QTRY_COMPARE_WITH_TIMEOUT(qrz.lookedUp.size(), 3, 5000);
        qrz.releaseLookups();
        QTRY_COMPARE_WITH_TIMEOUT(details->city->text(), QString("Corning"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000);
        QCOMPARE(pb->ui->call->text() + pb->ui->name->text(), QString("Q2BCCarl"));

        // Changed again, and this answer comes cut short: Carl's details must
        // not stay for another station.
        qrz.rawAnswer = "<?xml version=\"1.0\"?><QRZDatabase><Callsign><call>Q2BB</call><addr2>Bu";
        const auto asked = qrz.queries.size();
        retypeLastLetter("b");
        QTRY_COMPARE_WITH_TIMEOUT(qrz.queries.size(), asked + 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000);
        QCOMPARE(details->city->text(), QString());

        qrz.rawAnswer = QByteArray();
        retypeLastLetter("c");
        QTRY_COMPARE_WITH_TIMEOUT(details->city->text(), QString("Corning"), 5000);
        type(pb->ui->comment, "x");
        press(pb.get(), Qt::Key_F8);
        // Bob's details shown, the call then corrected and logged at once: the
        // Contact window's details are not this station's (the name in the
        // form is the operator's to keep or change).
        type(pb->ui->call, "q2bb");
        press(pb.get(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(details->city->text(), QString("Buffalo"), 5000);
        pb->ui->call->backspace();
        type(pb->ui->call, "d");
        press(pb.get(), Qt::Key_F8);
        qunsetenv("PARKBOOK_QRZ_URL");
        QCOMPARE(run("SELECT call, name, city, last FROM log ORDER BY id"),
                 QStringList({"Q2AA|||", "Q2BC|Carl|Corning|Smith", "Q2BD|Bob||"}));
    }

    // A short or unconfirmed park date files nothing; a new one loads its park log first.
    void parkDatesThenNewDataDirectory()
    {
        TempHome home;
        auto pb = firstStart(home, false);
        QVERIFY(pb);
        retype(pb->ui->parkDate, "20000101"); // the first date taken
        retype(pb->ui->parkDate, "20260601");
        QCOMPARE(home.prompter.titles().filter("Error").size(), 0);
        logContact(pb.get(), "q2zz", "57", "");
        // The field's mask lets a short date through without a word when it is left.
        retype(pb->ui->parkDate, "2026053");
        logContact(pb.get(), "q2aa", "57", "");
        retype(pb->ui->parkDate, "20260532"); // nor a day the calendar does not have
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(home.prompter.count("Error: Park Start Date"), 3); // one on leaving the field
        QCOMPARE(pb->ui->call->text(), QString("Q2AA"));
        QCOMPARE(run("SELECT date, call FROM log"), QStringList({"20260601|Q2ZZ"}));

        // A new date typed, then F8 at once: the contact goes to that day,
        // whose park log is loaded first.
        pb->ui->parkDate->setFocus();
        pb->ui->parkDate->selectAll();
        QTest::keyClicks(pb->ui->parkDate, "20260530");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(run("SELECT date, call FROM log WHERE call = 'Q2AA'"),
                 QStringList({"20260530|Q2AA"}));
        QCOMPARE(QString("%1 %2").arg(pb->parkLogCount).arg(pb->parkLogPosition), QString("1 1"));
        logContact(pb.get(), "q2bb", "57", "");
        retype(pb->ui->parkDate, "20260601");
        logContact(pb.get(), "q2cc", "57", "");
        QCOMPARE(pb->parkLogCount, 2);
        QCOMPARE(wrongCounters(), QStringList());
        QCOMPARE(run("SELECT date, QSOs FROM parks ORDER BY date"),
                 QStringList({"20260530|2", "20260601|2"}));
        retype(pb->ui->endDate, "20260531");
        QCOMPARE(home.prompter.titles().last(), QString("Error: Park End Date"));

        // Set Data Directory: the activation list was built for the old log
        // and closed before the change; F6 and Alt+F10 must not reach rows of
        // the new log by old numbers.
        QVERIFY(pb->activationListId != 0);
        pb->activationLog->close();
        makeOldLog("Other");
        run("INSERT INTO station (station, call, park1) VALUES ('K1STN', 'K1OP', 'K-0001')",
            "Other");
        run("INSERT INTO parks (date, park, name) VALUES ('20250101', 'K-0777', 'Elsewhere')",
            "Other");
        home.prompter.paths.enqueue(home.path() + "/Other");
        home.prompter.answers.enqueue(QMessageBox::Yes);
        pb->ui->actionSet_Data_Directory->trigger();
        QCOMPARE(pb->dataDir.path(), home.path() + "/Other");

        press(pb.get(), Qt::Key_F6);
        press(pb.get(), Qt::Key_F10, Qt::AltModifier);
        QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
        QCOMPARE(home.prompter.count("Delete Park Activation Location"), 0);
    }
};

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
