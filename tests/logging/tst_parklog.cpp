#include "loggingfixture.h"
#include "parks/seelog.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_seelog.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

class TestParkLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawLinesAndTitles();
    void boundSelectKeepsToOperatorParkAndDate();
    void navigationShowsContacts();
    void deleteAsksAndReloads();
    void contactLogGroups();
    void midnightReloadsOnce();
};

namespace
{
QColor lineColour(const QPlainTextEdit* list, int block)
{
    const QTextBlock line = list->document()->findBlockByNumber(block);
    return line.begin().fragment().charFormat().foreground().color();
}

QStringList listLines(const QPlainTextEdit* list)
{
    return list->toPlainText().split('\n');
}
} // namespace

void TestParkLog::drawLinesAndTitles()
{
    LoggingFixture f;
    f.insertLog("20260601", "115959", "K-0001", "W1AW", "K-1234");
    f.insertLog("20260601", "120000", "K-0001", "K2XYZ");
    f.insertLog("20260601", "130000", "K-0001", "N3ABC");
    f.pb->on_actionLoad_Park_Log_triggered();

    QCOMPARE(f.pb->parkLog->windowTitle(),
             QString("Alt-P: Park Log Date = 20260601,  Contacts = 3"));

    // The active line is green with the cursor on it; with 0 none is.
    const QPlainTextEdit* list = f.pb->parkLog->ui->log;
    const QStringList starts = {"  1 1159 W1AW ", "  2 1200 K2XYZ ", "  3 1300 N3ABC "};
    for (int active : {2, 0}) {
        QCOMPARE(f.pb->displayParkLog(active), 3);
        const QStringList lines = listLines(list);
        QCOMPARE(lines.size(), 3);
        for (int n = 0; n < 3; ++n) {
            QVERIFY2(lines.at(n).startsWith(starts.at(n)), qPrintable(lines.at(n)));
            QCOMPARE(lineColour(list, n), n + 1 == active ? f.pb->themeGreen : f.pb->themeBlue);
        }
        QCOMPARE(list->textCursor().blockNumber(), active == 2 ? 1 : 0);
    }

    f.pb->show();
    f.pb->ui->actionShow_Park_Log->trigger();
    QVERIFY(f.pb->parkLog->isVisible());
    QCOMPARE(f.pb->parkLog->windowTitle(),
             QString("Alt+P: Park Log Date = 20260601,  Contacts = 3"));

    // An open activation list shows the counters of a contact as soon as it
    // is logged.
    f.pb->on_actionShow_Activations_triggered();
    QVERIFY(f.pb->activationLog->isVisible());
    f.pb->ui->call->setText("K3ABC");
    f.pb->ui->logContact->click();
    QVERIFY2(f.pb->activationLog->ui->log->toPlainText().contains("K-0001     ?    4   1   1"),
             qPrintable(f.pb->activationLog->ui->log->toPlainText()));
}

void TestParkLog::boundSelectKeepsToOperatorParkAndDate()
{
    // Apostrophes in the operator and the park select what they would without.
    LoggingFixture f;
    f.pb->station->ui->call->setText("K1'OP");
    f.pb->ui->parkReference->setText("K-O'1");
    f.insertLog("20260601", "130000", "K-O'1", "W1AW", "", "K1'OP");
    f.insertLog("20260601", "130500", "K-O'1", "K9OTH", "", "K9OTHER");
    f.insertLog("20260531", "131000", "K-O'1", "K2OLD", "", "K1'OP");
    f.insertLog("20260601", "132000", "K-0003", "N3ELS", "", "K1'OP");
    f.pb->on_actionLoad_Park_Log_triggered();
    QCOMPARE(f.pb->parkLogCount, 1);
    QVERIFY(listLines(f.pb->parkLog->ui->log).at(0).contains("W1AW"));
}

void TestParkLog::navigationShowsContacts()
{
    LoggingFixture f;
    const int a = f.insertLog("20260601", "130000", "K-0001", "N3ABC");
    const int b = f.insertLog("20260601", "131000", "K-0001", "K2XYZ");
    QSqlQuery insert(QSqlDatabase::database("parkbook"));
    QVERIFY(insert.exec(
        "INSERT INTO log (date, time, park, call, name, last, city, state, lat, lon, grid, "
        "license, sent, rcvd, mode, band, frequency, power, p2p, operator, comment) VALUES "
        "('20260601', '140102', 'K-0001', 'W1AW', 'Hiram', 'Maxim', 'Newington', 'CT', '34.05', "
        "'-118.25', 'FN31', 'Club', '55', '57', 'CW', '40m', '7.030', '5', 'K-2222', 'K1OP', "
        "'hello')"));
    const int c = insert.lastInsertId().toInt();
    f.pb->station->ui->lat->setText("41.714775");
    f.pb->station->ui->lon->setText("-72.727260");
    f.pb->on_actionLoad_Park_Log_triggered();
    f.pb->show();
    f.pb->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.pb.get()));
    f.pb->ui->call->setFocus();
    auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };

    // Down with nothing shown jumps to the last contact and shows all of it.
    press(Qt::Key_Down);
    QCOMPARE(f.pb->currentLogId, c);
    QCOMPARE(f.pb->parkLogPosition, 3);
    const Ui::Parkbook* ui = f.pb->ui;
    QCOMPARE(QStringList({ui->call->text(), ui->utc->text(), ui->name->text(), ui->state->text(),
                          ui->sent->text(), ui->rcvd->text(), ui->mode->text(), ui->band->text(),
                          ui->frequency->text(), ui->power->text(), ui->p2p->text(),
                          ui->comment->text()}),
             QStringList({"W1AW", "140102", "Hiram", "CT", "55", "57", "CW", "40m", "7.030", "5",
                          "K-2222", "hello"}));
    const Ui::Contact* form = f.pb->contact->ui;
    QCOMPARE(
        QStringList({form->call->text(), form->name->text(), form->last->text(), form->city->text(),
                     form->lat->text(), form->grid->text(), form->license->text()}),
        QStringList({"W1AW", "Hiram", "Maxim", "Newington", "34.05", "FN31", "Club"}));
    // Distance and bearing from the station to the contact shown.
    QCOMPARE(form->dist->text().trimmed(), QString("2508"));
    QCOMPARE(form->bear->text().trimmed(), QString("273"));
    QCOMPARE(f.pb->currentPark, QString("K-0001"));

    press(Qt::Key_Down);
    QCOMPARE(f.pb->currentLogId, c);
    press(Qt::Key_Up);
    QCOMPARE(f.pb->currentLogId, b);
    QCOMPARE(lineColour(f.pb->parkLog->ui->log, 1), f.pb->themeGreen);
    press(Qt::Key_PageUp);
    QCOMPARE(f.pb->currentLogId, a);
    // Up on the first contact leaves it shown.
    press(Qt::Key_Up);
    QCOMPARE(f.pb->currentLogId, a);
    QCOMPARE(f.pb->ui->call->text(), QString("N3ABC"));
    press(Qt::Key_PageDown);
    QCOMPARE(f.pb->currentLogId, c);

    // Up with nothing shown goes to the first.
    f.pb->ui->clear->click();
    f.pb->parkLogPosition = 0;
    press(Qt::Key_Up);
    QCOMPARE(f.pb->currentLogId, a);
}

void TestParkLog::deleteAsksAndReloads()
{
    LoggingFixture f;
    f.insertLog("20260601", "130000", "K-0001", "W1AW");
    f.insertLog("20260601", "131000", "K-0001", "K2XYZ");
    f.pb->on_actionLoad_Park_Log_triggered();

    // With a new contact in the form there is nothing to delete and no question.
    f.pb->ui->deleteContact->click();
    QCOMPARE(f.home.prompter.shown.size(), 0);

    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        f.pb->endContact();
        f.home.prompter.clear();
        f.home.prompter.answers.enqueue(answer);
        f.pb->ui->deleteContact->click();
        QCOMPARE(f.home.prompter.shown.size(), 1);
        const auto& box = f.home.prompter.shown.first();
        QCOMPARE(box.text, QString("Do you want to delete this Contact\nfrom the Parkbook "
                                   "Database?\n   Contact: K2XYZ\n   Park:    K-0001\n   Date:    "
                                   "20260601"));
        QCOMPARE(box.defaultButton, QMessageBox::No);

        // Reloaded and cleared either way.
        const int remaining = answer == QMessageBox::No ? 2 : 1;
        QCOMPARE(LoggingFixture::count("parkbook", "log"), remaining);
        QCOMPARE(f.pb->parkLogCount, remaining);
        QCOMPARE(LoggingFixture::count("memory", "mLog"), remaining);
        QCOMPARE(f.pb->currentLogId, 0);
        QCOMPARE(f.pb->ui->call->text(), QString());
        QCOMPARE(f.pb->ui->sent->text(), QString("59"));
    }
}

void TestParkLog::contactLogGroups()
{
    LoggingFixture f;
    f.pb->ui->actionContact_Log->trigger();
    QCOMPARE(f.pb->contactLog->ui->log->toPlainText(), QString());
    QCOMPARE(f.pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 0"));

    const int a = f.insertLog("20260601", "140000", "K-0003", "W1AW");
    const int b = f.insertLog("20260601", "130000", "K-0001", "K2XYZ");
    const int c = f.insertLog("20260601", "120000", "K-0001", "N3ABC");
    const int d = f.insertLog("20260602", "090000", "K-0001", "W9NEW");
    f.pb->ui->actionContact_Log->trigger();

    QVERIFY(f.pb->contactLog->isVisible());
    QCOMPARE(f.pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 4"));
    auto line = [](int id, const char* date, const char* park, const char* time, const char* call) {
        return QString("%1 %2 %3 %4 %5 20m   SSB                ")
            .arg(id, 5)
            .arg(date)
            .arg(QString(park).leftJustified(10))
            .arg(time)
            .arg(QString(call).leftJustified(6));
    };
    QCOMPARE(listLines(f.pb->contactLog->ui->log),
             QStringList({line(d, "20260602", "K-0001", "0900", "W9NEW"), "",
                          line(c, "20260601", "K-0001", "1200", "N3ABC"),
                          line(b, "20260601", "K-0001", "1300", "K2XYZ"), "",
                          line(a, "20260601", "K-0003", "1400", "W1AW")}));
    QCOMPARE(lineColour(f.pb->contactLog->ui->log, 0), f.pb->themeBlue);
    QCOMPARE(f.pb->contactLog->ui->log->textCursor().position(), 0);

    // Logging with the list open refreshes it.
    QTest::keyClicks(f.pb->ui->call, "k5new");
    f.pb->on_logContact_pressed();
    QCOMPARE(f.pb->contactLog->windowTitle(), QString("All Contacts Log,  Contacts = 5"));
}

void TestParkLog::midnightReloadsOnce()
{
    LoggingFixture f;
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(23, 59, 59), Qt::UTC));
    f.pb->sysclkTimeout();
    f.insertLog("20260602", "000000", "K-0001", "W1AW");
    f.pb->ui->comment->setText("typed before midnight");
    f.pb->sysclkTimeout();
    QCOMPARE(f.pb->ui->comment->text(), QString("typed before midnight"));

    UtcClock::setFixed(QDateTime(QDate(2026, 6, 2), QTime(0, 0, 0), Qt::UTC));
    f.pb->sysclkTimeout();
    QCOMPARE(f.pb->ui->parkDate->text(), QString("20260602"));
    QCOMPARE(f.pb->ui->endDate->text(), QString("20260602"));
    QCOMPARE(f.pb->parkLog->windowTitle(),
             QString("Alt-P: Park Log Date = 20260602,  Contacts = 1"));
    QCOMPARE(f.pb->ui->comment->text(), QString());

    // The next second of the same day does not load again: the form keeps its text.
    f.pb->ui->comment->setText("typed after midnight");
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 2), QTime(0, 0, 1), Qt::UTC));
    f.pb->sysclkTimeout();
    QCOMPARE(f.pb->ui->comment->text(), QString("typed after midnight"));
}

QTEST_MAIN(TestParkLog)
#include "tst_parklog.moc"
