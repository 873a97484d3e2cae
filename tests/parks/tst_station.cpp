#include "app/parkbook.h"
#include "parks/station.h"
#include "parks/textcase.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace
{
// The signals a slot change may send, so a test can tell which were emitted.
struct StationSpies {
    explicit StationSpies(Station* s)
        : newPark(s, &Station::newParkSig), act1(s, &Station::act1Sig), act2(s, &Station::act2Sig),
          act3(s, &Station::act3Sig), act4(s, &Station::act4Sig), act5(s, &Station::act5Sig)
    {
    }
    int actCount() const
    {
        return act1.count() + act2.count() + act3.count() + act4.count() + act5.count();
    }
    QSignalSpy newPark, act1, act2, act3, act4, act5;
};

QList<bool> ticks(Station* s)
{
    return {s->ui->act1->isChecked(), s->ui->act2->isChecked(), s->ui->act3->isChecked(),
            s->ui->act4->isChecked(), s->ui->act5->isChecked()};
}

int stationRows()
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.exec("SELECT COUNT(*) FROM station");
    return query.next() ? query.value(0).toInt() : -1;
}

// Replaces the station record behind the window's back, as an older
// version or another tool may have left it.
void storeRow(const QString& mode, const QString& band, const QString& state, const QString& mst1,
              const QString& mst2)
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("DELETE FROM station"));
    QVERIFY(query.prepare("INSERT INTO station (station, call, passwd, lat, lon, mode, band, "
                          "frequency, power, county, state, location, park1, name1, mst1, "
                          "park2, name2, mst2, park3, name3, mst3) VALUES ('W1AW', 'K1ABC', "
                          "'secret', '41.7', '-72.7', ?, ?, '14.074', '5', 'Hartford', ?, "
                          "'XX-YY', 'K-0001', 'First Park', ?, 'K-0002', 'Second Park', ?, "
                          "'K-0003', 'Third Park', '')"));
    for (const QString& value : {mode, band, state, mst1, mst2})
        query.addBindValue(value);
    QVERIFY(query.exec());
}
} // namespace

class TestStation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capitalize();
    void slotNavigation_data();
    void slotNavigation();
    void selectingSlotTicksOnlyItsBox();
    void editingSelectedSlotAnnouncesPark();
    void stateSetsLocation();
    void settingsRoundTrip();
    void settingsFallBackToFirstSlot();
    void emptyTableOnFirstStart();
    void firstSaveInsertsLaterSavesUpdate();
    void unknownListValuesShowQuestionMark();
    void selectionSurvivesRestart();
};

void TestStation::capitalize()
{
    QCOMPARE(TextCase::toCapitalize("yellowstone NATIONAL park"),
             QString("Yellowstone National Park"));
    QCOMPARE(TextCase::toCapitalize("o'neil"), QString("O'neil"));
    QCOMPARE(TextCase::toCapitalize("twin-lakes"), QString("Twin-lakes"));
    QCOMPARE(TextCase::toCapitalize(""), QString(""));
    Station window; // park names are capitalised as they are typed
    QTest::keyClicks(window.ui->name1, "o'neil");
    QCOMPARE(window.ui->name1->text(), QString("O'neil"));
}

void TestStation::slotNavigation_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("to");
    QTest::newRow("5 down wraps to 1") << 5 << "nextPark" << 1;
    QTest::newRow("5 up") << 5 << "previousPark" << 4;
    QTest::newRow("1 up wraps to 5") << 1 << "previousPark" << 5;
}

void TestStation::slotNavigation()
{
    QFETCH(int, from);
    QFETCH(QString, move);
    QFETCH(int, to);
    Station window;
    window.parkButton(from)->setChecked(true);
    StationSpies spies(&window);
    QVERIFY(QMetaObject::invokeMethod(&window, move.toLatin1().constData()));
    QCOMPARE(window.selectedSlot(), to);
    QList<bool> expected(5, false);
    expected[to - 1] = true;
    QCOMPARE(ticks(&window), expected);
    QCOMPARE(spies.newPark.count(), 1);
    QCOMPARE(spies.actCount(), 0);
}

void TestStation::selectingSlotTicksOnlyItsBox()
{
    Station window;
    window.ui->act1->setChecked(true);
    window.ui->act2->setChecked(true);
    window.ui->act5->setChecked(true);
    StationSpies spies(&window);
    window.ui->pk3->click();
    QCOMPARE(window.selectedSlot(), 3);
    QCOMPARE(ticks(&window), (QList<bool>{false, false, true, false, false}));
    QCOMPARE(spies.newPark.count(), 1);
    QCOMPARE(spies.actCount(), 0);
}

void TestStation::editingSelectedSlotAnnouncesPark()
{
    Station window;
    QSignalSpy newPark(&window, &Station::newParkSig);
    QTest::keyClicks(window.ui->pRef2, "k-2"); // slot 1 is selected
    QCOMPARE(newPark.count(), 0);
    window.ui->pk2->click();
    newPark.clear();
    QTest::keyClicks(window.ui->pRef2, "0");
    QCOMPARE(newPark.count(), 1);
    QTest::keyClicks(window.ui->name2, "s");
    QCOMPARE(newPark.count(), 2);
}

void TestStation::stateSetsLocation()
{
    TempHome home;
    Station window;
    window.readSettings(QDir(home.iniPath()));
    window.ui->state->setCurrentText("TX");
    QCOMPARE(window.ui->location->text(), QString("US-TX"));
    window.ui->state->setCurrentIndex(0); // "?" leaves the location as it is
    QCOMPARE(window.ui->location->text(), QString("US-TX"));
    window.ui->location->clear();
    QTest::keyClicks(window.ui->location, "us-tx");
    QCOMPARE(window.ui->location->text(), QString("US-TX"));
}

void TestStation::settingsRoundTrip()
{
    TempHome home;
    {
        Station first;
        first.readSettings(QDir(home.iniPath()));
        first.ui->pk4->click();
        first.ui->act2->setChecked(true);
        first.writeSettings(QDir(home.iniPath()));
    }
    QSettings settings(home.iniPath(), QSettings::IniFormat);
    QCOMPARE(settings.value("Station/Select").toString(), QString("PK4"));
    QCOMPARE(settings.value("Station/Active2").toString(), QString("Active"));

    Station second;
    StationSpies spies(&second);
    second.readSettings(QDir(home.iniPath()));
    second.readSettings(QDir(home.iniPath())); // a second read must not repeat the lists
    QCOMPARE(second.selectedSlot(), 4);
    QCOMPARE(ticks(&second), (QList<bool>{false, true, false, true, false}));
    QCOMPARE(spies.newPark.count(), 0);
    QCOMPARE(spies.actCount(), 0);
    QCOMPARE(second.ui->location->text(), QString());
    QCOMPARE(second.ui->band->count(), 27);
    QCOMPARE(second.ui->mode->count(), 48);
    QCOMPARE(second.ui->state->count(), 52);
}

void TestStation::settingsFallBackToFirstSlot()
{
    TempHome home;
    {
        QSettings settings(home.iniPath(), QSettings::IniFormat);
        settings.setValue("Station/Select", "PK9");
        settings.setValue("Station/Active3", "active");
    }
    Station window;
    window.readSettings(QDir(home.iniPath()));
    QCOMPARE(window.selectedSlot(), 1);
    QCOMPARE(ticks(&window), (QList<bool>{true, false, false, false, false}));
}

void TestStation::emptyTableOnFirstStart()
{
    TempHome home;
    auto pb = home.makeParkbook();
    Station* s = pb->station;
    QCOMPARE(stationRows(), 0);
    QCOMPARE(home.prompter.count("Enter Callsigns"), 1);
    QVERIFY(s->isVisible());
    for (QLineEdit* edit : {s->ui->call, s->ui->lat, s->ui->pRef1, s->ui->name5})
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    for (QComboBox* box : {s->ui->mode, s->ui->band, s->ui->state})
        QCOMPARE(box->currentText(), QString("?"));
}

void TestStation::firstSaveInsertsLaterSavesUpdate()
{
    TempHome home;
    auto pb = home.makeParkbook();
    Station* s = pb->station;
    s->ui->station->setText("W1AW");
    s->ui->call->setText("K1ABC");
    s->ui->pwd->setText("pa'ss");
    s->ui->name1->setText("O'Brien's Park");
    s->ui->mst1->setChecked(true);
    pb->saveStation();
    QCOMPARE(stationRows(), 1);

    s->ui->call->setText("K1XYZ");
    s->ui->mst1->setChecked(false);
    s->ui->mst2->setChecked(true);
    pb->saveStation();
    pb->saveStation();
    QCOMPARE(stationRows(), 1);
    QCOMPARE(pb->operatorCall, QString("K1XYZ"));
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("SELECT station, call, passwd, name1, mst1, mst2 FROM station"));
    QVERIFY(query.next());
    const QStringList expected = {"W1AW", "K1XYZ", "pa'ss", "O'Brien's Park", "", "Yes"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(query.value(i).toString(), expected[i]);
}

void TestStation::unknownListValuesShowQuestionMark()
{
    TempHome home;
    auto pb = home.makeParkbook();
    Station* s = pb->station;

    storeRow("ft8", "20M", "tx", "yes", "Yes");
    s->ui->location->clear();
    pb->setStationDetails();
    QCOMPARE(s->ui->mode->currentText(), QString("?"));
    QCOMPARE(s->ui->band->currentText(), QString("?"));
    QCOMPARE(s->ui->state->currentText(), QString("?"));
    QCOMPARE(pb->contactMode, QString("ft8")); // still the working value of the entry
    QVERIFY(!s->ui->mst1->isChecked());
    QVERIFY(s->ui->mst2->isChecked());
    QCOMPARE(s->ui->location->text(), QString()); // not read back; "?" gives none

    storeRow("FT8", "20m", "TX", "", "");
    pb->setStationDetails();
    QCOMPARE(s->ui->mode->currentText(), QString("FT8"));
    QCOMPARE(s->ui->location->text(), QString("US-TX"));
}

void TestStation::selectionSurvivesRestart()
{
    TempHome home;
    {
        auto pb = home.makeParkbook();
        storeRow("CW", "40m", "CT", "", "");
    }
    {
        QSettings settings(home.iniPath(), QSettings::IniFormat);
        settings.setValue("Station/Select", "PK2");
        settings.setValue("Station/Active1", "No");
        settings.setValue("Station/Active2", "Active");
    }
    home.prompter.clear();
    auto pb = home.makeParkbook();
    // The selected slot, not always slot 1, is the park of the main window.
    QCOMPARE(ticks(pb->station), (QList<bool>{false, true, false, false, false}));
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0002"));
    QCOMPARE(pb->ui->parkName->text(), QString("Second Park"));
    QCOMPARE(home.prompter.count("Enter Callsigns"), 0);
}

QTEST_MAIN(TestStation)
#include "tst_station.moc"
