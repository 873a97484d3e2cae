#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextBlock>
#include <QtTest>

namespace
{
QSqlDatabase parkbookDb()
{
    return QSqlDatabase::database("parkbook");
}

int insertPark(const QString& date, const QString& park, const QString& name = "Some Park",
               const QString& qsos = "0")
{
    QSqlQuery query(parkbookDb());
    query.prepare("INSERT INTO parks (date, park, name, lat, lon, county, state, location, "
                  "MultiSt, QSOs, LateQSOs, P2Ps) VALUES (?, ?, ?, '38.1', '-78.2', 'Albemarle', "
                  "'VA', 'US-VA', '', ?, '0', '0')");
    for (const QString& value : {date, park, name, qsos})
        query.addBindValue(value);
    if (!query.exec())
        qWarning() << query.lastError().text();
    return query.lastInsertId().toInt();
}

void insertContact(const QString& date, const QString& park, const QString& time,
                   const QString& p2p = "")
{
    QSqlQuery query(parkbookDb());
    query.prepare("INSERT INTO log (date, time, park, call, p2p, operator) VALUES (?, ?, ?, "
                  "'Q2XX', ?, 'Q1OP')");
    for (const QString& value : {date, time, park, p2p})
        query.addBindValue(value);
    query.exec();
}

// The parks row of a pair, or an empty record when there is none.
QSqlRecord parkRow(const QString& date, const QString& park)
{
    QSqlQuery query(parkbookDb());
    query.prepare("SELECT * FROM parks WHERE date=? AND park=?");
    query.addBindValue(date);
    query.addBindValue(park);
    query.exec();
    return query.first() ? query.record() : QSqlRecord();
}

int parkRows()
{
    QSqlQuery query(parkbookDb());
    query.exec("SELECT count(*) FROM parks");
    return query.first() ? query.value(0).toInt() : -1;
}

QStringList listLines(Parkbook* pb)
{
    const QString text = pb->activationLog->ui->log->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QColor lineColour(Parkbook* pb, int line)
{
    const QTextBlock block = pb->activationLog->ui->log->document()->findBlockByNumber(line - 1);
    return block.begin().fragment().charFormat().foreground().color();
}

void fillSlot(Station* station, int slot, const QString& ref, const QString& name,
              bool multiState = false)
{
    station->parkRef(slot)->setText(ref);
    station->parkNameEdit(slot)->setText(name);
    station->multiStateBox(slot)->setChecked(multiState);
}
} // namespace

class TestActivations : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

private Q_SLOTS:
    void init();
    void cleanup();

    void recountCountsLateAndParkToPark();
    void saveStationAsksForEachNewSlot();
    void addedAndSavedRowsDiffer();
    void ticksFollowTheSlots();
    void parkDates_data();
    void parkDates();
    void listOrderAndModes();
    void movesAndDelete();
    void lineLayout();
    void keysOfTheMainWindow();
};

void TestActivations::init()
{
    UtcClock::setFixed(QDateTime(QDate(2024, 3, 10), QTime(15, 0, 0), Qt::UTC));
    home = std::make_unique<TempHome>();
    pb = home->makeParkbook();
    home->prompter.clear();
}

void TestActivations::cleanup()
{
    pb.reset();
    home.reset();
    UtcClock::clearFixed();
}

void TestActivations::recountCountsLateAndParkToPark()
{
    const QString ref = "K-O'1"; // an apostrophe is a value like any other
    insertPark("20240301", ref);
    insertPark("20240302", ref);
    insertContact("20240301", ref, "130000", "K-0001,K-0002,K-0003"); // counts once
    insertContact("20240301", ref, "0930");                           // late
    insertContact("20240301", "K-0002", "010000");                    // another park
    pb->calculateStatistics();
    const QSqlRecord row = parkRow("20240301", ref);
    QCOMPARE(row.value("QSOs").toInt(), 2);
    QCOMPARE(row.value("LateQSOs").toInt(), 1);
    QCOMPARE(row.value("P2Ps").toInt(), 1);
    QCOMPARE(parkRow("20240302", ref).value("QSOs").toString(), QString("0"));
}

void TestActivations::saveStationAsksForEachNewSlot()
{
    fillSlot(pb->station, 1, "K-0001", "First Park");
    fillSlot(pb->station, 3, "K-0003", "Third Park", true);
    pb->ui->parkDate->setText("20240310");
    home->prompter.answers.append({QMessageBox::No, QMessageBox::Yes});
    pb->saveStation();
    QCOMPARE(home->prompter.count("New Park Activation Found!"), 2);
    QVERIFY(home->prompter.shown.at(0).text.contains("K-0001"));
    QVERIFY(home->prompter.shown.at(1).text.contains("K-0003"));
    QCOMPARE(parkRows(), 1);
    QCOMPARE(parkRow("20240310", "K-0003").value("MultiSt").toString(), QString("Yes"));
}

void TestActivations::addedAndSavedRowsDiffer()
{
    // A ticked slot adds its row with counters 0 and no MultiSt, once.
    pb->addToParks("2024'03", "K-O'5", "Added Park");
    pb->addToParks("2024'03", "K-O'5", "Other Name");
    const QSqlRecord added = parkRow("2024'03", "K-O'5");
    QCOMPARE(added.value("name").toString(), QString("Added Park"));
    for (const char* counter : {"QSOs", "LateQSOs", "P2Ps"})
        QCOMPARE(added.value(counter).toString(), QString("0"));
    QVERIFY(added.value("MultiSt").isNull());

    // After a contact every non-empty slot has its row, without a question.
    fillSlot(pb->station, 1, "K-0001", "First Park");
    fillSlot(pb->station, 2, "K-O'2", "O'Brien's Park", true);
    fillSlot(pb->station, 4, "K-0004", "Fourth Park");
    const int existing = insertPark("20240310", "K-O'2", "Old Name", "12");
    pb->ui->parkDate->setText("20240310");
    pb->saveParks(true);
    QVERIFY(home->prompter.shown.isEmpty());
    QCOMPARE(parkRows(), 4);
    const QSqlRecord plain = parkRow("20240310", "K-0001");
    QCOMPARE(plain.value("MultiSt").toString(), QString(""));
    QVERIFY(!plain.value("MultiSt").isNull());
    // An existing row is refreshed in place; every row's counters are those
    // of its contacts (one, for K-O'2).
    QSqlQuery(parkbookDb())
        .exec("INSERT INTO log (date, park, time, p2p) VALUES ('20240310', 'K-O''2', '0900', "
              "'K-1')");
    pb->saveParks(true);
    for (const char* counter : {"QSOs", "LateQSOs", "P2Ps"})
        QCOMPARE(parkRow("20240310", "K-0001").value(counter).toString(), QString("0"));
    const QSqlRecord second = parkRow("20240310", "K-O'2");
    QCOMPARE(second.value("id").toInt(), existing);
    QCOMPARE(second.value("name").toString(), QString("O'Brien's Park"));
    QCOMPARE(second.value("MultiSt").toString(), QString("Yes"));
    for (const char* counter : {"QSOs", "LateQSOs", "P2Ps"})
        QCOMPARE(second.value(counter).toString(), QString("1"));
}

void TestActivations::ticksFollowTheSlots()
{
    Station* station = pb->station;
    pb->ui->parkDate->setText("20240310");
    station->activeBox(3)->click(); // an empty slot cannot be ticked
    QVERIFY(!station->activeBox(3)->isChecked());
    QCOMPARE(parkRows(), 0);

    fillSlot(station, 3, "K-0003", "Third Park");
    station->activeBox(3)->click();
    QVERIFY(station->activeBox(3)->isChecked());
    QCOMPARE(parkRow("20240310", "K-0003").value("name").toString(), QString("Third Park"));

    // The selected slot is always activated.
    fillSlot(station, 2, "K-0002", "Second Park");
    station->parkButton(2)->setChecked(true);
    station->activeBox(2)->setChecked(true);
    station->activeBox(2)->click();
    QVERIFY(station->activeBox(2)->isChecked());
}

void TestActivations::parkDates_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("first valid start") << "20000101"
                                       << "20000101" << QStringList{};
    QTest::newRow("too early") << "20000100"
                               << "20000100" << QStringList{"Error: Park Start Date"};
    QTest::newRow("end before start") << "20240310"
                                      << "20240309" << QStringList{"Error: Park End Date"};
}

void TestActivations::parkDates()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    pb->ui->parkDate->setText(start);
    pb->ui->endDate->setText(end);
    pb->on_parkDate_editingFinished();
    pb->on_endDate_editingFinished();
    QTEST(home->prompter.titles(), "boxes");
}

void TestActivations::listOrderAndModes()
{
    Station* station = pb->station;
    const int january = insertPark("20240115", "K-0001", "January Park");
    const int february = insertPark("20240215", "K-0002", "February Park");
    const int hunting = insertPark("20240120", "HUNTER", "Hunting for Activations");
    QSqlQuery(parkbookDb()).exec("UPDATE parks SET MultiSt='Yes' WHERE park='K-0002'");
    fillSlot(station, 2, "K-9999", "Whatever Was There");
    station->parkButton(2)->setChecked(true);

    pb->on_modeActivator_clicked();
    QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith("20240215 K-0002"));
    QVERIFY(lines.at(1).startsWith("20240115 K-0001"));
    QCOMPARE(pb->activationParkId, february);
    // The top entry, a 2fer, is activated into the selected slot.
    QCOMPARE(station->parkRef(2)->text(), QString("K-0002"));
    QCOMPARE(station->parkNameEdit(2)->text(), QString("February Park"));
    QVERIFY(station->multiStateBox(2)->isChecked());
    QCOMPARE(station->parkRef(1)->text(), QString(""));
    QCOMPARE(pb->ui->parkDate->text(), QString("20240215"));

    // The highlight follows activeId, not the cursor line.
    QCOMPARE(lineColour(pb.get(), 1), pb->themeGreen);
    QCOMPARE(pb->displayActivations(1, january), 2);
    QCOMPARE(lineColour(pb.get(), 1), pb->themeText);
    QCOMPARE(lineColour(pb.get(), 2), pb->themeGreen);
    QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 0);

    // Hunting lists only "HUNTER" rows and puts HUNTER into slot 1, which it
    // selects; switching back re-activates the newest activation there.
    pb->ui->actionHunting_Log->trigger();
    QCOMPARE(pb->potaMode, QString("Hunting"));
    lines = listLines(pb.get());
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.at(0).startsWith("20240120 HUNTER"));
    QCOMPARE(pb->activationParkId, hunting);
    QCOMPARE(station->parkRef(1)->text(), QString("HUNTER"));
    QCOMPARE(station->parkNameEdit(1)->text(), QString("Hunting for Activations"));
    QCOMPARE(station->selectedSlot(), 1);
    pb->ui->modeActivator->click();
    QCOMPARE(pb->potaMode, QString("Activating"));
    QCOMPARE(station->parkRef(1)->text(), QString("K-0002"));
}

void TestActivations::movesAndDelete()
{
    const int newest = insertPark("20240303", "K-0003");
    insertPark("20240302", "K-O'2");
    const int oldest = insertPark("20240301", "K-0001");
    pb->potaMode = "Activating";
    QCOMPARE(pb->loadActivations(), 3);
    const QString shownPark = pb->ui->parkReference->text();

    // Moves stop at the ends and never activate.
    pb->nextActivation(); // no position yet: to the end
    QCOMPARE(pb->activationListId, 3);
    pb->nextActivation();
    QCOMPARE(pb->activationListId, 3);
    QCOMPARE(pb->activationParkId, oldest);
    pb->topActivation();
    pb->previousActivation();
    QCOMPARE(pb->activationListId, 1);
    QCOMPARE(pb->activationParkId, newest);
    pb->endActivation();
    pb->previousActivation();
    QCOMPARE(pb->activationListId, 2);
    QCOMPARE(pb->ui->parkReference->text(), shownPark);

    pb->activationLog->setWindowTitle("Before");
    pb->deletePark(); // no scripted answer: the default, No
    QCOMPARE(home->prompter.count("Delete Park Activation Location"), 1);
    QCOMPARE(home->prompter.shown.at(0).defaultButton, QMessageBox::No);
    QVERIFY(home->prompter.shown.at(0).text.contains("K-O'2"));
    QCOMPARE(parkRows(), 3);
    // Redrawn all the same.
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 3"));

    // F10 in the list window deletes the same way.
    home->prompter.answers.append({QMessageBox::Yes});
    Q_EMIT pb->activationLog->deleteSig();
    QCOMPARE(home->prompter.count("Delete Park Activation Location"), 2);
    QCOMPARE(parkRows(), 2);
    QVERIFY(parkRow("20240302", "K-O'2").isEmpty());
    const QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    // The cursor rests on the line that followed the deleted one.
    const int cursorLine = pb->activationLog->ui->log->textCursor().blockNumber();
    QVERIFY(lines.at(cursorLine).startsWith("20240301"));

    // A mode without records shows an empty list: no move, activation or
    // deletion does anything, and the other mode's record is out of reach.
    pb->topActivation();
    home->prompter.clear();
    pb->on_modeHunter_clicked();
    const QString date = pb->ui->parkDate->text();
    for (auto step :
         {&Parkbook::topActivation, &Parkbook::nextActivation, &Parkbook::previousActivation,
          &Parkbook::endActivation, &Parkbook::on_activate_clicked, &Parkbook::deletePark})
        (pb.get()->*step)();
    QVERIFY(home->prompter.shown.isEmpty());
    QCOMPARE(parkRows(), 2);
    QCOMPARE(pb->activationListId, 0);
    QCOMPARE(pb->activationParkId, 0);
    QCOMPARE(pb->ui->parkDate->text(), date);
}

void TestActivations::lineLayout()
{
    insertPark("20240301", "K-0001", "Short", "7");
    insertPark("20240201", "K-0002", QString(70, 'N'), "123");
    pb->potaMode = "Activating";
    pb->loadActivations();
    pb->topActivation();
    const QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), QString("20240301 K-0001     VA   7   0   0 38.1     -78.2     US-VA ") +
                              QString("Short").leftJustified(64) + " " +
                              QString("Albemarle").leftJustified(20));
    // The long name pushes the county right by the six characters it overruns.
    QCOMPARE(lines.at(1).indexOf("Albemarle"), lines.at(0).indexOf("Albemarle") + 6);
    QVERIFY(lines.at(1).contains(" 123 "));
}

void TestActivations::keysOfTheMainWindow()
{
    const int newest = insertPark("20240303", "K-0003");
    const int oldest = insertPark("20240301", "K-0001");
    pb->show();
    pb->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));
    QTest::keyClick(pb.get(), Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(pb->potaMode, QString("Activating"), 5000);
    QCOMPARE(pb->activationParkId, newest);
    pb->activateWindow(); // the list window took the focus
    QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));

    QTest::keyClick(pb.get(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(pb->activationParkId, oldest);
    QTest::keyClick(pb.get(), Qt::Key_F6); // the button clicks itself after a short delay
    QTRY_COMPARE_WITH_TIMEOUT(pb->ui->parkReference->text(), QString("K-0001"), 5000);
    QTest::keyClick(pb.get(), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(pb->activationParkId, newest);
    QTest::keyClick(pb.get(), Qt::Key_H, Qt::AltModifier);
    QCOMPARE(pb->potaMode, QString("Hunting"));
}

QTEST_MAIN(TestActivations)
#include "tst_activations.moc"
