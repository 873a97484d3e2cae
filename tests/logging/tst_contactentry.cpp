// The entry form's keys and the two contact lists, after a first start as
// K1OP at K-0001 on 1 June 2026, 14:30:15 UTC.
#include "app/utcclock.h"
#include "journey.h"
#include "qrz/contact.h"
#include "ui_contact.h"

#include <QRegularExpression>
#include <QtTest>

using namespace Journey;

namespace
{
// Contacts as another program wrote them, "date time park call" each; ids from 1.
void addContacts(const QStringList& contacts)
{
    for (const QString& c : contacts)
        run("INSERT INTO log (date, time, park, call, operator, mode, band, sent, rcvd) VALUES ('" +
            c.split(' ').join("', '") + "', 'K1OP', 'SSB', '20m', '59', '59')");
}
} // namespace

class TestContactEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

private Q_SLOTS:
    void init()
    {
        // A misnamed on_<object>_<signal> slot is never called; Qt only warns.
        QTest::failOnWarning(QRegularExpression("No matching signal"));
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
        home = std::make_unique<TempHome>();
        pb = firstStart(*home, false);
        QVERIFY(pb);
        home->prompter.clear();
    }
    void cleanup()
    {
        pb.reset();
        home.reset();
        UtcClock::clearFixed();
    }

    // Typed text is normalised where the cursor is; Enter moves on; F8
    // without Enter after the call still stamps the time and the station.
    void typingAndEnter()
    {
        Ui::Parkbook* ui = pb->ui;
        const QList<std::tuple<QLineEdit*, QString, QString>> typed = {
            {ui->band, "20M", "20m"}, {ui->name, "mary ann", "Mary Ann"}, {ui->call, "w1a", "W1A"}};
        for (const auto& [edit, text, shown] : typed) {
            type(edit, text);
            edit->setCursorPosition(1);
            QTest::keyClicks(edit, "X");
            QCOMPARE(edit->text().remove(1, 1) + QString::number(edit->cursorPosition()),
                     shown + "2");
            QVERIFY(edit->isModified());
        }
        const std::tuple<QLineEdit*, bool, QLineEdit*> enter[] = {{ui->rcvd, false, ui->state},
                                                                  {ui->rcvd, true, ui->comment},
                                                                  {ui->state, false, ui->name},
                                                                  {ui->name, false, ui->comment},
                                                                  {ui->p2p, false, ui->sent}};
        for (const auto& [from, qrz, to] : enter) {
            pb->qrzConnected = qrz;
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(to->hasFocus(), 2000);
        }
        QCOMPARE(ui->sent->selectedText(), ui->sent->text());
        pb->qrzConnected = false;
        ui->call->setText("W1AW");
        ui->name->clear();
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
    void parkLogKeys()
    {
        addContacts({"20260601 130000 K-0001 N3ABC", "20260601 131000 K-0001 K2XYZ"});
        run("INSERT INTO log (date, time, park, call, name, last, city, state, lat, lon, grid, "
            "license, sent, rcvd, mode, band, frequency, power, p2p, operator, comment) VALUES "
            "('20260601', '140102', 'K-0001', 'W1AW', 'Hiram', 'Maxim', 'Newington', 'CT', "
            "'34.05', '-118.25', 'FN31', 'Club', '55', '57', 'CW', '40m', '7.030', '5', "
            "'K-2222', 'K1OP', 'hello')");
        pb->station->ui->lat->setText("41.714775");
        pb->station->ui->lon->setText("-72.727260");
        pb->on_actionLoad_Park_Log_triggered();
        QCOMPARE(pb->parkLog->windowTitle(),
                 QString("Alt-P: Park Log Date = 20260601,  Contacts = 3"));
        pb->ui->call->setFocus();
        QString seen;
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageUp,
                                  Qt::Key_Up, Qt::Key_PageDown}) {
            press(pb.get(), key);
            seen += QString(" %1%2%3")
                        .arg(pb->currentLogId)
                        .arg(pb->parkLogPosition)
                        .arg(pb->parkLog->ui->log->textCursor().blockNumber() + 1) +
                    colours(pb.get(), pb->parkLog);
        }
        // Down with nothing shown went to the last.
        QCOMPARE(seen, QString(" 333BBG 333BBG 222BGB 111GBB 111GBB 333BBG"));
        QCOMPARE(form(pb.get()), QStringList({"W1AW", "140102", "Hiram", "CT", "55", "57", "CW",
                                              "40m", "7.030", "5", "K-2222", "hello"}));
        const Ui::Contact* c = pb->contact->ui;
        QCOMPARE(
            QStringList({c->call->text(), c->last->text(), c->city->text(), c->grid->text(),
                         c->license->text(), c->dist->text().trimmed(), c->bear->text().trimmed()}),
            QStringList({"W1AW", "Maxim", "Newington", "FN31", "Club", "2508", "273"}));
        pb->ui->clear->click();
        pb->parkLogPosition = 0;
        QCOMPARE(pb->displayParkLog(0), 3);
        QCOMPARE(colours(pb.get(), pb->parkLog), QString("BBB"));
        pb->ui->call->setFocus();
        press(pb.get(), Qt::Key_Up);
        QCOMPARE(pb->currentLogId, 1);
    }

    // A deletion asks (No by default); the park log is reloaded either way.
    void deleteAsksAndReloads()
    {
        addContacts({"20260601 130000 K-0001 W1AW", "20260601 131000 K-0001 K2XYZ"});
        pb->on_actionLoad_Park_Log_triggered();
        pb->ui->deleteContact->click(); // a new contact in the form: nothing to delete
        QCOMPARE(home->prompter.shown.size(), 0);
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            pb->endContact();
            home->prompter.answers.enqueue(answer);
            pb->ui->deleteContact->click();
            const ScriptedPrompter::Shown box = home->prompter.shown.last();
            QVERIFY(box.defaultButton == QMessageBox::No &&
                    box.text.endsWith("K2XYZ\n   Park:    K-0001\n   Date:    20260601"));
            const QString remaining = answer == QMessageBox::No ? "2" : "1";
            QCOMPARE(run("SELECT count(*) FROM log").join("") + QString::number(pb->parkLogCount) +
                         pb->ui->call->text() + QString::number(pb->currentLogId),
                     remaining + remaining + "0");
        }
        QCOMPARE(wrongCounters(), QStringList());
    }

    // Newest date first; a date's parks apart by an empty line, each by time.
    void contactLog()
    {
        addContacts({"20260601 140000 K-0003 W1AW", "20260601 130000 K-0001 K2XYZ",
                     "20260601 120000 K-0001 N3ABC", "20260602 090000 K-0001 W9NEW"});
        pb->ui->actionContact_Log->trigger();
        QCOMPARE(pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 4"));
        QStringList calls;
        for (const QString& line : pb->contactLog->ui->log->toPlainText().split('\n'))
            calls << line.mid(31, 6).trimmed();
        QCOMPARE(calls.join(' ') + " " + colours(pb.get(), pb->contactLog).left(1),
                 QString("W9NEW  N3ABC K2XYZ  W1AW B"));
        QCOMPARE(pb->contactLog->ui->log->textCursor().position(), 0);
        type(pb->ui->call, "k5new"); // logging with the list open refreshes it
        press(pb.get(), Qt::Key_F8);
        QCOMPARE(pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 5"));
    }

    // At 00:00:00 UTC the park dates move on and the park log is loaded once.
    void midnightReloadsOnce()
    {
        addContacts({"20260602 000000 K-0001 W1AW"});
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
};

QTEST_MAIN(TestContactEntry)
#include "tst_contactentry.moc"
