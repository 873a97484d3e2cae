// The Station window, the activation records made from its slots, and the
// activation and hunting lists, on 10 March 2024.
#include "app/utcclock.h"
#include "journey.h"

#include <QSettings>
#include <QtTest>

using namespace Journey;

namespace
{
// Records made by another program, "date park name..." each; MultiSt "Yes"
// for K-0002; ids from 1.
void addRecords(const QStringList& records)
{
    for (const QString& r : records)
        run(QString("INSERT INTO parks (date, park, name, state, MultiSt) VALUES ('%1', '%2', "
                    "'%3', 'VA', '%4')")
                .arg(r.section(' ', 0, 0), r.section(' ', 1, 1).replace("'", "''"),
                     r.section(' ', 2), r.contains("K-0002") ? "Yes" : ""));
}
// Counts what a Station window sends: "parks/ticks" since the last call.
struct Signals {
    int parks = 0, ticks = 0;
    explicit Signals(Station* station)
    {
        QObject::connect(station, &Station::newParkSig, [this] { ++parks; });
        for (auto tick : {&Station::act1Sig, &Station::act2Sig, &Station::act3Sig,
                          &Station::act4Sig, &Station::act5Sig})
            QObject::connect(station, tick, [this] { ++ticks; });
    }
    QString taken()
    {
        return QString("%1/%2").arg(std::exchange(parks, 0)).arg(std::exchange(ticks, 0));
    }
};
// Replaces the station record behind the window's back, as an older version
// or another tool may have left it.
void storeStation(const QString& values)
{
    run("DELETE FROM station");
    run("INSERT INTO station (call, park1, name1, park2, name2, mode, band, state, mst1, mst2) "
        "VALUES ('K1ABC', 'K-0001', 'First Park', 'K-0002', 'Second Park', '" +
        values.split(' ').join("', '") + "')");
}
} // namespace

class TestParks : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    void fillSlot(int slot, const QString& ref, const QString& name, bool multiState = false)
    {
        pb->station->parkRef(slot)->setText(ref);
        pb->station->parkNameEdit(slot)->setText(name);
        pb->station->multiStateBox(slot)->setChecked(multiState);
    }
    QString slotText(int slot)
    {
        return pb->station->parkRef(slot)->text() + " " + pb->station->parkNameEdit(slot)->text();
    }

private Q_SLOTS:
    void init()
    {
        UtcClock::setFixed(QDateTime(QDate(2024, 3, 10), QTime(15, 0, 0), Qt::UTC));
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
    }
    void cleanup()
    {
        pb.reset();
        home.reset();
        UtcClock::clearFixed();
    }

    // Saving the station asks for each new slot (No skips only that one);
    // after a contact every non-empty slot has its record without a
    // question, one that exists refreshed in place; a tick adds one once, an
    // empty slot cannot be ticked and the selected one cannot be left out.
    void slotRecords()
    {
        home->prompter.clear();
        fillSlot(1, "K-0001", "First Park");
        fillSlot(3, "K-O'3", "Third Park", true);
        home->prompter.answers.append({QMessageBox::No, QMessageBox::Yes});
        pb->saveStation();
        QCOMPARE(home->prompter.titles(), QStringList(2, "New Park Activation Found!"));
        QVERIFY(home->prompter.shown[0].text.contains("K-0001") &&
                home->prompter.shown[1].text.contains("K-O'3"));
        const QString select = "SELECT id, park, name, MultiSt FROM parks ORDER BY id";
        QCOMPARE(run(select), QStringList("1|K-O'3|Third Park|Yes"));

        home->prompter.clear();
        fillSlot(3, "K-O'3", "O'Brien's Park");
        fillSlot(4, "K-0004", "Fourth Park");
        pb->saveParks(true);
        QVERIFY(home->prompter.shown.isEmpty());
        QCOMPARE(run(select), QStringList({"1|K-O'3|O'Brien's Park|", "2|K-0001|First Park|",
                                           "3|K-0004|Fourth Park|"}));
        pb->station->activeBox(2)->click();
        fillSlot(5, "K-0005", "Fifth Park");
        for (int click = 0; click < 3; ++click)
            pb->station->activeBox(5)->click();
        pb->station->activeBox(1)->click();
        QCOMPARE(run(select).mid(3) << ticked(pb->station),
                 QStringList({"4|K-0005|Fifth Park|", "15"}));
    }

    // A mode switch lists the mode's records, newest first, and activates the
    // top one into the selected slot; the highlight follows the current record.
    void modes()
    {
        addRecords({"20240115 K-0001 January Park", "20240215 K-0002 February Park",
                    "20240120 HUNTER Hunting for Activations"});
        fillSlot(2, "K-9999", "Whatever Was There");
        pb->station->parkButton(2)->setChecked(true);
        pb->on_modeActivator_clicked();
        QCOMPARE(listed(pb.get()), QStringList({"20240215 K-0002", "20240115 K-0001"}));
        QCOMPARE(QString("%1|%2|%3|%4|%5")
                     .arg(pb->activationParkId)
                     .arg(slotText(1), slotText(2), pb->ui->parkDate->text())
                     .arg(pb->station->multiStateBox(2)->isChecked()),
                 QString("2| |K-0002 February Park|20240215|1"));
        QCOMPARE(colours(pb.get(), pb->activationLog), QString("GT"));
        QCOMPARE(pb->displayActivations(1, 1), 2);
        QCOMPARE(colours(pb.get(), pb->activationLog) +
                     QString::number(pb->activationLog->ui->log->textCursor().blockNumber()),
                 QString("TG0"));

        // Hunting lists only "HUNTER" records and selects slot 1 for them.
        pb->ui->actionHunting_Log->trigger();
        QCOMPARE(listed(pb.get()), QStringList({"20240120 HUNTER"}));
        QCOMPARE(QString("%1 %2 %3")
                     .arg(pb->activationParkId)
                     .arg(pb->station->selectedSlot())
                     .arg(slotText(1)),
                 QString("3 1 HUNTER Hunting for Activations"));
        pb->ui->modeActivator->click();
        QCOMPARE(pb->potaMode + " " + slotText(1), QString("Activating K-0002 February Park"));
    }

    // Moves stop at the ends and never activate; a deletion asks first; a mode
    // without records leaves nothing to move, activate or delete.
    void movesAndDelete()
    {
        addRecords({"20240303 K-0003", "20240302 K-O'2", "20240301 K-0001"});
        pb->potaMode = "Activating";
        home->prompter.clear();
        QCOMPARE(pb->loadActivations(), 3);
        const QString shownPark = pb->ui->parkReference->text();
        const QList<std::pair<void (Parkbook::*)(), int>> moves = {
            {&Parkbook::nextActivation, 3}, // no position yet: to the end
            {&Parkbook::nextActivation, 3},     {&Parkbook::topActivation, 1},
            {&Parkbook::previousActivation, 1}, {&Parkbook::endActivation, 3},
            {&Parkbook::previousActivation, 2}};
        for (const auto& [move, line] : moves) {
            (pb.get()->*move)();
            QCOMPARE(QString("%1 %2").arg(pb->activationListId).arg(pb->activationParkId),
                     QString("%1 %1").arg(line));
        }
        QCOMPARE(pb->ui->parkReference->text(), shownPark);

        pb->activationLog->setWindowTitle("Before");
        pb->deletePark(); // no scripted answer: the default, No
        QCOMPARE(home->prompter.shown[0].defaultButton, QMessageBox::No);
        QVERIFY(home->prompter.shown[0].text.contains("K-O'2"));
        QCOMPARE(pb->activationLog->windowTitle(),
                 QString("Alt+A: Activation Log,  Activations = 3"));
        // F10 in the list window deletes the same way; the cursor rests on
        // the line that followed.
        home->prompter.answers.append(QMessageBox::Yes);
        Q_EMIT pb->activationLog->deleteSig();
        QCOMPARE(listed(pb.get()), QStringList({"20240303 K-0003", "20240301 K-0001"}));
        QCOMPARE(pb->activationLog->ui->log->textCursor().blockNumber(), 1);

        home->prompter.clear();
        pb->on_modeHunter_clicked();
        const QString date = pb->ui->parkDate->text();
        for (auto step :
             {&Parkbook::topActivation, &Parkbook::nextActivation, &Parkbook::previousActivation,
              &Parkbook::endActivation, &Parkbook::on_activate_clicked, &Parkbook::deletePark})
            (pb.get()->*step)();
        QVERIFY(home->prompter.shown.isEmpty());
        QCOMPARE(QString("%1 %2 ").arg(pb->activationListId).arg(pb->activationParkId) +
                     run("SELECT count(*) FROM parks").join("") + pb->ui->parkDate->text(),
                 "0 0 2" + date);
    }

    void keysOfTheMainWindow()
    {
        addRecords({"20240303 K-0003", "20240301 K-0001"});
        pb->show();
        pb->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));
        press(pb.get(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(pb->activationParkId, 1);
        pb->activateWindow(); // the list window took the focus
        QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));
        press(pb.get(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(pb->activationParkId, 2);
        press(pb.get(), Qt::Key_F6);
        QCOMPARE(pb->ui->parkReference->text(), QString("K-0001"));
        press(pb.get(), Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(pb->activationParkId, 1);
        press(pb.get(), Qt::Key_H, Qt::AltModifier);
        QCOMPARE(pb->potaMode, QString("Hunting"));
    }

    // Selecting a slot, by click or Up/Down (which wrap), ticks only it and
    // announces the park; editing the selected slot announces it too. The
    // state sets the location; the selection and ticks survive in the
    // settings, and reading them announces nothing and repeats no list.
    void stationWindow()
    {
        const QDir ini(home->iniPath());
        {
            Station window;
            window.readSettings(ini);
            Signals sent(&window);
            QTest::keyClicks(window.ui->name1, "o'neil");
            QCOMPARE(window.ui->name1->text(), QString("O'neil"));
            for (int n : {1, 2, 5})
                window.activeBox(n)->setChecked(true);
            sent.taken();
            window.ui->pk3->click();
            QCOMPARE(ticked(&window) + " " + sent.taken(), QString("3 1/0"));
            const QList<std::tuple<int, const char*, int>> moves = {
                {5, "nextPark", 1}, {5, "previousPark", 4}, {1, "previousPark", 5}};
            for (const auto& [from, move, to] : moves) {
                window.parkButton(from)->setChecked(true);
                sent.taken();
                QVERIFY(QMetaObject::invokeMethod(&window, move));
                QCOMPARE(QString::number(window.selectedSlot()) + ticked(&window) + " " +
                             sent.taken(),
                         QString("%1%1 1/0").arg(to));
            }
            QTest::keyClicks(window.ui->pRef2, "k-2"); // slot 5 is selected
            QCOMPARE(sent.taken(), QString("0/0"));
            window.ui->pk2->click();
            sent.taken();
            QTest::keyClicks(window.ui->pRef2, "0");
            QTest::keyClicks(window.ui->name2, "s");
            QCOMPARE(sent.taken(), QString("2/0"));

            window.ui->state->setCurrentText("TX");
            window.ui->state->setCurrentIndex(0); // "?" leaves the location as it is
            QCOMPARE(window.ui->location->text(), QString("US-TX"));
            window.ui->location->clear();
            QTest::keyClicks(window.ui->location, "us-tx");
            QCOMPARE(window.ui->location->text(), QString("US-TX"));
            window.ui->pk4->click();
            window.ui->act2->setChecked(true);
            window.writeSettings(ini);
        }
        Station second;
        Signals sent(&second);
        auto lists = [&second] {
            return second.ui->band->count() + second.ui->mode->count() + second.ui->state->count();
        };
        second.readSettings(ini);
        const int once = lists();
        second.readSettings(ini);
        QCOMPARE(QString("%1 %2%3 %4")
                         .arg(lists() - once)
                         .arg(second.selectedSlot())
                         .arg(ticked(&second), sent.taken()) +
                     second.ui->location->text(),
                 QString("0 424 0/0"));
        QSettings(home->iniPath(), QSettings::IniFormat).setValue("Station/Select", "PK9");
        QSettings(home->iniPath(), QSettings::IniFormat).setValue("Station/Active1", "active");
        Station third;
        third.readSettings(ini);
        // An unknown selection falls back to slot 1; only "Active" ticks.
        QCOMPARE(QString::number(third.selectedSlot()) + ticked(&third), QString("124"));
    }

    // A first start asks for the call signs; a later one shows the selected
    // slot's park and takes the stored values, "?" for those not in a list.
    void stationRecord()
    {
        QCOMPARE(home->prompter.count("Enter Callsigns"), 1);
        QCOMPARE(pb->station->ui->mode->currentText() + pb->station->ui->state->currentText(),
                 QString("??"));
        storeStation("CW 40m CT  ");
        QSettings settings(home->iniPath(), QSettings::IniFormat);
        settings.setValue("Station/Select", "PK2");
        settings.setValue("Station/Active1", "No");
        settings.setValue("Station/Active2", "Active");
        settings.sync();
        home->prompter.clear();
        pb.reset();
        pb = home->makeParkbook();
        Ui::Station* s = pb->station->ui;
        QCOMPARE(ticked(pb->station) + " " + pb->ui->parkReference->text() + " " +
                     pb->ui->parkName->text() + " " + home->prompter.titles().join(""),
                 QString("2 K-0002 Second Park "));

        storeStation("ft8 20M tx yes Yes");
        s->location->clear();
        pb->setStationDetails();
        // "ft8" stays the working value of the entry; the location is not
        // read back, and "?" gives none.
        QCOMPARE(s->mode->currentText() + s->band->currentText() + s->state->currentText() +
                     pb->contactMode + s->location->text(),
                 QString("???ft8"));
        QVERIFY(!s->mst1->isChecked() && s->mst2->isChecked());
        storeStation("FT8 20m TX  ");
        pb->setStationDetails();
        QCOMPARE(s->mode->currentText() + s->location->text(), QString("FT8US-TX"));
        s->call->setText("K1XYZ");
        s->name1->setText("O'Brien's Park");
        pb->saveStation();
        QCOMPARE(pb->operatorCall + " " + run("SELECT call, name1 FROM station").join(' '),
                 QString("K1XYZ K1XYZ|O'Brien's Park"));
    }
};

QTEST_MAIN(TestParks)
#include "tst_activations.moc"
