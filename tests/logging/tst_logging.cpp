// Logging: the entry form's keys, the park log and the contact log, and
// whole operating sessions driven by the keyboard, each started as a new
// user starts Parkbook (from an empty home, with every window a fresh
// install opens) on 1 June 2026, 14:30:15 UTC.
#include "db/schema.h"
#include "fakeqrzserver.h"
#include "journey.h"
#include "ui_activity.h"

using namespace Journey;

// Contacts as another program wrote them, "date time park call" each; ids from 1.
static void addContacts(const QStringList& contacts)
{
    for (const QString& c : contacts)
        run("INSERT INTO log (date, time, park, call, operator, mode, band, sent, rcvd) VALUES ('" +
            c.split(' ').join("', '") + "', 'K1OP', 'SSB', '20m', '59', '59')");
}

static void makeOldLog(const QString& folder)
{
    QDir(QDir::currentPath()).mkpath(folder);
    for (const char* statement : {Schema::createLog, Schema::createStation, Schema::createParks})
        run(statement, folder);
}

class TestLogging : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    // The operator's first start: the Station window filled in by typing (slot 1
    // K-0001, with `twoFer` slot 2 K-0002 ticked by a click), saved with Alt+S,
    // which makes the day's records; then back to the main window. The boxes
    // it showed are forgotten.
    bool start(bool twoFer = false)
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
        pb->show();
        pb->station->activateWindow();
        if (!QTest::qWaitForWindowActive(pb->station))
            return false;
        Ui::Station* st = pb->station->ui;
        st->mode->setCurrentText("SSB");
        st->band->setCurrentText("20m");
        st->state->setCurrentText("MA");
        const std::pair<QLineEdit*, const char*> typed[] = {
            {st->station, "k1stn"}, {st->call, "k1op"},        {st->frequency, "14.250"},
            {st->power, "100"},     {st->pRef1, "k-0001"},     {st->name1, "first park"},
            {st->pRef2, "k-0002"},  {st->name2, "second park"}};
        for (int field = 0; field < (twoFer ? 8 : 6); ++field)
            type(typed[field].first, typed[field].second);
        if (twoFer)
            QTest::mouseClick(st->act2, Qt::LeftButton);
        QTest::keyClick(st->pRef1, Qt::Key_S, Qt::AltModifier);
        home->prompter.clear();
        pb->activateWindow();
        return QTest::qWaitForWindowActive(pb.get());
    }

private Q_SLOTS:
    void init()
    {
        // A misnamed on_<object>_<signal> slot is never called; Qt only warns.
        QTest::failOnWarning(QRegularExpression("No matching signal"));
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
    }
    void cleanup()
    {
        pb.reset();
        home.reset();
    }

    // Typed text is normalised where the cursor is; Enter moves on; F8
    // without Enter after the call still stamps the time and the station.
    void typingAndEnter()
    {
        QVERIFY(start());
        Ui::Parkbook* ui = pb->ui;
        const QList<std::tuple<QLineEdit*, QString, QString>> typed = {
            {ui->band, "20M", "20m"}, {ui->name, "mary ann", "Mary Ann"}, {ui->call, "w1a", "W1A"}};
        for (const auto& [edit, text, shown] : typed) {
            type(edit, text);
            edit->setCursorPosition(1);
            QTest::keyClicks(edit, "X");
            QCOMPARE(edit->text().remove(1, 1) + QString::number(edit->cursorPosition()) +
                         QString::number(edit->isModified()),
                     shown + "21");
        }
        // Enter goes from one field to the next: from the received report to
        // the state, or to the comment when QRZ fills the details (2nd hop).
        QLineEdit* const hops[] = {ui->rcvd, ui->state, ui->rcvd,    ui->comment, ui->state,
                                   ui->name, ui->name,  ui->comment, ui->p2p,     ui->sent};
        for (int from = 0; from < 10; from += 2) {
            pb->qrzConnected = from == 2;
            hops[from]->setFocus();
            QTest::keyClick(hops[from], Qt::Key_Return);
            QTRY_VERIFY2(hops[from + 1]->hasFocus(), qPrintable(QString::number(from)));
        }
        QCOMPARE(ui->sent->selectedText(), ui->sent->text());
        pb->qrzConnected = false;
        ui->call->setText("W1AW");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(run("SELECT date, time, park, call, mode, band, frequency, power, station, "
                     "operator, sent, rcvd FROM log"),
                 QStringList("20260601|143015|K-0001|W1AW|SSB|20m|14.250|100|K1STN|K1OP|59|59"));
        // A refused write gets no line in the park log.
        run("CREATE TRIGGER refuse BEFORE INSERT ON log BEGIN SELECT RAISE(ABORT, 'full'); END");
        ui->call->setText("W2AW");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(pb->displayParkLog(0), 1);
    }

    // Arrow and page keys step through the park log and show all of a
    // contact; its line is green with the cursor on it, the others blue.
    // Up with nothing shown goes to the first, Down to the last.
    void parkLogKeysAndDelete()
    {
        QVERIFY(start());
        addContacts({"20260601 130000 K-0001 N3ABC", "20260601 131000 K-0001 K2XYZ"});
        run("INSERT INTO log (date, time, park, call, name, last, city, state, lat, lon, grid, "
            "license, sent, rcvd, mode, band, frequency, power, p2p, operator, comment) VALUES "
            "('20260601', '140102', 'K-0001', 'W1AW', 'Hiram', 'Maxim', 'Newington', 'CT', "
            "'34.05', '-118.25', 'FN31', 'Club', '55', '57', 'CW', '40m', '7.030', '5', "
            "'K-2222', 'K1OP', 'hello')");
        pb->station->ui->lat->setText("41.714775");
        pb->station->ui->lon->setText("-72.727260");
        pb->on_actionLoad_Park_Log_triggered();
        pb->ui->call->setFocus();
        QString seen;
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageUp,
                                  Qt::Key_Up, Qt::Key_PageDown}) {
            press(pb.get(), key);
            const int line = pb->parkLog->ui->log->textCursor().blockNumber() + 1;
            seen += QString::asprintf(" %d%d%d", pb->currentLogId, pb->parkLogPosition, line) +
                    colours(pb.get(), pb->parkLog);
        }
        // Down with nothing shown went to the last.
        QCOMPARE(seen, QString(" 333BBG 333BBG 222BGB 111GBB 111GBB 333BBG"));
        QCOMPARE(form(pb.get()), QStringList({"W1AW", "140102", "Hiram", "CT", "55", "57", "CW",
                                              "40m", "7.030", "5", "K-2222", "hello"}));
        const Ui::Contact* c = pb->contact->ui;
        QCOMPARE(QStringList({c->call->text(), c->last->text(), c->city->text(), c->grid->text(),
                              c->license->text(), c->dist->text(), c->bear->text()}),
                 QString("W1AW|Maxim|Newington|FN31|Club|2508 |273").split('|'));
        pb->ui->clear->click();
        pb->parkLogPosition = 0;
        QCOMPARE(pb->displayParkLog(0), 3);
        QCOMPARE(colours(pb.get(), pb->parkLog), QString("BBB"));
        pb->ui->call->setFocus();
        press(pb.get(), Qt::Key_Up);
        QCOMPARE(pb->currentLogId, 1);

        // A deletion asks (No by default); the park log is reloaded either way.
        pb->ui->clear->click();
        pb->ui->deleteContact->click(); // a new contact in the form: nothing to delete
        QCOMPARE(home->prompter.shown.size(), 0);
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            pb->endContact();
            home->prompter.answers.enqueue(answer);
            pb->ui->deleteContact->click();
            const ScriptedPrompter::Shown box = home->prompter.shown.last();
            QVERIFY(box.defaultButton == QMessageBox::No &&
                    box.text.endsWith("W1AW\n   Park:    K-0001\n   Date:    20260601"));
            const QString remaining = answer == QMessageBox::No ? "3" : "2";
            QCOMPARE(run("SELECT count(*) FROM log").join("") + QString::number(pb->parkLogCount) +
                         pb->ui->call->text() + QString::number(pb->currentLogId),
                     remaining + remaining + "0");
        }
        QCOMPARE(wrongCounters(), QStringList());
    }

    // Newest date first; a date's parks apart by an empty line, each by time.
    void contactLogThenMidnight()
    {
        QVERIFY(start());
        addContacts({"20260601 140000 K-0003 W1AW", "20260601 130000 K-0001 K2XYZ",
                     "20260601 120000 K-0001 N3ABC", "20260602 090000 K-0001 W9NEW"});
        pb->ui->actionContact_Log->trigger();
        QStringList calls;
        for (const QString& line : pb->contactLog->ui->log->toPlainText().split('\n'))
            calls << line.mid(31, 6).trimmed();
        QCOMPARE(calls.join(' ') + " " + colours(pb.get(), pb->contactLog).left(1),
                 QString("W9NEW  N3ABC K2XYZ  W1AW B"));
        QCOMPARE(pb->contactLog->ui->log->textCursor().position(), 0);
        type(pb->ui->call, "k5new"); // logging with the list open refreshes it
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 5"));

        // At 00:00:00 UTC the park dates move on and the park log (W9NEW's
        // day) is loaded once.
        QString kept;
        for (const auto& [day, time] : QList<std::pair<int, QTime>>{
                 {1, QTime(23, 59, 59)}, {2, QTime(0, 0, 0)}, {2, QTime(0, 0, 1)}}) {
            UtcClock::setFixed(QDateTime(QDate(2026, 6, day), time, Qt::UTC));
            pb->ui->comment->setText("typed");
            pb->sysclkTimeout();
            kept += pb->ui->comment->text() + "|";
        }
        QCOMPARE(kept + pb->ui->parkDate->text() + pb->ui->endDate->text(),
                 QString("typed||typed|2026060220260602"));
        QCOMPARE(pb->parkLog->windowTitle(),
                 QString("Alt-P: Park Log Date = 20260602,  Contacts = 1"));
    }

    // A 2-fer logged with the activation list open: F1/F2 park to park, an
    // edit through the park log, a back-dated day; then a restart.
    void twoFerDayThenRestart()
    {
        QVERIFY(start(true));
        logContact(pb.get(), "q2aa", "57", "first");
        // The list shows the new counters; nothing was re-activated into
        // the selected slot, and only the park on show is in the park log.
        QVERIFY2(pb->activationLog->ui->log->toPlainText().contains("K-0001     MA   1   0   0"),
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
        QCOMPARE(form(pb.get()).join('|') + QString::number(pb->ui->call->hasFocus()),
                 QString("||||59|59||||||1"));

        logContact(pb.get(), "q2cc", "55", "third");
        // The first contact of the park log, corrected and logged again.
        press(pb.get(), Qt::Key_PageUp);
        type(pb->ui->comment, " edited");
        press(pb.get(), Qt::Key_F8);

        // A contact of two days ago, typed in afterwards: the date stays.
        retype(pb->ui->parkDate, "20260530");
        logContact(pb.get(), "q2dd", "44", "late entry");
        logContact(pb.get(), "q2ee", "33", "");
        pb->close();
        pb.reset();
        QCOMPARE(run("SELECT date, park, call, rcvd, p2p, comment FROM log ORDER BY date, call, "
                     "park, p2p"),
                 QStringList({"20260530|K-0001|Q2DD|44||late entry",
                              "20260530|K-0002|Q2DD|44||late entry", "20260530|K-0001|Q2EE|33||",
                              "20260530|K-0002|Q2EE|33||", "20260601|K-0001|Q2AA|57||first edited",
                              "20260601|K-0002|Q2AA|57||first", "20260601|K-0001|Q2BB|59|K-1111|",
                              "20260601|K-0001|Q2BB|59|K-2222|", "20260601|K-0002|Q2BB|59|K-1111|",
                              "20260601|K-0002|Q2BB|59|K-2222|", "20260601|K-0001|Q2CC|55||third",
                              "20260601|K-0002|Q2CC|55||third"}));
        QCOMPARE(wrongCounters(), QStringList());

        // After a restart the station is as it was left; the records (no
        // more, no fewer) are listed, those of one date in the order made (the
        // tick of slot 2 made K-0002's first), and the current one, in green,
        // is the selected park's of the day.
        pb = home->makeParkbook();
        QCOMPARE(pb->station->ui->pRef1->text() + pb->station->ui->pRef2->text() +
                     ticked(pb->station) + pb->ui->parkReference->text(),
                 QString("K-0001K-000212K-0001"));
        QCOMPARE(wrongCounters(), QStringList());
        QCOMPARE(listed(pb.get()) << colours(pb.get(), pb->activationLog),
                 QStringList({"20260601 K-0002", "20260601 K-0001", "20260530 K-0001",
                              "20260530 K-0002", "TGTT"}));
    }

    // A log written by an earlier version and other programs: two operators,
    // a record whose state is "?", right counters, no record for today.
    void startWithExistingLogKeepsItsRecords()
    {
        home = std::make_unique<TempHome>();
        makeOldLog("Programs/Parkbook/Data");
        run("INSERT INTO station (station, call, park1, name1, state) VALUES "
            "('K1STN', 'K1OP', 'K-0003', 'Third Park', 'MA')");
        run("INSERT INTO parks (date, park, state, QSOs, LateQSOs, P2Ps) VALUES "
            "('20260510', 'K-0003', 'MA', '2', '1', '1'), ('20260520', 'K-0004', '?', '3', '0', "
            "'0'), ('20260520', 'K-0005', 'MA', '1', '0', '0'), ('20260505', 'K-0003', 'MA', '0', "
            "'0', '0')");
        run("INSERT INTO log (date, time, park, call, p2p, operator) VALUES ('20260510', '0930', "
            "'K-0003', 'Q2AA', 'K-1111', 'K1OP'), ('20260510', '1300', 'K-0003', 'Q2AB', '', "
            "'K1OLD'), ('20260520', '1400', 'K-0004', 'Q2AC', '', 'K1OLD'), ('20260520', '1401', "
            "'K-0004', 'Q2AD', '', 'K1OLD'), ('20260520', '1402', 'K-0004', 'Q2AE', '', 'K1OP'), "
            "('20260520', '1500', 'K-0005', 'Q2AF', '', 'K1OLD')");
        const auto before = run("SELECT * FROM parks ORDER BY id");

        pb = home->makeParkbook();
        QVERIFY(pb->activationLog->isVisible());
        QCOMPARE(run("SELECT * FROM parks ORDER BY id"), before);
        // The list comes back on the selected park's record.
        QCOMPARE(QString::number(pb->activationParkId) + pb->station->ui->pRef1->text() +
                     pb->ui->parkReference->text() + pb->ui->parkDate->text(),
                 QString("1K-0003K-000320260601"));
        // The start's statistics as counted by hand: 4 activations of 3 parks
        // in 2 states, every operator's contacts counted.
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
        QVERIFY(start(true));
        run("CREATE TRIGGER refuse BEFORE INSERT ON log WHEN NEW.park = 'K-0002' "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        logContact(pb.get(), "q2aa", "57", "retry me");
        QVERIFY(home->prompter.shown.last().text.contains("K-0002")); // the park not logged

        run("DROP TRIGGER refuse");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(run("SELECT park, call, comment FROM log ORDER BY id"),
                 QStringList({"K-0001|Q2AA|retry me", "K-0002|Q2AA|retry me"}));
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
        const QString xml = "<call>%1</call><fname>%2</fname><name>Smith</name><addr2>%3</addr2>";
        qrz.stations = {{"Q2AA", xml.arg("Q2AA", "Anne", "Albany")},
                        {"Q2BB", xml.arg("Q2BB", "Bob", "Buffalo")},
                        {"Q2BC", xml.arg("Q2BC", "Carl", "Corning")}};
        QVERIFY(start());
        pb->station->ui->call->setText(qrz.user);
        pb->station->ui->pwd->setText(qrz.password);
        pb->connectQRZ();
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzConnected, 10000);
        Ui::Contact* details = pb->contact->ui;

        // Logged before the answer is in: the contact goes without details,
        // and the late answer does not refill the cleared form.
        qrz.holdLookups = true;
        logContact(pb.get(), "q2aa", "57", "");
        QTRY_COMPARE(qrz.lookedUp.size(), 1);
        qrz.releaseLookups();
        QTRY_VERIFY(pb->qrzReply == nullptr);
        QCOMPARE(pb->ui->call->text() + pb->ui->name->text() + details->city->text(), QString());

        // A corrected call: only the answer for the call now entered counts.
        qrz.holdLookups = true;
        type(pb->ui->call, "q2bb");
        press(pb.get(), Qt::Key_Return);
        type(pb->ui->call, "\bc"); // Backspace, then the right last letter
        press(pb.get(), Qt::Key_Return);
        QTRY_COMPARE(qrz.lookedUp.size(), 3);
        qrz.releaseLookups();
        QTRY_COMPARE(details->city->text(), QString("Corning"));
        QTRY_VERIFY(pb->qrzReply == nullptr);
        QCOMPARE(pb->ui->call->text() + pb->ui->name->text(), QString("Q2BCCarl"));

        // Changed again, and this answer comes cut short: Carl's details must
        // not stay for another station.
        qrz.rawAnswer = "<?xml version=\"1.0\"?><QRZDatabase><Callsign><call>Q2BB</call><addr2>Bu";
        const auto asked = qrz.queries.size();
        type(pb->ui->call, "\bb");
        press(pb.get(), Qt::Key_Return);
        QTRY_COMPARE(qrz.queries.size(), asked + 1);
        QTRY_VERIFY(pb->qrzReply == nullptr);
        QCOMPARE(details->city->text(), QString());

        qrz.rawAnswer = QByteArray();
        type(pb->ui->call, "\bc");
        press(pb.get(), Qt::Key_Return);
        QTRY_COMPARE(details->city->text(), QString("Corning"));
        type(pb->ui->comment, "x");
        press(pb.get(), Qt::Key_F8);
        // Bob's details shown, the call then corrected and logged at once: the
        // Contact window's details are not this station's (the name in the
        // form is the operator's to keep or change).
        type(pb->ui->call, "q2bb");
        press(pb.get(), Qt::Key_Return);
        QTRY_COMPARE(details->city->text(), QString("Buffalo"));
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
        QVERIFY(start());
        retype(pb->ui->parkDate, "20000101"); // the first date taken
        retype(pb->ui->parkDate, "20260601");
        logContact(pb.get(), "q2zz", "57", "");
        // The field's mask lets a short date through without a word when it is left.
        retype(pb->ui->parkDate, "2026053");
        logContact(pb.get(), "q2aa", "57", "");
        retype(pb->ui->parkDate, "20260532"); // nor a day the calendar does not have
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(home->prompter.count("Error: Park Start Date"), 3); // one on leaving the field
        QCOMPARE(run("SELECT date, call FROM log"), QStringList({"20260601|Q2ZZ"}));

        // A new date typed, then F8 at once: the contact goes to that day,
        // whose park log is loaded first.
        pb->ui->parkDate->selectAll();
        type(pb->ui->parkDate, "20260530");
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(QString("%1 %2").arg(pb->parkLogCount).arg(pb->parkLogPosition), QString("1 1"));
        logContact(pb.get(), "q2bb", "57", "");
        retype(pb->ui->parkDate, "20260601");
        logContact(pb.get(), "q2cc", "57", "");
        QCOMPARE(pb->parkLogCount, 2);
        QCOMPARE(wrongCounters(), QStringList());
        // Q2AA and Q2BB on the new day, Q2ZZ and Q2CC on the first.
        QCOMPARE(run("SELECT date, QSOs FROM parks ORDER BY date"),
                 QStringList({"20260530|2", "20260601|2"}));
        retype(pb->ui->endDate, "20260531");
        QCOMPARE(home->prompter.titles().last(), QString("Error: Park End Date"));

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
        home->prompter.paths.enqueue(home->path() + "/Other");
        home->prompter.answers.enqueue(QMessageBox::Yes);
        pb->ui->actionSet_Data_Directory->trigger();
        QCOMPARE(pb->dataDir.path(), home->path() + "/Other");

        press(pb.get(), Qt::Key_F6);
        press(pb.get(), Qt::Key_F10, Qt::AltModifier);
        QCOMPARE(pb->station->ui->pRef1->text(), QString("K-0001"));
        QCOMPARE(home->prompter.count("Delete Park Activation Location"), 0);
    }
};

QTEST_MAIN(TestLogging)
#include "tst_logging.moc"
