#include "loggingfixture.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

class TestContactEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A misnamed on_<object>_<signal> slot is never called; Qt only warns.
    void init() { QTest::failOnWarning(QRegularExpression("No matching signal")); }
    void cleanup() { UtcClock::clearFixed(); }
    void typingNormalises_data();
    void typingNormalises();
    void enterMovesFocus_data();
    void enterMovesFocus();
    void f8WithoutTimeStampsClockAndStation();
    void twoTickedParksWriteTwoRows_data();
    void twoTickedParksWriteTwoRows();
    void parkToParkWritesOneRowPerReference();
    void f8OnShownContactUpdatesIt();
    void failedWriteKeepsFormAndReports();
};

namespace
{
bool showActive(Parkbook* pb)
{
    pb->show();
    pb->activateWindow();
    return QTest::qWaitForWindowActive(pb);
}

QStringList formTexts(const Ui::Parkbook* ui)
{
    QStringList texts;
    for (const QLineEdit* edit :
         {ui->call, ui->utc, ui->name, ui->state, ui->sent, ui->rcvd, ui->mode, ui->band,
          ui->frequency, ui->power, ui->comment, ui->p2p})
        texts.append(edit->text());
    return texts;
}

const QStringList clearedForm = {"", "", "", "", "59", "59", "", "", "", "", "", ""};
} // namespace

void TestContactEntry::typingNormalises_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("call upper") << "call"
                                << "k1abc"
                                << "K1ABC";
    QTest::newRow("band lower") << "band"
                                << "20M"
                                << "20m";
    QTest::newRow("name capitalised") << "name"
                                      << "mary ann"
                                      << "Mary Ann";
}

void TestContactEntry::typingNormalises()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    LoggingFixture f;
    auto* edit = f.pb->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QVERIFY(edit->isModified());

    // A letter typed in the middle lands where the cursor was, not at the end.
    edit->setCursorPosition(1);
    QTest::keyClicks(edit, field == "band" ? "X" : "x");
    QCOMPARE(edit->cursorPosition(), 2);
    QCOMPARE(edit->text().size(), shown.size() + 1);
}

void TestContactEntry::enterMovesFocus_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("qrz");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("selected");
    QTest::newRow("rcvd without QRZ") << "rcvd" << false << "state" << false;
    QTest::newRow("rcvd with QRZ") << "rcvd" << true << "comment" << false;
    QTest::newRow("state") << "state" << false << "name" << false;
    QTest::newRow("name") << "name" << false << "comment" << false;
    QTest::newRow("p2p") << "p2p" << false << "sent" << true;
}

void TestContactEntry::enterMovesFocus()
{
    QFETCH(QString, from);
    QFETCH(bool, qrz);
    QFETCH(QString, to);
    QFETCH(bool, selected);
    LoggingFixture f;
    QVERIFY(showActive(f.pb.get()));
    f.pb->qrzConnected = qrz;
    auto* source = f.pb->findChild<QLineEdit*>(from);
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Return);
    auto* target = f.pb->findChild<QLineEdit*>(to);
    QTRY_VERIFY_WITH_TIMEOUT(target->hasFocus(), 2000);
    if (selected)
        QCOMPARE(target->selectedText(), target->text());
}

void TestContactEntry::f8WithoutTimeStampsClockAndStation()
{
    LoggingFixture f;
    QVERIFY(showActive(f.pb.get()));
    QTest::keyClicks(f.pb->ui->call, "w1aw");
    QVERIFY(f.pb->ui->utc->text().isEmpty());
    QTest::keyClick(f.pb.get(), Qt::Key_F8);

    const auto rows =
        LoggingFixture::logRows({"date", "time", "park", "call", "mode", "band", "frequency",
                                 "power", "station", "operator", "sent", "rcvd"});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0), QStringList({"20260601", "143015", "K-0001", "W1AW", "SSB", "20m",
                                      "14.250", "100", "K1STN", "K1OP", "59", "59"}));
    QCOMPARE(f.pb->parkLogCount, 1);
}

void TestContactEntry::twoTickedParksWriteTwoRows_data()
{
    QTest::addColumn<QString>("shownPark");
    QTest::addColumn<int>("expectedPosition");
    QTest::newRow("slot 1 shown") << "K-0001" << 0;
    QTest::newRow("slot 3 shown") << "K-0003" << 1;
}

void TestContactEntry::twoTickedParksWriteTwoRows()
{
    QFETCH(QString, shownPark);
    QFETCH(int, expectedPosition);
    LoggingFixture f;
    f.pb->station->ui->act3->setChecked(true);
    f.pb->ui->parkReference->setText(shownPark);
    QTest::keyClicks(f.pb->ui->call, "w1aw");
    QTest::keyClick(f.pb->ui->call, Qt::Key_Return);
    QTest::keyClicks(f.pb->ui->comment, "two parks");
    // Keep the position before the form is cleared at the end of the logging.
    int position = -1;
    QObject::connect(
        f.pb->ui->logContact, &QPushButton::pressed, f.pb.get(),
        [&] { position = f.pb->parkLogPosition; }, Qt::QueuedConnection);
    f.pb->ui->logContact->click();
    QTRY_COMPARE_WITH_TIMEOUT(position, expectedPosition, 2000);

    const auto rows = LoggingFixture::logRows({"park", "date", "time", "call", "sent", "rcvd",
                                               "mode", "band", "frequency", "power", "comment"});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).at(0), QString("K-0001"));
    QCOMPARE(rows.at(1).at(0), QString("K-0003"));
    QCOMPARE(rows.at(0).mid(1), rows.at(1).mid(1));
    QCOMPARE(rows.at(0).last(), QString("two parks"));

    // Only the row of the park shown is in the park log.
    QCOMPARE(LoggingFixture::count("memory", "mLog"), 2);
    QSqlQuery shown(QSqlDatabase::database("memory"));
    shown.exec("SELECT l.park FROM parkLogId p JOIN mLog l ON l.logId = p.logId");
    QVERIFY(shown.next());
    QCOMPARE(shown.value(0).toString(), shownPark);
    QVERIFY(!shown.next());
}

void TestContactEntry::parkToParkWritesOneRowPerReference()
{
    LoggingFixture f;
    QVERIFY(showActive(f.pb.get()));
    QTest::keyClicks(f.pb->ui->call, "w1aw");
    QTest::keyClick(f.pb->ui->call, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(f.pb->ui->sent->hasFocus(), 2000);
    QTest::keyClick(f.pb->ui->sent, Qt::Key_Return);
    QTest::keyClicks(f.pb->ui->rcvd, "57"); // replaces the selected "59"
    QTest::keyClick(f.pb.get(), Qt::Key_F1);
    QTRY_VERIFY_WITH_TIMEOUT(f.pb->ui->p2p->hasFocus(), 2000);
    QTest::keyClicks(f.pb->ui->p2p, "k-1111");
    QStringList expected = formTexts(f.pb->ui);
    QTest::keyClick(f.pb.get(), Qt::Key_F2);
    QTRY_COMPARE_WITH_TIMEOUT(LoggingFixture::count("parkbook", "log"), 1, 2000);

    // Everything but the reference stays for the next park of the same contact.
    QTRY_VERIFY_WITH_TIMEOUT(f.pb->ui->p2p->hasFocus(), 2000);
    expected.last() = "";
    QCOMPARE(formTexts(f.pb->ui), expected);

    QTest::keyClicks(f.pb->ui->p2p, "k-2222");
    QTest::keyClick(f.pb.get(), Qt::Key_F8);
    const auto rows = LoggingFixture::logRows({"p2p", "call", "time", "sent", "rcvd"});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0), QStringList({"K-1111", "W1AW", "143015", "59", "57"}));
    QCOMPARE(rows.at(1), QStringList({"K-2222", "W1AW", "143015", "59", "57"}));
    QCOMPARE(formTexts(f.pb->ui), clearedForm);
    QTRY_VERIFY_WITH_TIMEOUT(f.pb->ui->call->hasFocus(), 2000);
    QVERIFY(!f.pb->addP2PPending);
}

void TestContactEntry::f8OnShownContactUpdatesIt()
{
    LoggingFixture f;
    const int first = f.insertLog("20260601", "130000", "K-0001", "W1AW");
    const int second = f.insertLog("20260601", "131000", "K-0001", "K2XYZ");
    f.pb->on_actionLoad_Park_Log_triggered();
    QVERIFY(showActive(f.pb.get()));
    QTest::keyClick(f.pb.get(), Qt::Key_PageUp);
    QCOMPARE(f.pb->currentLogId, first);
    f.pb->ui->comment->setText("edited");
    f.pb->ui->rcvd->setText("44");
    f.pb->station->ui->station->setText("N1NEW");
    f.pb->station->ui->call->setText("N1OPR");
    // The park and date shown now differ from the contact's: neither may change.
    f.pb->ui->parkDate->setText("20260602");
    QTest::keyClick(f.pb.get(), Qt::Key_F8);

    const auto rows = LoggingFixture::logRows(
        {"id", "date", "park", "call", "rcvd", "comment", "station", "operator"});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0), QStringList({QString::number(first), "20260601", "K-0001", "W1AW", "44",
                                      "edited", "N1NEW", "N1OPR"}));
    QCOMPARE(rows.at(1).at(0), QString::number(second));
    QCOMPARE(rows.at(1).at(5), QString());

    QSqlQuery memory(QSqlDatabase::database("memory"));
    memory.prepare("SELECT comment, rcvd FROM mLog WHERE logId = ?");
    memory.addBindValue(first);
    QVERIFY(memory.exec() && memory.next());
    QCOMPARE(memory.value(0).toString(), QString("edited"));
    QCOMPARE(memory.value(1).toString(), QString("44"));
    QCOMPARE(LoggingFixture::count("memory", "mLog"), 2);
    QCOMPARE(f.pb->currentLogId, 0);
}

void TestContactEntry::failedWriteKeepsFormAndReports()
{
    // tst_writefailures checks that nothing stored changes; here the whole form
    // is kept and both the box and the error log name the call and the park.
    LoggingFixture f;
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    db.close();
    db.setConnectOptions("QSQLITE_OPEN_READONLY");
    QVERIFY(db.open());
    QTest::keyClicks(f.pb->ui->call, "w1aw");
    QTest::keyClick(f.pb->ui->call, Qt::Key_Return);
    QTest::keyClicks(f.pb->ui->comment, "do not lose me");
    const QStringList typed = formTexts(f.pb->ui);
    QTest::keyClick(f.pb->ui->comment, Qt::Key_Return);

    QCOMPARE(f.home.prompter.shown.size(), 1);
    const auto& box = f.home.prompter.shown.first();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(box.text.contains("W1AW") && box.text.contains("K-0001"));
    QCOMPARE(formTexts(f.pb->ui), typed);
    QCOMPARE(LoggingFixture::count("memory", "mLog"), 0);
    QFile errorLog(f.home.dataPath() + "/errorLog.txt");
    QVERIFY(errorLog.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(errorLog.readAll());
    QVERIFY2(lines.contains("W1AW") && lines.contains("K-0001"), qPrintable(lines));
}

QTEST_MAIN(TestContactEntry)
#include "tst_contactentry.moc"
