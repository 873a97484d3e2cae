// The parks subsystem on 10 March 2024: the fixed-width lines of the lists
// and their small rules, the Station window, the activation records made from
// its slots, the activation and hunting lists, and the POTA park list seen
// from the windows (loading it, the slot autofill, the park-to-park hints).
#include "db/parklist.h"
#include "fakeupdateserver.h"
#include "journey.h"
#include "logging/loglines.h"
#include "parklistdata.h"
#include "parks/activationrecords.h"
#include "parks/fixedwidth.h"
#include "parks/laterule.h"
#include "parks/textcase.h"

#include <QProgressDialog>

using namespace Journey;

static ContactRow contact(const QString& call, const QString& name)
{
    return {"",   "093015", "",    call,     name,  "",       "", "", "",
            "MA", "",       "",    "",       "",    "",       "", "", "59",
            "57", "SSB",    "20m", "14.250", "100", "K-1234", "", "", "nice"};
}

// Records made by another program, "date park name..." each; MultiSt "Yes"
// for K-0002; ids from 1.
static void addRecords(const QStringList& records)
{
    for (const QString& r : records)
        run(QString("INSERT INTO parks (date, park, name, state, MultiSt) VALUES ('%1', '%2', "
                    "'%3', 'VA', '%4')")
                .arg(r.section(' ', 0, 0), r.section(' ', 1, 1).replace("'", "''"),
                     r.section(' ', 2), r.contains("K-0002") ? "Yes" : ""));
}
// What a Station window sent since the last look: P for a park announced,
// T for a slot ticked.
struct Signals {
    QString sent;
    explicit Signals(Station* station)
    {
        QObject::connect(station, &Station::newParkSig, [this] { sent += 'P'; });
        for (auto tick : {&Station::act1Sig, &Station::act2Sig, &Station::act3Sig,
                          &Station::act4Sig, &Station::act5Sig})
            QObject::connect(station, tick, [this] { sent += 'T'; });
    }
    QString taken() { return std::exchange(sent, QString()); }
};
// Replaces the station record behind the window's back, as an older version
// or another tool may have left it.
static void storeStation(const QString& values)
{
    run("DELETE FROM station");
    run("INSERT INTO station (call, park1, name1, park2, name2, mode, band, state, mst1, mst2) "
        "VALUES ('K1ABC', 'K-0001', 'First Park', 'K-0002', 'Second Park', '" +
        values.split(' ').join("', '") + "')");
}

// File > Import POTA Park List with `csv` as the chosen file.
static void importList(Parkbook& pb, TempHome& home, const QByteArray& csv)
{
    QFile file(home.dataPath() + "/all_parks_ext.csv");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
    file.close();
    home.prompter.paths.enqueue(file.fileName());
    pb.ui->actionImport_Park_List->trigger();
}

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
    // A contact is late before 12:00:00 UTC; a short time is read as hhmm...,
    // one that is no number is late. Names are capitalised word by word.
    void rulesAndLines()
    {
        QString late;
        for (const char* time :
             {"235959", "120000", "000001", "115959", "", "12ab00", "0930", "1230"})
            late += isLateContact(time) ? 'L' : '-';
        QCOMPARE(late, QString("--LLLLL-"));
        QCOMPARE(TextCase::toCapitalize("yellowstone NATIONAL park o'neil twin-lakes"),
                 QString("Yellowstone National Park O'neil Twin-lakes"));
        // A value is taken literally, even when it looks like a place marker.
        QCOMPARE(fixedWidthLine({{"%2", -3}, {"x", 1}}), QString("%2  x"));

        // Time is cut to hhmm and the name to 10 characters; a 7-character call
        // is kept whole and pushes the rest of the line one column right, as a
        // long park name pushes the county of an activation.
        const QString rest =
            "MA 59  57  K-1234     SSB      20m   14.250    100  nice" + QString(60, ' ');
        const QString plain = LogLines::parkLogLine(12, contact("K1ABC", "Bartholomews"));
        QCOMPARE(plain, " 12 0930 K1ABC  Bartholome " + rest);
        QCOMPARE(LogLines::parkLogLine(123, contact("KD1ABCD", "Joe")),
                 "123 0930 KD1ABCD Joe        " + rest);
        QCOMPARE(LogLines::parkLogHeader().indexOf("Comments"), plain.indexOf("nice"));
        QCOMPARE(LogLines::parkLogHeader().size(), plain.size());

        QCOMPARE(LogLines::contactLogLine(
                     {"42", "20260601", "XX-1234567", "093015", "K1ABC", "20m", "SSB", "K-1234"}),
                 QString("   42 20260601 XX-1234567 0930 K1ABC  20m   SSB      K-1234    "));

        auto activationLine = [](const QByteArray& name) {
            QByteArray line;
            appendActivationLine(line, {0, "20240301", "K-0001", name, "38.1", "-78.2", "Albemarle",
                                        "VA", "US-VA", "7", "0", "123"});
            return QString::fromUtf8(line);
        };
        const QString line = activationLine("Short");
        QCOMPARE(line, "20240301 K-0001     VA   7   0 123 38.1     -78.2     US-VA " +
                           QString("Short").leftJustified(64) + " " +
                           QString("Albemarle").leftJustified(20));
        QCOMPARE(activationLine(QByteArray(70, 'N')).indexOf("Albemarle"),
                 line.indexOf("Albemarle") + 6);
        QCOMPARE(activationHeader().indexOf("Park Name"), line.indexOf("Short"));
    }

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
        qunsetenv("PARKBOOK_PARK_LIST_URL");
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
    void modesAndKeys()
    {
        addRecords({"20240115 K-0001 January Park", "20240215 K-0002 February Park",
                    "20240120 HUNTER Hunting for Activations"});
        fillSlot(2, "K-9999", "Whatever Was There");
        pb->station->parkButton(2)->setChecked(true);
        pb->on_modeActivator_clicked();
        QCOMPARE(listed(pb.get()), QStringList({"20240215 K-0002", "20240115 K-0001"}));
        QCOMPARE(QString::number(pb->activationParkId) + slotText(1) + slotText(2) +
                     pb->ui->parkDate->text() +
                     QString::number(pb->station->multiStateBox(2)->isChecked()),
                 QString("2 K-0002 February Park202402151"));
        QCOMPARE(colours(pb.get(), pb->activationLog), QString("GT"));
        QCOMPARE(pb->displayActivations(1, 1), 2);
        QCOMPARE(colours(pb.get(), pb->activationLog) +
                     QString::number(pb->activationLog->ui->log->textCursor().blockNumber()),
                 QString("TG0"));

        // Hunting lists only "HUNTER" records and selects slot 1 for them.
        pb->ui->actionHunting_Log->trigger();
        QCOMPARE(listed(pb.get()), QStringList({"20240120 HUNTER"}));
        QCOMPARE(QString::number(pb->activationParkId * 10 + pb->station->selectedSlot()) +
                     slotText(1),
                 QString("31HUNTER Hunting for Activations"));
        pb->ui->modeActivator->click();
        QCOMPARE(pb->potaMode + " " + slotText(1), QString("Activating K-0002 February Park"));

        // Alt+A opens the list on the current record (the list takes the
        // focus), Alt+Down/Up move, F6 activates, Alt+H switches to hunting.
        pb->show();
        QString seen;
        for (const QKeyCombination key :
             {Qt::ALT | Qt::Key_A, Qt::ALT | Qt::Key_Down, QKeyCombination(Qt::Key_F6),
              Qt::ALT | Qt::Key_Up, Qt::ALT | Qt::Key_H}) {
            pb->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(pb.get(), 5000));
            press(pb.get(), key.key(), key.keyboardModifiers());
            seen += QString::number(pb->activationParkId) + pb->ui->parkReference->text() +
                    pb->potaMode + ' ';
        }
        QCOMPARE(seen,
                 QString("2K-0002Activating 1K-0002Activating 1K-0001Activating 2K-0001Activating "
                         "3HUNTERHunting "));
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
        // Next with no position yet goes to the end.
        QString lines;
        for (auto move : {&Parkbook::nextActivation, &Parkbook::nextActivation,
                          &Parkbook::topActivation, &Parkbook::previousActivation,
                          &Parkbook::endActivation, &Parkbook::previousActivation}) {
            (pb.get()->*move)();
            lines += QString("%1/%2 ").arg(pb->activationListId).arg(pb->activationParkId);
        }
        QCOMPARE(lines + pb->ui->parkReference->text(), "3/3 3/3 1/1 1/1 3/3 2/2 " + shownPark);

        pb->activationLog->setWindowTitle("Before");
        pb->deletePark(); // no scripted answer: the default, No
        QVERIFY(home->prompter.shown[0].defaultButton == QMessageBox::No &&
                home->prompter.shown[0].text.contains("K-O'2"));
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
            QCOMPARE(ticked(&window) + " " + sent.taken(), QString("3 P"));
            for (const auto& [from, move, to] :
                 {std::tuple(5, "nextPark", 1), {5, "previousPark", 4}, {1, "previousPark", 5}}) {
                window.parkButton(from)->setChecked(true);
                QVERIFY(QMetaObject::invokeMethod(&window, move));
                QCOMPARE(QString::number(window.selectedSlot()) + ticked(&window) + " " +
                             sent.taken(),
                         QString("%1%1 P").arg(to));
            }
            QTest::keyClicks(window.ui->pRef2, "k-2"); // slot 5 is selected
            QCOMPARE(sent.taken(), QString());
            window.ui->pk2->click();
            QTest::keyClicks(window.ui->pRef2, "0");
            QTest::keyClicks(window.ui->name2, "s");
            QCOMPARE(sent.taken(), QString("PPP"));

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
        QCOMPARE(QStringList({QString::number(lists() - once), sent.taken(), ticked(&second),
                              QString::number(second.selectedSlot()), second.ui->location->text()}),
                 QStringList({"0", "", "24", "4", ""}));
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
        for (const auto& [key, value] :
             {std::pair("Select", "PK2"), {"Active1", "No"}, {"Active2", "Active"}})
            QSettings(home->iniPath(), QSettings::IniFormat)
                .setValue(QString("Station/") + key, value);
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
                     pb->contactMode + s->location->text() +
                     QString::number(s->mst1->isChecked() + 2 * s->mst2->isChecked()),
                 QString("???ft82"));
        storeStation("FT8 20m TX  ");
        pb->setStationDetails();
        QCOMPARE(s->mode->currentText() + s->location->text(), QString("FT8US-TX"));
        s->call->setText("K1XYZ");
        s->name1->setText("O'Brien's Park");
        pb->saveStation();
        QCOMPARE(pb->operatorCall + " " + run("SELECT call, name1 FROM station").join(' '),
                 QString("K1XYZ K1XYZ|O'Brien's Park"));
    }

    void download_data()
    {
        QTest::addColumn<int>("fault"); // 0 none, 1 cut short, 2 cancelled
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("whole") << 0 << QStringList{"Park List Loaded"};
        QTest::newRow("cut short") << 1 << QStringList{"Download Failed"};
        QTest::newRow("cancelled") << 2 << QStringList();
    }

    // A failed or cancelled download leaves the list loaded before.
    void download()
    {
        QFETCH(int, fault);
        FakeUpdateServer server;
        server.installers["/all_parks_ext.csv"] = ParkListData::csv;
        server.truncateInstaller = fault == 1;
        server.holdInstaller = fault == 2;
        qputenv("PARKBOOK_PARK_LIST_URL", (server.baseUrl() + "/all_parks_ext.csv").toUtf8());
        importList(*pb, *home, ParkListData::csv.left(ParkListData::csv.indexOf("\"US-0100\"")));
        QCOMPARE(home->prompter.shown.last().text,
                 QString("Parks loaded from all_parks_ext.csv: 1 (active: 1)."));
        home->prompter.clear();

        pb->ui->actionUpdate_Park_List->trigger();
        auto* progress = pb->findChild<QProgressDialog*>();
        QVERIFY(progress && progress->isVisible());
        if (fault == 2) {
            QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 10000);
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!pb->parkListReply, 10000);
        QTRY_VERIFY(!pb->findChild<QProgressDialog*>());
        QTEST(home->prompter.titles(), "titles");
        const QSqlDatabase list = QSqlDatabase::database("parkbook");
        QVERIFY(ParkList::find(list, "US-0001"));
        QCOMPARE(bool(ParkList::find(list, "CA-0001")), fault == 0);
    }

    void hints_data()
    {
        // Station slot 1: the answers to the boxes (Y/N, "-" when no list is
        // loaded) and the reference; park to park: the band and the references.
        QTest::addColumn<QString>("typed");
        // Slot 1: reference|name|multi-state|state|location|grid|status message|red;
        // park to park: p2p|status message.
        QTest::addColumn<QString>("shown");
        const QString trail =
            "US-0100 Appalachian National Scenic Trail (US-CT,US-GA,US-MA,US-MD,US-ME)";
        const QString tahoe = "US-4556 Lake \"Tahoe\" State Park, North (US-NV)";
        const QString mauricie = "CA-0001 Parc national de la Mauricie — Forêt (CA-QC) - New park";
        const QString retired = "US-9999 is no longer an active POTA park";
        // The log holds an activation of US-0001 on 20m and a hunted 2-fer of
        // US-0100 and US-4556 on 40m.
        const QString rows[][3] = {
            {"no list", "- US-0002", "US-0002||0|?||||0"},
            {"known, position taken", "Y us-0001",
             "US-0001|Acadia National Park|0|ME|US-ME|FN54vh|US-0001 Acadia National Park "
             "(US-ME)|0"},
            {"multi-state, position declined", "N US-0100",
             "US-0100|Appalachian National Scenic Trail|1|CT|US-CT||" + trail + "|0"},
            {"unknown", " US-0002", "US-0002||0|?|||Unknown park reference: US-0002|1"},
            {"retired", "N US-9999", "US-9999|Old Fort Park|0|TX|US-TX||" + retired + "|1"},
            {"K- renamed, taken", "YN K-4556",
             "US-4556|Lake \"Tahoe\" State Park, North|0|NV|US-NV||K-4556 is now US-4556|0"},
            {"K- renamed, kept", "N K-4556", "K-4556||0|?|||K-4556 is now US-4556|1"},
            {"p2p worked on this band", "20m US-0001",
             "US-0001|US-0001 Acadia National Park (US-ME)"},
            {"p2p new band", "20m US-4556", "US-4556|" + tahoe + " - New band"},
            {"p2p new park", "40m CA-0001", "CA-0001|" + mauricie},
            {"p2p several", "40m us-0100, ca-0001,US-9999",
             "US-0100, CA-0001,US-9999|" + trail + "; " + mauricie + "; " + retired},
            {"p2p K- renamed, taken", "40m K-4556", "US-4556|" + tahoe}};
        for (const auto& row : rows)
            QTest::newRow(qPrintable(row[0])) << row[1] << row[2];
    }

    // Slot 1 is the one shown in the main window, which follows it.
    void hints()
    {
        QFETCH(QString, typed);
        const QString how = typed.section(' ', 0, 0);
        if (how != "-")
            importList(*pb, *home, ParkListData::csv);
        const bool p2p = how.endsWith('m');
        if (p2p) {
            run("INSERT INTO log (date, time, park, call, band, p2p) VALUES "
                "('20260501', '120000', 'US-0001', 'K1AAA', '20m', ''), "
                "('20260502', '130000', 'HUNTER', 'K2BBB', '40m', 'US-0100,US-4556')");
            pb->ui->band->setText(how);
        }
        for (const QChar answer : how)
            if (answer == 'Y' || answer == 'N')
                home->prompter.answers.enqueue(answer == 'Y' ? QMessageBox::Yes : QMessageBox::No);
        Ui::Station* form = pb->station->ui;
        QLineEdit* typedInto = p2p ? pb->ui->p2p : form->pRef1;
        QTest::keyClicks(typedInto, typed.section(' ', 1) + '\r'); // then Return
        QVERIFY(home->prompter.answers.isEmpty());
        QTEST(p2p ? pb->ui->p2p->text() + "|" + pb->statusBar()->currentMessage()
                  : QStringList({form->pRef1->text(), form->name1->text(),
                                 QString::number(form->mst1->isChecked()),
                                 form->state->currentText(), form->location->text(),
                                 form->grid->text(), pb->statusBar()->currentMessage(),
                                 QString::number(form->pRef1->palette().color(QPalette::Text) ==
                                                 pb->redText.color(QPalette::Text))})
                        .join('|'),
              "shown");
        QCOMPARE(pb->ui->parkReference->text() + pb->ui->parkName->text(),
                 form->pRef1->text() + form->name1->text());
    }
};

QTEST_MAIN(TestParks)
#include "tst_parks.moc"
