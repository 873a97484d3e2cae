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
// Every signal of the window, so a test can tell that none was emitted.
struct StationSpies {
    explicit StationSpies(Station* s)
        : newPark(s, &Station::newParkSig), newLocation(s, &Station::newLocationSig),
          newGrid(s, &Station::newGridSig), act1(s, &Station::act1Sig), act2(s, &Station::act2Sig),
          act3(s, &Station::act3Sig), act4(s, &Station::act4Sig), act5(s, &Station::act5Sig)
    {
    }
    int actCount() const
    {
        return act1.count() + act2.count() + act3.count() + act4.count() + act5.count();
    }
    QSignalSpy newPark, newLocation, newGrid, act1, act2, act3, act4, act5;
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
              const QString& mst2, const QString& location = "XX-YY")
{
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("DELETE FROM station"));
    QVERIFY(query.prepare("INSERT INTO station (station, call, passwd, lat, lon, mode, band, "
                          "frequency, power, county, state, location, park1, name1, mst1, "
                          "park2, name2, mst2, park3, name3, mst3) VALUES ('W1AW', 'K1ABC', "
                          "'secret', '41.7', '-72.7', ?, ?, '14.074', '5', 'Hartford', ?, ?, "
                          "'K-0001', 'First Park', ?, 'K-0002', 'Second Park', ?, 'K-0003', "
                          "'Third Park', '')"));
    query.addBindValue(mode);
    query.addBindValue(band);
    query.addBindValue(state);
    query.addBindValue(location);
    query.addBindValue(mst1);
    query.addBindValue(mst2);
    QVERIFY(query.exec());
}
} // namespace

class TestStation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capitalize_data();
    void capitalize();
    void typingAids();
    void stateSetsLocation();
    void slotNavigation_data();
    void slotNavigation();
    void selectingSlotTicksOnlyItsBox();
    void editingSelectedSlotAnnouncesPark();
    void formDefaults();
    void closeHidesAndAnnounces();
    void settingsRoundTrip();
    void settingsFallBackToFirstSlot();
    void emptyTableOnFirstStart();
    void firstSaveInsertsLaterSavesUpdate();
    void unknownListValuesShowQuestionMark();
    void loadCopiesSelectedSlot();
    void selectionSurvivesRestart();
};

void TestStation::capitalize_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("words") << "yellowstone NATIONAL park"
                           << "Yellowstone National Park";
    QTest::newRow("apostrophe") << "o'neil"
                                << "O'neil";
    QTest::newRow("hyphen") << "twin-lakes"
                            << "Twin-lakes";
    QTest::newRow("double space") << "a  bC"
                                  << "A  Bc";
    QTest::newRow("leading space") << " park"
                                   << " Park";
    QTest::newRow("empty") << ""
                           << "";
}

void TestStation::capitalize()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(TextCase::toCapitalize(typed), shown);

    Station window;
    QCOMPARE(window.toCapitalize(typed), shown);
    QTest::keyClicks(window.ui->name1, typed);
    QCOMPARE(window.ui->name1->text(), shown);
}

void TestStation::typingAids()
{
    Station window;
    QTest::keyClicks(window.ui->station, "w1aw/p");
    QCOMPARE(window.ui->station->text(), QString("W1AW/P"));
    QTest::keyClicks(window.ui->call, "k1abc");
    QCOMPARE(window.ui->call->text(), QString("K1ABC"));
    QTest::keyClicks(window.ui->pRef4, "k-1234");
    QCOMPARE(window.ui->pRef4->text(), QString("K-1234"));
    QTest::keyClicks(window.ui->county, "new haven");
    QCOMPARE(window.ui->county->text(), QString("New Haven"));

    // The cursor stays where the typing happened, not at the end.
    window.ui->pRef1->setText("k-12");
    window.ui->pRef1->setCursorPosition(2);
    QTest::keyClicks(window.ui->pRef1, "x");
    QCOMPARE(window.ui->pRef1->text(), QString("K-X12"));
    QCOMPARE(window.ui->pRef1->cursorPosition(), 3);
}

void TestStation::stateSetsLocation()
{
    TempHome home;
    home.writeQuietSettings();
    auto pb = home.makeParkbook();
    Station* s = pb->station;
    StationSpies spies(s);

    s->ui->state->setCurrentText("TX");
    QCOMPARE(s->ui->state->currentText(), QString("TX"));
    QCOMPARE(s->ui->location->text(), QString("US-TX"));
    QVERIFY(spies.newLocation.count() >= 1);

    spies.newLocation.clear();
    s->ui->state->setCurrentIndex(0);
    QCOMPARE(s->ui->location->text(), QString("US-TX"));
    QCOMPARE(spies.newLocation.count(), 0);

    s->ui->location->clear();
    spies.newLocation.clear();
    QTest::keyClicks(s->ui->location, "us-tx");
    QCOMPARE(s->ui->location->text(), QString("US-TX"));
    QVERIFY(spies.newLocation.count() >= 5);

    spies.newLocation.clear();
    QTest::keyClicks(s->ui->county, "x");
    QCOMPARE(spies.newLocation.count(), 1);

    spies.newGrid.clear();
    s->ui->lat->setText("41.7");
    s->ui->lon->setText("-72.7");
    QCOMPARE(spies.newGrid.count(), 2);
}

void TestStation::slotNavigation_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("to");
    QTest::newRow("5 down wraps to 1") << 5 << "nextPark" << 1;
    QTest::newRow("5 up") << 5 << "previousPark" << 4;
    QTest::newRow("1 up wraps to 5") << 1 << "previousPark" << 5;
    QTest::newRow("2 up") << 2 << "previousPark" << 1;
    QTest::newRow("3 down") << 3 << "nextPark" << 4;
    QTest::newRow("4 down") << 4 << "nextPark" << 5;
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

    window.ui->act2->click();
    QCOMPARE(spies.act2.count(), 1);
    QCOMPARE(spies.act2.at(0).at(0).toBool(), true);
    window.ui->act2->click();
    QCOMPARE(spies.act2.count(), 2);
    QCOMPARE(spies.act2.at(1).at(0).toBool(), false);
    QCOMPARE(spies.newPark.count(), 1);

    window.ui->mst4->click();
    QCOMPARE(spies.newPark.count(), 2);
}

void TestStation::editingSelectedSlotAnnouncesPark()
{
    Station window;
    QCOMPARE(window.selectedSlot(), 1);
    StationSpies spies(&window);

    QTest::keyClicks(window.ui->pRef2, "k-2");
    QTest::keyClicks(window.ui->name2, "two");
    QCOMPARE(window.ui->pRef2->text(), QString("K-2"));
    QCOMPARE(spies.newPark.count(), 0);

    window.ui->pk2->click();
    spies.newPark.clear();
    QTest::keyClicks(window.ui->pRef2, "0");
    QCOMPARE(spies.newPark.count(), 1);
    QTest::keyClicks(window.ui->name2, "s");
    QCOMPARE(spies.newPark.count(), 2);
    QTest::keyClicks(window.ui->pRef1, "k");
    QCOMPARE(spies.newPark.count(), 2);
}

void TestStation::formDefaults()
{
    Station window;
    QCOMPARE(window.size(), QSize(580, 250));
    QCOMPARE(window.minimumSize(), QSize(580, 150));
    QCOMPARE(window.maximumSize(), QSize(600, 250));
    QCOMPARE(window.ui->pwd->echoMode(), QLineEdit::PasswordEchoOnEdit);
    QCOMPARE(ticks(&window), (QList<bool>{true, false, false, false, false}));
    QVERIFY(window.ui->pk1->isChecked());
    QVERIFY(!window.ui->mst1->isChecked());
    QVERIFY(window.ui->grid->isReadOnly());
    QCOMPARE(window.ui->expire->focusPolicy(), Qt::NoFocus);
    QVERIFY(!window.ui->connectQRZ->autoDefault());
    for (QComboBox* box : {window.ui->state, window.ui->mode, window.ui->band}) {
        QVERIFY(box->isEditable());
        QVERIFY(!box->lineEdit()->isEnabled());
        QVERIFY(box->lineEdit()->isReadOnly());
        QCOMPARE(box->maxVisibleItems(), 20);
    }

    // Keyboard focus follows the form's order from the station call to the
    // last activation box.
    const QList<QWidget*> order = {
        window.ui->station,   window.ui->call,  window.ui->pwd,      window.ui->lat,
        window.ui->lon,       window.ui->state, window.ui->mode,     window.ui->band,
        window.ui->frequency, window.ui->power, window.ui->location, window.ui->county,
        window.ui->pRef1,     window.ui->name1, window.ui->pRef2,    window.ui->name2,
        window.ui->pRef3,     window.ui->name3, window.ui->pRef4,    window.ui->name4,
        window.ui->pRef5,     window.ui->name5, window.ui->act1,     window.ui->act2,
        window.ui->act3,      window.ui->act4,  window.ui->act5};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || !order.contains(next))
            next = next->nextInFocusChain();
        QCOMPARE(next, order[i + 1]);
    }
}

void TestStation::closeHidesAndAnnounces()
{
    Station window;
    window.show();
    QSignalSpy closed(&window, &Station::closeSig);
    QSignalSpy escaped(&window, &Station::escapeSig);
    QVERIFY(window.close());
    QVERIFY(window.isHidden());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(escaped.count(), 0);
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
    QCOMPARE(settings.value("Station/Active1").toString(), QString("No"));
    QCOMPARE(settings.value("Station/Exist").toString(), QString("Yes"));
    QCOMPARE(settings.value("Station/Visible").toString(), QString("No"));

    Station second;
    StationSpies spies(&second);
    second.readSettings(QDir(home.iniPath()));
    second.readSettings(QDir(home.iniPath())); // a second read must not repeat the lists
    QCOMPARE(second.selectedSlot(), 4);
    QCOMPARE(ticks(&second), (QList<bool>{false, true, false, true, false}));
    QCOMPARE(second.visibility, QString("No"));
    QCOMPARE(spies.newPark.count(), 0);
    QCOMPARE(spies.actCount(), 0);
    QCOMPARE(spies.newLocation.count(), 0);
    QCOMPARE(second.ui->location->text(), QString());

    QCOMPARE(second.ui->band->count(), 27);
    QCOMPARE(second.ui->mode->count(), 48);
    QCOMPARE(second.ui->state->count(), 52);
    QCOMPARE(second.ui->band->itemText(0), QString("?"));
    QCOMPARE(second.ui->band->itemText(26), QString("3cm"));
    QCOMPARE(second.ui->mode->itemText(15), QString("FT8"));
    QCOMPARE(second.ui->mode->itemText(47), QString("WSPR"));
    QCOMPARE(second.ui->state->itemText(1), QString("AL"));
    QCOMPARE(second.ui->state->itemText(50), QString("WY"));
    QCOMPARE(second.ui->state->itemText(51), QString("DC"));
    QCOMPARE(second.ui->state->currentText(), QString("?"));
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
    QCOMPARE(window.visibility, QString("Yes"));
    QCOMPARE(window.size(), QSize(580, 250));
    QCOMPARE(window.pos(), QPoint(0, 261));
}

void TestStation::emptyTableOnFirstStart()
{
    TempHome home;
    home.writeQuietSettings();
    auto pb = home.makeParkbook();
    Station* s = pb->station;

    QCOMPARE(stationRows(), 0);
    QCOMPARE(home.prompter.count("Enter Callsigns"), 1);
    const int box = home.prompter.titles().indexOf("Enter Callsigns");
    QCOMPARE(home.prompter.shown.at(box).text,
             QString("Please enter the Station and Operator Callsigns in the\n"
                     "Station Details window before beginning to log contacts."));
    QCOMPARE(home.prompter.shown.at(box).icon, QMessageBox::Information);
    QVERIFY(s->isVisible());
    QCOMPARE(s->windowTitle(), QString("Alt+S: Station Details"));

    for (QLineEdit* edit : {s->ui->call, s->ui->pwd, s->ui->lat, s->ui->lon, s->ui->power,
                            s->ui->frequency, s->ui->county, s->ui->pRef1, s->ui->name5})
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    for (QComboBox* box : {s->ui->mode, s->ui->band, s->ui->state})
        QCOMPARE(box->currentText(), QString("?"));
    QVERIFY(!s->ui->mst1->isChecked());
}

void TestStation::firstSaveInsertsLaterSavesUpdate()
{
    TempHome home;
    home.writeQuietSettings();
    auto pb = home.makeParkbook();
    Station* s = pb->station;

    s->ui->station->setText("W1AW");
    s->ui->call->setText("K1ABC");
    s->ui->pwd->setText("pa'ss");
    s->ui->mode->setCurrentText("CW");
    s->ui->band->setCurrentText("40m");
    s->ui->state->setCurrentText("CT");
    s->ui->pRef1->setText("K-0001");
    s->ui->name1->setText("O'Brien's Park");
    s->ui->mst1->setChecked(true);
    pb->saveStation();
    QCOMPARE(stationRows(), 1);
    QCOMPARE(pb->stationCall, QString("W1AW"));
    QCOMPARE(pb->operatorCall, QString("K1ABC"));

    s->ui->call->setText("K1XYZ");
    s->ui->mst1->setChecked(false);
    s->ui->mst2->setChecked(true);
    pb->saveStation();
    pb->saveStation();
    QCOMPARE(stationRows(), 1);
    QCOMPARE(pb->operatorCall, QString("K1XYZ"));

    QSqlQuery query(QSqlDatabase::database("parkbook"));
    QVERIFY(query.exec("SELECT station, call, passwd, mode, band, state, location, park1, "
                       "name1, mst1, mst2 FROM station"));
    QVERIFY(query.next());
    const QStringList expected = {"W1AW",  "K1XYZ",  "pa'ss",          "CW", "40m", "CT",
                                  "US-CT", "K-0001", "O'Brien's Park", "",   "Yes"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(query.value(i).toString(), expected[i]);

    // A reload shows what was saved.
    s->ui->call->clear();
    s->ui->mode->setCurrentIndex(0);
    pb->setStationDetails();
    QCOMPARE(s->ui->call->text(), QString("K1XYZ"));
    QCOMPARE(s->ui->mode->currentText(), QString("CW"));
    QVERIFY(s->ui->mst2->isChecked());
    QVERIFY(!s->ui->mst1->isChecked());
    QCOMPARE(pb->contactMode, QString("CW"));
}

void TestStation::unknownListValuesShowQuestionMark()
{
    TempHome home;
    home.writeQuietSettings();
    auto pb = home.makeParkbook();
    Station* s = pb->station;

    storeRow("ft8", "20M", "tx", "yes", "Yes");
    s->ui->location->clear();
    pb->setStationDetails();
    QCOMPARE(s->ui->mode->currentText(), QString("?"));
    QCOMPARE(s->ui->band->currentText(), QString("?"));
    QCOMPARE(s->ui->state->currentText(), QString("?"));
    // The stored text is still the working value of the contact entry.
    QCOMPARE(pb->contactMode, QString("ft8"));
    QCOMPARE(pb->contactBand, QString("20M"));
    QCOMPARE(pb->contactState, QString("tx"));
    QVERIFY(!s->ui->mst1->isChecked());
    QVERIFY(s->ui->mst2->isChecked());
    // The stored location is not read back and the state gives none.
    QCOMPARE(s->ui->location->text(), QString());
    QCOMPARE(pb->ui->parkLocation->text(), QString());
    QCOMPARE(pb->ui->parkCounty->text(), QString("Hartford"));

    storeRow("FT8", "20m", "TX", "", "");
    pb->setStationDetails();
    QCOMPARE(s->ui->mode->currentText(), QString("FT8"));
    QCOMPARE(s->ui->band->currentText(), QString("20m"));
    QCOMPARE(s->ui->state->currentText(), QString("TX"));
    QCOMPARE(s->ui->location->text(), QString("US-TX"));
    QCOMPARE(pb->ui->parkLocation->text(), QString("US-TX"));
    QCOMPARE(s->ui->pwd->text(), QString("secret"));
    QCOMPARE(s->ui->name2->text(), QString("Second Park"));
}

void TestStation::loadCopiesSelectedSlot()
{
    TempHome home;
    home.writeQuietSettings();
    auto pb = home.makeParkbook();
    Station* s = pb->station;
    storeRow("CW", "40m", "CT", "", "");

    s->ui->pk3->setChecked(true);
    pb->setStationDetails();
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0003"));
    QCOMPARE(pb->ui->parkName->text(), QString("Third Park"));
    QCOMPARE(pb->currentPark, QString("K-0003"));

    s->ui->pk1->setChecked(true);
    pb->setStationDetails();
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0001"));
    QCOMPARE(pb->ui->parkName->text(), QString("First Park"));
}

void TestStation::selectionSurvivesRestart()
{
    TempHome home;
    home.writeQuietSettings();
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
    QCOMPARE(pb->station->selectedSlot(), 2);
    QCOMPARE(ticks(pb->station), (QList<bool>{false, true, false, false, false}));
    QCOMPARE(pb->ui->parkReference->text(), QString("K-0002"));
    QCOMPARE(pb->ui->parkName->text(), QString("Second Park"));
    QCOMPARE(pb->station->ui->call->text(), QString("K1ABC"));
    QCOMPARE(home.prompter.count("Enter Callsigns"), 0);
    QVERIFY(!pb->station->isVisible());
}

QTEST_MAIN(TestStation)
#include "tst_station.moc"
