#include "app/parkbook.h"
#include "app/utcclock.h"
#include "db/schema.h"
#include "parks/activationrecords.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
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
    query.addBindValue(date);
    query.addBindValue(park);
    query.addBindValue(name);
    query.addBindValue(qsos);
    if (!query.exec())
        qWarning() << query.lastError().text();
    return query.lastInsertId().toInt();
}

void insertContact(QSqlDatabase db, const QString& date, const QString& park, const QString& time,
                   const QString& p2p = "", const QString& op = "Q1OP")
{
    QSqlQuery query(db);
    query.prepare("INSERT INTO log (date, time, park, call, p2p, operator) VALUES (?, ?, ?, "
                  "'Q2XX', ?, ?)");
    query.addBindValue(date);
    query.addBindValue(time);
    query.addBindValue(park);
    query.addBindValue(p2p);
    query.addBindValue(op);
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

    void recountCountsLateAndParkToPark_data();
    void recountCountsLateAndParkToPark();
    void recountOfLargeLog();
    void saveStationAsksForEachNewSlot();
    void loggedContactCreatesEverySlotWithoutAsking();
    void addedAndSavedRowsDiffer();
    void apostropheInParkReference();
    void ticksFollowTheSlots();
    void tickWhileListShownRedrawsIt();
    void huntingPutsHunterIntoSlotOne();
    void parkDates_data();
    void parkDates();
    void reactivatingWritesTheSelectedSlot();
    void listOrderAndMode();
    void movesStopAtTheEnds();
    void emptyListDoesNothing();
    void deleteAsksWithNoAsDefault();
    void deleteFromTheListWindow();
    void lineLayout();
    void keysOfTheMainWindow();
};

void TestActivations::init()
{
    UtcClock::setFixed(QDateTime(QDate(2024, 3, 10), QTime(15, 0, 0), Qt::UTC));
    home = std::make_unique<TempHome>();
    home->writeQuietSettings();
    pb = home->makeParkbook();
    home->prompter.clear();
    Station* station = pb->station;
    station->ui->lat->setText("38.1");
    station->ui->lon->setText("-78.2");
    station->ui->county->setText("Albemarle");
    station->ui->state->setCurrentText("VA");
    station->ui->call->setText("Q1OP");
    for (int n = 1; n <= 5; ++n)
        fillSlot(station, n, "", "");
    station->parkButton(1)->setChecked(true);
}

void TestActivations::cleanup()
{
    pb.reset();
    home.reset();
    UtcClock::clearFixed();
}

void TestActivations::recountCountsLateAndParkToPark_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QStringList>("p2ps");
    QTest::addColumn<int>("late");
    QTest::addColumn<int>("parkToPark");
    QTest::newRow("afternoon and noon")
        << QStringList{"235959", "120000"} << QStringList{"", ""} << 0 << 0;
    QTest::newRow("morning") << QStringList{"000001", "115959"} << QStringList{"", ""} << 2 << 0;
    QTest::newRow("empty and not a number")
        << QStringList{"", "ab1200"} << QStringList{"", ""} << 2 << 0;
    QTest::newRow("four digits") << QStringList{"0930", "1230"} << QStringList{"", ""} << 1 << 0;
    QTest::newRow("six digits beside a short time")
        << QStringList{"100000", "1300", "110000"} << QStringList{"", "", "K-0002"} << 2 << 1;
    QTest::newRow("several references count once")
        << QStringList{"130000", "140000", "150000"}
        << QStringList{"K-0001,K-0002,K-0003", "", "K-0004"} << 0 << 2;
}

void TestActivations::recountCountsLateAndParkToPark()
{
    QFETCH(QStringList, times);
    QFETCH(QStringList, p2ps);
    QFETCH(int, late);
    QFETCH(int, parkToPark);
    insertPark("20240301", "K-0001");
    insertPark("20240302", "K-0001");
    for (int i = 0; i < times.size(); ++i)
        insertContact(parkbookDb(), "20240301", "K-0001", times.at(i), p2ps.at(i),
                      i == 0 ? "Q1OP" : "Q9OTHER");
    insertContact(parkbookDb(), "20240301", "K-0002", "010000"); // another park
    pb->calculateStatistics();
    const QSqlRecord row = parkRow("20240301", "K-0001");
    QCOMPARE(row.value("QSOs").toInt(), int(times.size()));
    QCOMPARE(row.value("LateQSOs").toInt(), late);
    QCOMPARE(row.value("P2Ps").toInt(), parkToPark);
    QCOMPARE(parkRow("20240302", "K-0001").value("QSOs").toString(), QString("0"));
}

void TestActivations::recountOfLargeLog()
{
    // 100,000 contacts over 5,000 activation records in a file of its own.
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bigLog");
        db.setDatabaseName(dir.filePath("big.db"));
        QVERIFY(db.open());
        for (const char* statement :
             {Schema::createLog, Schema::createParks, Schema::indexes[0], Schema::indexes[1]})
            QVERIFY(QSqlQuery(db).exec(statement));
        db.transaction();
        QSqlQuery park(db);
        park.prepare("INSERT INTO parks (date, park) VALUES (?, ?)");
        QSqlQuery contact(db);
        contact.prepare("INSERT INTO log (date, time, park, p2p) VALUES (?, ?, ?, ?)");
        for (int p = 0; p < 5000; ++p) {
            const QString date = QDate(2010, 1, 1).addDays(p / 2).toString("yyyyMMdd");
            const QString ref = QString("K-%1").arg(p % 2 + 1000);
            park.addBindValue(date);
            park.addBindValue(ref);
            park.exec();
            for (int c = 0; c < 20; ++c) {
                contact.addBindValue(date);
                contact.addBindValue(QString("%1").arg(c + 4, 2, 10, QChar('0')) + "0000");
                contact.addBindValue(ref);
                contact.addBindValue(c % 5 == 0 ? "K-0001" : "");
                contact.exec();
            }
        }
        db.commit();

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(recountActivations(db), 5000);
        qInfo("Recount of 100000 contacts and 5000 records: %lld ms", timer.elapsed());

        QSqlQuery check(db);
        check.exec("SELECT count(*) FROM parks WHERE QSOs='20' AND LateQSOs='8' AND P2Ps='4'");
        QVERIFY(check.first());
        QCOMPARE(check.value(0).toInt(), 5000);
        db.close();
    }
    QSqlDatabase::removeDatabase("bigLog");
}

void TestActivations::saveStationAsksForEachNewSlot()
{
    fillSlot(pb->station, 1, "K-0001", "First Park");
    fillSlot(pb->station, 3, "K-0003", "Third Park", true);
    pb->ui->parkDate->setText("20240310");
    home->prompter.answers.append({QMessageBox::No, QMessageBox::Yes});
    pb->saveStation();

    QCOMPARE(home->prompter.count("New Park Activation Found!"), 2);
    const auto& first = home->prompter.shown.at(0);
    QCOMPARE(first.text, QString("Do you want to add this new Park Activation to the Parkbook "
                                 "Database?\n   Park Reference:  K-0001\n   Activation Date: "
                                 "20240310"));
    QCOMPARE(first.defaultButton, QMessageBox::Yes);
    QVERIFY(home->prompter.shown.at(1).text.contains("K-0003"));
    QVERIFY(parkRow("20240310", "K-0001").isEmpty());
    const QSqlRecord third = parkRow("20240310", "K-0003");
    QCOMPARE(third.value("name").toString(), QString("Third Park"));
    QCOMPARE(third.value("MultiSt").toString(), QString("Yes"));
    QCOMPARE(parkRows(), 1);

    // Saved again: the existing row is refreshed, only the missing one asks.
    home->prompter.clear();
    home->prompter.answers.append({QMessageBox::No});
    pb->station->parkNameEdit(3)->setText("Third Park Renamed");
    pb->saveStation();
    QCOMPARE(home->prompter.count("New Park Activation Found!"), 1);
    QCOMPARE(parkRow("20240310", "K-0003").value("name").toString(), QString("Third Park Renamed"));
    QCOMPARE(parkRows(), 1);
}

void TestActivations::loggedContactCreatesEverySlotWithoutAsking()
{
    fillSlot(pb->station, 1, "K-0001", "First Park");
    fillSlot(pb->station, 2, "K-0002", "Second Park");
    fillSlot(pb->station, 4, "K-0004", "Fourth Park");
    pb->station->activeBox(1)->setChecked(true);
    pb->station->activeBox(2)->setChecked(false);
    pb->ui->parkDate->setText("20240310");
    const int existing = insertPark("20240310", "K-0002", "Old Name", "12");

    pb->saveParks(true);
    QVERIFY(home->prompter.shown.isEmpty());
    QCOMPARE(parkRows(), 3);
    for (const QString ref : {"K-0001", "K-0004"})
        QVERIFY2(!parkRow("20240310", ref).isEmpty(), qPrintable(ref));
    const QSqlRecord second = parkRow("20240310", "K-0002");
    QCOMPARE(second.value("id").toInt(), existing);
    QCOMPARE(second.value("name").toString(), QString("Second Park"));
    QCOMPARE(second.value("QSOs").toString(), QString("12"));
}

void TestActivations::addedAndSavedRowsDiffer()
{
    pb->addToParks("20240310", "K-0005", "Added Park");
    const QSqlRecord added = parkRow("20240310", "K-0005");
    QCOMPARE(added.value("name").toString(), QString("Added Park"));
    QCOMPARE(added.value("state").toString(), QString("VA"));
    QCOMPARE(added.value("county").toString(), QString("Albemarle"));
    for (const char* counter : {"QSOs", "LateQSOs", "P2Ps"})
        QCOMPARE(added.value(counter).toString(), QString("0"));
    QVERIFY(added.value("MultiSt").isNull());
    pb->addToParks("20240310", "K-0005", "Other Name"); // an existing row stays as it is
    QCOMPARE(parkRows(), 1);
    QCOMPARE(parkRow("20240310", "K-0005").value("name").toString(), QString("Added Park"));

    fillSlot(pb->station, 1, "K-0001", "Plain Park");
    fillSlot(pb->station, 2, "K-0002", "Wide Park", true);
    pb->ui->parkDate->setText("20240311");
    pb->saveParks(true);
    const QSqlRecord plain = parkRow("20240311", "K-0001");
    const QSqlRecord wide = parkRow("20240311", "K-0002");
    QCOMPARE(plain.value("MultiSt").toString(), QString(""));
    QVERIFY(!plain.value("MultiSt").isNull());
    QCOMPARE(wide.value("MultiSt").toString(), QString("Yes"));
    for (const char* counter : {"QSOs", "LateQSOs", "P2Ps"}) {
        QVERIFY(plain.value(counter).isNull());
        QVERIFY(wide.value(counter).isNull());
    }
}

void TestActivations::apostropheInParkReference()
{
    const QString ref = "K-O'1";
    fillSlot(pb->station, 1, ref, "O'Brien's Park");
    pb->ui->parkDate->setText("20240310");
    pb->saveParks(true);
    QCOMPARE(parkRow("20240310", ref).value("name").toString(), QString("O'Brien's Park"));
    pb->saveParks(true); // found again, not inserted twice
    QCOMPARE(parkRows(), 1);
    pb->addToParks("2024'03", ref, "Odd Date");
    QCOMPARE(parkRow("2024'03", ref).value("name").toString(), QString("Odd Date"));
    insertContact(parkbookDb(), "20240310", ref, "090000", "K-0001");
    pb->calculateStatistics();
    const QSqlRecord row = parkRow("20240310", ref);
    QCOMPARE(row.value("QSOs").toInt(), 1);
    QCOMPARE(row.value("LateQSOs").toInt(), 1);
    QCOMPARE(row.value("P2Ps").toInt(), 1);
}

void TestActivations::ticksFollowTheSlots()
{
    Station* station = pb->station;
    pb->ui->parkDate->setText("20240310");
    station->activeBox(3)->click();
    QVERIFY(!station->activeBox(3)->isChecked());
    QCOMPARE(parkRows(), 0);

    fillSlot(station, 3, "K-0003", "Third Park");
    station->activeBox(3)->click();
    QVERIFY(station->activeBox(3)->isChecked());
    QCOMPARE(parkRow("20240310", "K-0003").value("name").toString(), QString("Third Park"));

    // Clearing a slot that is not selected keeps it clear and keeps its row.
    station->activeBox(3)->click();
    QVERIFY(!station->activeBox(3)->isChecked());
    QCOMPARE(parkRows(), 1);

    // The selected slot is always activated.
    fillSlot(station, 2, "K-0002", "Second Park");
    station->parkButton(2)->setChecked(true);
    station->activeBox(2)->setChecked(true);
    station->activeBox(2)->click();
    QVERIFY(station->activeBox(2)->isChecked());
}

void TestActivations::tickWhileListShownRedrawsIt()
{
    const int older = insertPark("20240301", "K-0001", "Older Park");
    pb->ui->actionShow_Activations->trigger();
    QCOMPARE(pb->activationParkId, older);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 1"));

    // A re-activation put the stored date into parkDate; tick a newer one.
    pb->ui->parkDate->setText("20240310");
    fillSlot(pb->station, 3, "K-0003", "Third Park");
    pb->station->activeBox(3)->click();
    const QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith("20240310 K-0003"));
    // The highlight stays on the same record, the cursor on the same line.
    QCOMPARE(pb->activationParkId, older);
    QCOMPARE(lineColour(pb.get(), 2), pb->themeGreen);
    QCOMPARE(lineColour(pb.get(), 1), pb->themeText);
    QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 0);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 2"));
}

void TestActivations::huntingPutsHunterIntoSlotOne()
{
    Station* station = pb->station;
    fillSlot(station, 1, "K-0001", "First Park");
    pb->ui->parkDate->setText("20240310");
    pb->ui->actionHunting_Log->trigger();
    QCOMPARE(pb->potaMode, QString("Hunting"));
    QVERIFY(pb->ui->modeHunter->isChecked());
    QVERIFY(!pb->ui->modeActivator->isChecked());
    QCOMPARE(station->parkRef(1)->text(), QString("HUNTER"));
    QCOMPARE(station->parkNameEdit(1)->text(), QString("Hunting for Activations"));
    QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(Qt::red));
    QVERIFY(pb->activationLog->isVisible());
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+H: Hunting Log,  Hunting Days = 0"));

    pb->saveParks(true); // as after a logged contact
    QCOMPARE(parkRow("20240310", "HUNTER").value("name").toString(),
             QString("Hunting for Activations"));
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+H: Hunting Log,  Hunting Days = 1"));

    pb->ui->modeActivator->click();
    QCOMPARE(pb->potaMode, QString("Activating"));
    QVERIFY(pb->ui->modeActivator->isChecked());
    QCOMPARE(station->parkRef(1)->text(), QString("HUNTER"));
    QCOMPARE(pb->ui->parkReference->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 0"));
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
    QTest::newRow("end after start") << "20240310"
                                     << "20240311" << QStringList{};
}

void TestActivations::parkDates()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QStringList, boxes);
    pb->ui->parkDate->setText(start);
    pb->ui->endDate->setText(end);
    pb->on_parkDate_editingFinished();
    pb->on_endDate_editingFinished();
    QCOMPARE(home->prompter.titles(), boxes);
    for (const auto& box : home->prompter.shown)
        QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(pb->ui->parkDate->text(), start);
    QCOMPARE(pb->ui->endDate->text(), end);
}

void TestActivations::reactivatingWritesTheSelectedSlot()
{
    Station* station = pb->station;
    insertPark("20240301", "K-0001", "One of Two");
    const int second = insertPark("20240301", "K-0002", "Two of Two");
    QSqlQuery(parkbookDb()).exec("UPDATE parks SET MultiSt='Yes', state='MD' WHERE park='K-0002'");
    fillSlot(station, 2, "K-9999", "Whatever Was There");
    station->parkButton(2)->setChecked(true);

    QCOMPARE(pb->loadActivations(), 2);
    QSqlQuery entry(QSqlDatabase::database("memory"));
    entry.prepare("SELECT id FROM activationId WHERE parkId = ?");
    entry.addBindValue(second);
    entry.exec();
    QVERIFY(entry.first());
    pb->activationListId = entry.value(0).toInt();
    pb->on_activate_clicked();

    QCOMPARE(station->parkRef(2)->text(), QString("K-0002"));
    QCOMPARE(station->parkNameEdit(2)->text(), QString("Two of Two"));
    QVERIFY(station->multiStateBox(2)->isChecked());
    QCOMPARE(station->parkRef(1)->text(), QString(""));
    QCOMPARE(station->ui->state->currentText(), QString("MD"));
    QCOMPARE(pb->ui->parkDate->text(), QString("20240301"));
    QCOMPARE(pb->ui->endDate->text(), QString("20240301"));
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0002"));
    QCOMPARE(pb->ui->parkName->text(), QString("Two of Two"));
    QVERIFY(pb->ui->mst->isChecked());
}

void TestActivations::listOrderAndMode()
{
    const int january = insertPark("20240115", "K-0001", "January Park");
    const int february = insertPark("20240215", "K-0002", "February Park");
    const int hunting = insertPark("20240120", "HUNTER", "Hunting for Activations");

    pb->on_modeActivator_clicked();
    QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith("20240215 K-0002"));
    QVERIFY(lines.at(1).startsWith("20240115 K-0001"));
    QCOMPARE(pb->activationParkId, february);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 2"));
    QCOMPARE(pb->activationLog->ui->header->toPlainText(), activationHeader());
    // The top entry was re-activated.
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0002"));

    // The highlight follows activeId, not the cursor line.
    QCOMPARE(lineColour(pb.get(), 1), pb->themeGreen);
    QCOMPARE(lineColour(pb.get(), 2), pb->themeText);
    QCOMPARE(pb->displayActivations(1, january), 2);
    QCOMPARE(lineColour(pb.get(), 1), pb->themeText);
    QCOMPARE(lineColour(pb.get(), 2), pb->themeGreen);
    QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 0);

    pb->on_modeHunter_clicked();
    lines = listLines(pb.get());
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.at(0).startsWith("20240120 HUNTER"));
    QCOMPARE(pb->activationParkId, hunting);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+H: Hunting Log,  Hunting Days = 1"));
}

void TestActivations::movesStopAtTheEnds()
{
    const int newest = insertPark("20240303", "K-0003");
    const int middle = insertPark("20240302", "K-0002");
    const int oldest = insertPark("20240301", "K-0001");
    pb->potaMode = "Activating";
    QCOMPARE(pb->loadActivations(), 3);
    const QString shownPark = pb->ui->parkReference->text();

    pb->nextActivation(); // no position yet: to the end
    QCOMPARE(pb->activationListId, 3);
    QCOMPARE(pb->activationParkId, oldest);
    QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 2);
    QCOMPARE(lineColour(pb.get(), 3), pb->themeGreen);
    pb->nextActivation();
    QCOMPARE(pb->activationListId, 3);
    pb->previousActivation();
    QCOMPARE(pb->activationParkId, middle);
    QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 1);
    pb->topActivation();
    QCOMPARE(pb->activationParkId, newest);
    pb->previousActivation();
    QCOMPARE(pb->activationListId, 1);
    QCOMPARE(pb->activationParkId, newest);
    pb->endActivation();
    QCOMPARE(pb->activationParkId, oldest);
    // Moves never re-activate.
    QCOMPARE(pb->ui->parkReference->text(), shownPark);
}

void TestActivations::emptyListDoesNothing()
{
    pb->potaMode = "Activating";
    QCOMPARE(pb->loadActivations(), 0);
    pb->activationLog->setWindowTitle("Before");
    const QString date = pb->ui->parkDate->text();
    pb->topActivation();
    pb->nextActivation();
    pb->previousActivation();
    pb->endActivation();
    pb->on_activate_clicked();
    QCOMPARE(pb->activationListId, 0);
    QCOMPARE(pb->activationParkId, 0);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Before"));
    QCOMPARE(pb->ui->parkDate->text(), date);
}

void TestActivations::deleteAsksWithNoAsDefault()
{
    insertPark("20240303", "K-0003");
    insertPark("20240302", "K-O'2");
    insertPark("20240301", "K-0001");
    insertContact(parkbookDb(), "20240302", "K-O'2", "130000");
    pb->potaMode = "Activating";
    pb->loadActivations();
    pb->topActivation();
    pb->nextActivation();
    QCOMPARE(pb->activationListId, 2);

    pb->activationLog->setWindowTitle("Before");
    pb->deletePark(); // no scripted answer: the default, No
    QCOMPARE(home->prompter.count("Delete Park Activation Location"), 1);
    const auto& box = home->prompter.shown.at(0);
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(box.text, QString("Do you want to delete this Park Activation Location\nfrom the "
                               "Parkbook Database?\n   Park Reference:  K-O'2\n   Activation "
                               "Date: 20240302"));
    QCOMPARE(parkRows(), 3);
    QCOMPARE(pb->activationLog->windowTitle(), QString("Alt+A: Activation Log,  Activations = 3"));

    home->prompter.answers.append({QMessageBox::Yes});
    pb->deletePark();
    QCOMPARE(parkRows(), 2);
    QVERIFY(parkRow("20240302", "K-O'2").isEmpty());
    const QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    // The cursor rests on the line that followed the deleted one.
    const int cursorLine = pb->activationLog->ui->log->textCursor().blockNumber();
    QVERIFY(lines.at(cursorLine).startsWith("20240301"));
    QSqlQuery contacts(parkbookDb());
    contacts.exec("SELECT count(*) FROM log");
    QVERIFY(contacts.first());
    QCOMPARE(contacts.value(0).toInt(), 1);

    // Nothing left to delete at this position: no question.
    home->prompter.clear();
    pb->deletePark();
    QVERIFY(home->prompter.shown.isEmpty());
}

void TestActivations::deleteFromTheListWindow()
{
    insertPark("20240303", "K-0003");
    pb->potaMode = "Activating";
    pb->loadActivations();
    pb->topActivation();
    home->prompter.answers.append({QMessageBox::Yes});
    Q_EMIT pb->activationLog->deleteSig();
    QCOMPARE(home->prompter.count("Delete Park Activation Location"), 1);
    QCOMPARE(parkRows(), 0);
}

void TestActivations::lineLayout()
{
    QCOMPARE(activationHeader(),
             QString("  Date   Pk-Ref  ST QSO LQs P2P   Lat       Lon    LOCAT ") +
                 QString("Park Name").leftJustified(64) + " " +
                 QString("County").leftJustified(22));

    const QString longName(70, 'N');
    insertPark("20240301", "K-0001", "Short", "7");
    insertPark("20240201", "K-0002", longName, "123");
    pb->potaMode = "Activating";
    pb->loadActivations();
    pb->topActivation();
    const QStringList lines = listLines(pb.get());
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), QString("20240301 K-0001  VA   7   0   0 38.1     -78.2     US-VA ") +
                              QString("Short").leftJustified(64) + " " +
                              QString("Albemarle").leftJustified(20));
    const int shortCounty = lines.at(0).indexOf("Albemarle");
    QCOMPARE(lines.at(1).indexOf("Albemarle"), shortCounty + 6);
    QVERIFY(lines.at(1).contains(" 123 "));
}

void TestActivations::keysOfTheMainWindow()
{
    const int newest = insertPark("20240303", "K-0003");
    const int oldest = insertPark("20240301", "K-0001");
    insertPark("20240302", "HUNTER", "Hunting for Activations");
    pb->show();
    pb->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));

    QTest::keyClick(pb.get(), Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(pb->potaMode, QString("Activating"), 5000);
    QCOMPARE(pb->activationParkId, newest);
    QVERIFY(pb->activationLog->isVisible());
    pb->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));

    QTest::keyClick(pb.get(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(pb->activationParkId, oldest);
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0003")); // moving does not activate
    QTest::keyClick(pb.get(), Qt::Key_F6); // the button clicks itself after a short delay
    QTRY_COMPARE_WITH_TIMEOUT(pb->ui->parkReference->text(), QString("K-0001"), 5000);
    QCOMPARE(pb->ui->parkDate->text(), QString("20240301"));
    QTest::keyClick(pb.get(), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(pb->activationParkId, newest);

    QTest::keyClick(pb.get(), Qt::Key_H, Qt::AltModifier);
    QCOMPARE(pb->potaMode, QString("Hunting"));
    QCOMPARE(pb->ui->parkReference->text(), QString("HUNTER"));
}

QTEST_MAIN(TestActivations)
#include "tst_activations.moc"
