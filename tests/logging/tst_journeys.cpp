// Whole operating sessions driven by the keyboard, started as a new user
// starts Parkbook: from an empty home, with every window a fresh install opens.
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "db/schema.h"
#include "fakeqrzserver.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "stats/activity.h"
#include "temphome.h"
#include "ui_activity.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace
{
void type(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

// Enter in a field, F-keys and the like, pressed where the operator's focus is.
// A button's function key shows the button pressed for a moment; a second
// press of it within that moment does nothing, so wait as a hand would.
void press(Parkbook* pb, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target && target->window() == pb ? target : pb, key, modifiers);
    for (QPushButton* button : pb->findChildren<QPushButton*>())
        QVERIFY(QTest::qWaitFor([button] { return !button->isDown(); }, 2000));
}

// Replaces the whole text of a masked field, then leaves it as Tab does.
void retypeDate(Parkbook* pb, QLineEdit* field, const QString& date)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, date);
    QTest::keyClick(field, Qt::Key_Tab);
    QCoreApplication::processEvents();
    Q_UNUSED(pb);
}

// The operator's first start: the two boxes, then the Station window filled
// in by typing, slot 2 ticked by a click, saved with Alt+S.
std::unique_ptr<Parkbook> firstStart(TempHome& home, bool twoFer)
{
    auto pb = home.makeParkbook();
    pb->show();
    // The Station window is open with the "Enter Callsigns" box; the operator
    // clicks into it.
    pb->station->activateWindow();
    if (!QTest::qWaitForWindowActive(pb->station))
        return nullptr;
    Ui::Station* st = pb->station->ui;
    type(st->station, "k1stn");
    type(st->call, "k1op");
    st->mode->setCurrentText("SSB");
    st->band->setCurrentText("20m");
    type(st->frequency, "14.250");
    type(st->power, "100");
    st->state->setCurrentText("MA");
    type(st->pRef1, "k-0001");
    type(st->name1, "first park");
    if (twoFer) {
        type(st->pRef2, "k-0002");
        type(st->name2, "second park");
        QTest::mouseClick(st->act2, Qt::LeftButton);
    }
    QTest::keyClick(st->pRef1, Qt::Key_S, Qt::AltModifier);
    pb->activateWindow();
    if (!QTest::qWaitForWindowActive(pb.get()))
        return nullptr;
    return pb;
}

// One contact as typed: call, Enter, the received report, a comment, F8.
void logContact(Parkbook* pb, const QString& call, const QString& rcvd, const QString& comment)
{
    type(pb->ui->call, call);
    press(pb, Qt::Key_Return);
    press(pb, Qt::Key_Return); // sent keeps "59"
    QTest::keyClicks(pb->ui->rcvd, rcvd);
    type(pb->ui->comment, comment);
    press(pb, Qt::Key_F8);
}

// A connection of its own to the log file of the home the test works in,
// whether or not Parkbook is running: what another program would see.
QSqlDatabase logFile(const QString& folder = "Programs/Parkbook/Data")
{
    QSqlDatabase db = QSqlDatabase::contains("check")
                          ? QSqlDatabase::database("check")
                          : QSqlDatabase::addDatabase("QSQLITE", "check");
    db.close();
    db.setDatabaseName(QDir::currentPath() + "/" + folder + "/parkbook.db");
    db.open();
    return db;
}

void run(const QString& statement, const QString& folder = "Programs/Parkbook/Data")
{
    QSqlQuery query(logFile(folder));
    QVERIFY2(query.exec(statement), qPrintable(statement));
}

QList<QStringList> rows(const QString& statement)
{
    QSqlDatabase db = logFile();
    QList<QStringList> result;
    QSqlQuery query(db);
    query.exec(statement);
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row.append(query.value(i).toString());
        result.append(row);
    }
    return result;
}

// Every activation record whose counters differ from a count of its contacts.
QList<QStringList> wrongCounters()
{
    return rows(
        "SELECT p.date, p.park, p.QSOs, p.LateQSOs, p.P2Ps FROM parks p WHERE "
        "ifnull(p.QSOs,'') != (SELECT CAST(count(*) AS TEXT) FROM log l WHERE l.date = p.date AND "
        "l.park = p.park) OR ifnull(p.P2Ps,'') != (SELECT CAST(count(*) AS TEXT) FROM log l WHERE "
        "l.date = p.date AND l.park = p.park AND ifnull(l.p2p,'') != '') OR "
        "ifnull(p.LateQSOs,'') != (SELECT CAST(count(*) AS TEXT) FROM log l WHERE l.date = p.date "
        "AND "
        "l.park = p.park AND substr(l.time || '000000', 1, 6) < '120000')");
}
} // namespace

class TestJourneys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC)); }
    void cleanup() { UtcClock::clearFixed(); }
    void twoFerDayThenRestart();
    void startWithExistingLogKeepsItsRecords();
    void retryAfterHalfWrittenContact();
    void slowQrzAnswersStayWithTheirCall();
    void contactsNeedAWholeParkDate();
    void newDataDirectoryForgetsOldList();
    void huntingShowsHunterAtOnce();
};

void TestJourneys::twoFerDayThenRestart()
{
    TempHome home;
    {
        auto pb = firstStart(home, true);
        QVERIFY(pb);
        QVERIFY(pb->activationLog->isVisible());
        QCOMPARE(pb->ui->parkReference->text(), QString("K-0001"));

        logContact(pb.get(), "q2aa", "57", "first");
        QCOMPARE(pb->ui->call->text(), QString());
        QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
        QCOMPARE(pb->station->selectedSlot(), 1);

        // Park to park: F1, a reference, F2 keeps the contact for a second one.
        type(pb->ui->call, "q2bb");
        press(pb.get(), Qt::Key_Return);
        press(pb.get(), Qt::Key_F1);
        QTest::keyClicks(pb->ui->p2p, "k-1111");
        press(pb.get(), Qt::Key_F2);
        QCOMPARE(pb->ui->call->text(), QString("Q2BB"));
        QCOMPARE(pb->ui->p2p->text(), QString());
        QVERIFY(pb->ui->p2p->hasFocus());
        QTest::keyClicks(pb->ui->p2p, "k-2222");
        press(pb.get(), Qt::Key_F8);

        logContact(pb.get(), "q2cc", "55", "third");

        // The first contact of the park log, corrected and logged again.
        press(pb.get(), Qt::Key_PageUp);
        QCOMPARE(pb->ui->call->text(), QString("Q2AA"));
        type(pb->ui->comment, " edited");
        press(pb.get(), Qt::Key_F8);

        // A contact of two days ago, typed in afterwards.
        retypeDate(pb.get(), pb->ui->parkDate, "20260530");
        logContact(pb.get(), "q2dd", "44", "late entry");
        logContact(pb.get(), "q2ee", "33", "");
        QCOMPARE(pb->ui->parkDate->text(), QString("20260530"));
        QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
        QCOMPARE(pb->station->ui->pRef2->text(), QString("K-0002"));
        pb->close();
    }

    const auto logged =
        rows("SELECT date, park, call, rcvd, p2p, comment FROM log ORDER BY date, call, park, p2p");
    const QList<QStringList> expected = {
        {"20260530", "K-0001", "Q2DD", "44", "", "late entry"},
        {"20260530", "K-0002", "Q2DD", "44", "", "late entry"},
        {"20260530", "K-0001", "Q2EE", "33", "", ""},
        {"20260530", "K-0002", "Q2EE", "33", "", ""},
        {"20260601", "K-0001", "Q2AA", "57", "", "first edited"},
        {"20260601", "K-0002", "Q2AA", "57", "", "first"},
        {"20260601", "K-0001", "Q2BB", "59", "K-1111", ""},
        {"20260601", "K-0001", "Q2BB", "59", "K-2222", ""},
        {"20260601", "K-0002", "Q2BB", "59", "K-1111", ""},
        {"20260601", "K-0002", "Q2BB", "59", "K-2222", ""},
        {"20260601", "K-0001", "Q2CC", "55", "", "third"},
        {"20260601", "K-0002", "Q2CC", "55", "", "third"},
    };
    QCOMPARE(logged, expected);
    QCOMPARE(rows("SELECT date, park FROM parks ORDER BY date, park"),
             QList<QStringList>({{"20260530", "K-0001"},
                                 {"20260530", "K-0002"},
                                 {"20260601", "K-0001"},
                                 {"20260601", "K-0002"}}));
    QCOMPARE(wrongCounters(), QList<QStringList>());

    // After a restart the operator finds the station as it was left.
    auto pb = home.makeParkbook();
    QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
    QCOMPARE(pb->station->ui->pRef2->text(), QString("K-0002"));
    QCOMPARE(pb->station->selectedSlot(), 1);
    QVERIFY(pb->station->ui->act2->isChecked());
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0001"));
    QCOMPARE(wrongCounters(), QList<QStringList>());
    // Records of one date are listed in the order they were made (the tick
    // of slot 2 made K-0002's first); the current one is the selected park's.
    QStringList listed;
    for (const QString& line : pb->activationLog->ui->log->toPlainText().split('\n'))
        listed.append(line.left(15));
    QCOMPARE(listed, QStringList({"20260601 K-0002", "20260601 K-0001", "20260530 K-0001",
                                  "20260530 K-0002"}));
    QCOMPARE(
        rows("SELECT park, date FROM parks WHERE id = " + QString::number(pb->activationParkId)),
        QList<QStringList>({{"K-0001", "20260601"}}));
    pb->on_actionActivation_Statistics_triggered();
    Ui::Activity* stats = pb->activity->ui;
    QCOMPARE(stats->attempts->text().trimmed(), QString("4"));
    QCOMPARE(stats->totalQso->text().trimmed(), QString("12"));
    QCOMPARE(stats->parkToPark->text().trimmed(), QString("4"));
    QCOMPARE(stats->unique->text().trimmed(), QString("2"));
}

// A log written by an earlier version and other programs: two operators, a
// record whose state is "?", counters that are right, no record for today.
void TestJourneys::startWithExistingLogKeepsItsRecords()
{
    TempHome home;
    for (const char* statement : {Schema::createLog, Schema::createStation, Schema::createParks})
        run(statement);
    run("INSERT INTO station (station, call, park1, name1, state) VALUES "
        "('K1STN', 'K1OP', 'K-0003', 'Third Park', 'MA')");
    run("INSERT INTO parks (date, park, state, QSOs, LateQSOs, P2Ps) VALUES "
        "('20260510', 'K-0003', 'MA', '2', '1', '1'), ('20260520', 'K-0004', '?', '3', '0', '0'), "
        "('20260520', 'K-0005', 'NH', '1', '0', '0')");
    run("INSERT INTO log (date, time, park, call, p2p, operator) VALUES "
        "('20260510', '0930', 'K-0003', 'Q2AA', 'K-1111', 'K1OP'), "
        "('20260510', '1300', 'K-0003', 'Q2AB', '', 'K1OLD'), "
        "('20260520', '1400', 'K-0004', 'Q2AC', '', 'K1OLD'), "
        "('20260520', '1401', 'K-0004', 'Q2AD', '', 'K1OLD'), "
        "('20260520', '1402', 'K-0004', 'Q2AE', '', 'K1OP'), "
        "('20260520', '1500', 'K-0005', 'Q2AF', '', 'K1OLD')");
    const auto before = rows("SELECT * FROM parks ORDER BY id");

    auto pb = home.makeParkbook();
    QVERIFY(pb->activationLog->isVisible());
    pb->on_actionActivation_Statistics_triggered();
    qDebug() << rows("SELECT * FROM parks ORDER BY id") << pb->activity->ui->totalQso->text();
    QCOMPARE(rows("SELECT * FROM parks ORDER BY id"), before);
    QCOMPARE(pb->activity->ui->totalQso->text().trimmed(), QString("6"));
    QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0003"));
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0003"));
    QCOMPARE(pb->ui->parkDate->text(), QString("20260601"));
    // The list comes back on the record of the selected park.
    QCOMPARE(pb->activationParkId, 1);
}

void TestJourneys::retryAfterHalfWrittenContact()
{
    TempHome home;
    auto pb = firstStart(home, true);
    QVERIFY(pb);
    // Another program (or a full disk) refuses the second park's row.
    run("CREATE TRIGGER refuse BEFORE INSERT ON log WHEN NEW.park = 'K-0002' "
        "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    logContact(pb.get(), "q2aa", "57", "retry me");
    QCOMPARE(home.prompter.titles().last(), QString("Contact Not Logged"));
    QVERIFY(home.prompter.shown.last().text.contains("K-0002"));
    QCOMPARE(pb->ui->call->text(), QString("Q2AA"));
    QCOMPARE(pb->ui->comment->text(), QString("retry me"));

    run("DROP TRIGGER refuse");
    press(pb.get(), Qt::Key_F8);
    QCOMPARE(rows("SELECT park, call, comment FROM log ORDER BY id"),
             QList<QStringList>({{"K-0001", "Q2AA", "retry me"}, {"K-0002", "Q2AA", "retry me"}}));
    QCOMPARE(pb->ui->call->text(), QString());
    QCOMPARE(wrongCounters(), QList<QStringList>());
}

void TestJourneys::slowQrzAnswersStayWithTheirCall()
{
    FakeQrzServer qrz;
    QVERIFY(qrz.start());
    qputenv("PARKBOOK_QRZ_URL", qrz.url().toUtf8());
    auto station = [](const QString& call, const QString& first, const QString& city) {
        return "<call>" + call + "</call><fname>" + first + "</fname><name>Smith</name><addr2>" +
               city + "</addr2><state>NY</state><lat>40.7</lat><lon>-74.0</lon>";
    };
    qrz.stations.insert("Q2AA", station("Q2AA", "Anne", "Albany"));
    qrz.stations.insert("Q2BB", station("Q2BB", "Bob", "Buffalo"));
    qrz.stations.insert("Q2BC", station("Q2BC", "Carl", "Corning"));
    TempHome home;
    auto pb = firstStart(home, false);
    QVERIFY(pb);
    pb->station->ui->call->setText(qrz.user);
    pb->station->ui->pwd->setText(qrz.password);
    pb->connectQRZ();
    QTRY_VERIFY_WITH_TIMEOUT(pb->qrzConnected, 10000);
    Ui::Contact* details = pb->contact->ui;

    // Logged before the answer is in: the contact goes without details, and
    // the late answer does not refill the cleared form.
    qrz.holdLookups = true;
    logContact(pb.get(), "q2aa", "57", "");
    QTRY_COMPARE_WITH_TIMEOUT(qrz.lookedUp.size(), 1, 5000);
    qrz.releaseLookups();
    QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000); // answered and gone
    QCOMPARE(pb->ui->call->text(), QString());
    QCOMPARE(pb->ui->name->text(), QString());
    QCOMPARE(details->city->text(), QString());

    // A corrected call: only the answer for the call now entered counts.
    qrz.holdLookups = true;
    type(pb->ui->call, "q2bb");
    press(pb.get(), Qt::Key_Return);
    pb->ui->call->setFocus();
    QTest::keyClick(pb->ui->call, Qt::Key_Backspace);
    QTest::keyClicks(pb->ui->call, "c");
    press(pb.get(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(qrz.lookedUp.size(), 3, 5000);
    qrz.releaseLookups();
    QTRY_COMPARE_WITH_TIMEOUT(details->city->text(), QString("Corning"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000);
    QCOMPARE(pb->ui->call->text(), QString("Q2BC"));
    QCOMPARE(pb->ui->name->text(), QString("Carl"));

    // Changed again, and this answer comes cut short: Carl's details must not
    // stay for another station.
    auto retypeLastLetter = [&pb](const QString& letter) {
        pb->ui->call->setFocus();
        pb->ui->call->end(false);
        QTest::keyClick(pb->ui->call, Qt::Key_Backspace);
        QTest::keyClicks(pb->ui->call, letter);
        press(pb.get(), Qt::Key_Return);
    };
    qrz.rawAnswer = "<?xml version=\"1.0\"?><QRZDatabase><Callsign><call>Q2BB</call><addr2>Bu";
    auto asked = qrz.queries.size();
    retypeLastLetter("b");
    QTRY_COMPARE_WITH_TIMEOUT(qrz.queries.size(), asked + 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(pb->qrzReply == nullptr, 5000);
    QCOMPARE(details->city->text(), QString());

    qrz.rawAnswer = QByteArray();
    retypeLastLetter("c");
    QTRY_COMPARE_WITH_TIMEOUT(details->city->text(), QString("Corning"), 5000);
    type(pb->ui->comment, "x");
    press(pb.get(), Qt::Key_F8);
    qunsetenv("PARKBOOK_QRZ_URL");

    QCOMPARE(rows("SELECT call, name, city, last FROM log ORDER BY id"),
             QList<QStringList>({{"Q2AA", "", "", ""}, {"Q2BC", "Carl", "Corning", "Smith"}}));
}

void TestJourneys::contactsNeedAWholeParkDate()
{
    TempHome home;
    auto pb = firstStart(home, false);
    QVERIFY(pb);
    // The field's mask lets a short date through without a word when it is left.
    retypeDate(pb.get(), pb->ui->parkDate, "2026053");
    logContact(pb.get(), "q2aa", "57", "");
    QCOMPARE(home.prompter.titles().last(), QString("Error: Park Start Date"));
    QCOMPARE(pb->ui->call->text(), QString("Q2AA"));
    QCOMPARE(rows("SELECT count(*) FROM log"), QList<QStringList>({{"0"}}));

    // A new date typed, then F8 at once: the contact goes to that day, whose
    // park log is loaded first.
    pb->ui->parkDate->setFocus();
    pb->ui->parkDate->selectAll();
    QTest::keyClicks(pb->ui->parkDate, "20260530");
    press(pb.get(), Qt::Key_F8);
    QCOMPARE(rows("SELECT date, call FROM log"), QList<QStringList>({{"20260530", "Q2AA"}}));
    QCOMPARE(pb->parkLogCount, 1);
    logContact(pb.get(), "q2bb", "57", "");
    retypeDate(pb.get(), pb->ui->parkDate, "20260601");
    logContact(pb.get(), "q2cc", "57", "");
    QCOMPARE(pb->parkLogCount, 1);
    QCOMPARE(wrongCounters(), QList<QStringList>());
    QCOMPARE(rows("SELECT date, QSOs FROM parks ORDER BY date"),
             QList<QStringList>({{"20260530", "2"}, {"20260601", "1"}}));
}

// The activation list was built for the old log and closed before the
// change; F6 and Alt+F10 must not reach rows of the new log by old numbers.
void TestJourneys::newDataDirectoryForgetsOldList()
{
    TempHome home;
    auto pb = firstStart(home, false);
    QVERIFY(pb);
    QVERIFY(pb->activationListId != 0);
    pb->activationLog->close();
    QDir(home.path()).mkpath("Other");
    for (const char* statement : {Schema::createLog, Schema::createStation, Schema::createParks})
        run(statement, "Other");
    run("INSERT INTO station (station, call, park1) VALUES ('K1STN', 'K1OP', 'K-0001')", "Other");
    run("INSERT INTO parks (date, park, name) VALUES ('20250101', 'K-0777', 'Elsewhere')", "Other");
    home.prompter.paths.enqueue(home.path() + "/Other");
    home.prompter.answers.enqueue(QMessageBox::Yes);
    pb->ui->actionSet_Data_Directory->trigger();
    QCOMPARE(pb->dataDir.path(), home.path() + "/Other");

    press(pb.get(), Qt::Key_F6);
    press(pb.get(), Qt::Key_F10, Qt::AltModifier);
    QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
    QCOMPARE(home.prompter.count("Delete Park Activation Location"), 0);
}

void TestJourneys::huntingShowsHunterAtOnce()
{
    TempHome home;
    auto pb = firstStart(home, true);
    QVERIFY(pb);
    QTest::mouseClick(pb->ui->modeHunter, Qt::LeftButton);
    QCOMPARE(pb->station->ui->pRef1->text(), QString("HUNTER"));
    QCOMPARE(pb->ui->parkReference->text(), QString("HUNTER"));
    logContact(pb.get(), "q2aa", "57", "");
    QCOMPARE(rows("SELECT park FROM log"), QList<QStringList>({{"HUNTER"}}));
}

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
