// The POTA park list seen from the windows: loading it, the Station slot
// autofill and the park-to-park hints.
#include "db/parklist.h"
#include "fakeupdateserver.h"
#include "journey.h"
#include "parklistdata.h"

#include <QProgressDialog>
#include <QStatusBar>
#include <QtTest>

namespace
{
// File > Import POTA Park List with `csv` as the chosen file.
void importList(Parkbook& pb, TempHome& home, const QByteArray& csv)
{
    QFile file(home.dataPath() + "/all_parks_ext.csv");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
    file.close();
    home.prompter.paths.enqueue(file.fileName());
    pb.ui->actionImport_Park_List->trigger();
}

void enter(QLineEdit* edit, const QString& text)
{
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

bool listed(const QString& reference)
{
    return bool(ParkList::find(QSqlDatabase::database("parkbook"), reference));
}
} // namespace

class TestParkListWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { qunsetenv("PARKBOOK_PARK_LIST_URL"); }

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
        TempHome home;
        auto pb = home.makeParkbook();
        importList(*pb, home, ParkListData::csv.left(ParkListData::csv.indexOf("\"US-0100\"")));
        QCOMPARE(home.prompter.shown.last().text,
                 QString("Parks loaded from all_parks_ext.csv: 1 (active: 1)."));
        home.prompter.clear();

        pb->ui->actionUpdate_Park_List->trigger();
        auto* progress = pb->findChild<QProgressDialog*>();
        QVERIFY(progress && progress->isVisible());
        if (fault == 2) {
            QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 10000);
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!pb->parkListReply, 10000);
        QTRY_VERIFY(!pb->findChild<QProgressDialog*>());
        QTEST(home.prompter.titles(), "titles");
        QVERIFY(listed("US-0001"));
        QCOMPARE(listed("CA-0001"), fault == 0);
    }

    void hints_data()
    {
        // Station slot 1: the answers to the boxes (Y/N, "-" when no list is
        // loaded) and the reference; park to park: the band and the references.
        QTest::addColumn<QString>("typed");
        // Slot 1: reference|name|multi-state|state|location|grid|status message|red;
        // park to park: p2p|status message.
        QTest::addColumn<QString>("shown");
        QTest::newRow("no list") << "- US-0002"
                                 << "US-0002||0|?||||0";
        QTest::newRow("known, position taken")
            << "Y us-0001"
            << "US-0001|Acadia National Park|0|ME|US-ME|FN54vh|US-0001 Acadia National Park "
               "(US-ME)|0";
        QTest::newRow("multi-state, position declined")
            << "N US-0100"
            << "US-0100|Appalachian National Scenic Trail|1|CT|US-CT||US-0100 Appalachian "
               "National Scenic Trail (US-CT,US-GA,US-MA,US-MD,US-ME)|0";
        QTest::newRow("unknown") << " US-0002"
                                 << "US-0002||0|?|||Unknown park reference: US-0002|1";
        QTest::newRow("retired")
            << "N US-9999"
            << "US-9999|Old Fort Park|0|TX|US-TX||US-9999 is no longer an active "
               "POTA park|1";
        QTest::newRow("K- renamed, taken")
            << "YN K-4556"
            << "US-4556|Lake \"Tahoe\" State Park, North|0|NV|US-NV||K-4556 is now US-4556|0";
        QTest::newRow("K- renamed, kept") << "N K-4556"
                                          << "K-4556||0|?|||K-4556 is now US-4556|1";
        // The log holds an activation of US-0001 on 20m and a hunted 2-fer of
        // US-0100 and US-4556 on 40m.
        const QString tahoe = "US-4556 Lake \"Tahoe\" State Park, North (US-NV)";
        const QString mauricie = "CA-0001 Parc national de la Mauricie — Forêt (CA-QC) - New park";
        QTest::newRow("p2p worked on this band") << "20m US-0001"
                                                 << "US-0001|US-0001 Acadia National Park (US-ME)";
        QTest::newRow("p2p new band") << "20m US-4556"
                                      << "US-4556|" + tahoe + " - New band";
        QTest::newRow("p2p new park") << "40m CA-0001"
                                      << "CA-0001|" + mauricie;
        QTest::newRow("p2p several") << "40m us-0100, ca-0001,US-9999"
                                     << "US-0100, CA-0001,US-9999|US-0100 Appalachian National "
                                        "Scenic Trail (US-CT,US-GA,US-MA,US-MD,US-ME); " +
                                            mauricie + "; US-9999 is no longer an active POTA park";
        QTest::newRow("p2p K- renamed, taken") << "40m K-4556"
                                               << "US-4556|" + tahoe;
    }

    // Slot 1 is the one shown in the main window, which follows it.
    void hints()
    {
        QFETCH(QString, typed);
        const QString how = typed.section(' ', 0, 0);
        TempHome home;
        auto pb = home.makeParkbook();
        if (how != "-")
            importList(*pb, home, ParkListData::csv);
        if (how.endsWith('m')) {
            Journey::run("INSERT INTO log (date, time, park, call, band, p2p) VALUES "
                         "('20260501', '120000', 'US-0001', 'K1AAA', '20m', ''), "
                         "('20260502', '130000', 'HUNTER', 'K2BBB', '40m', 'US-0100,US-4556')");
            pb->ui->band->setText(how);
            enter(pb->ui->p2p, typed.section(' ', 1));
            QTEST(pb->ui->p2p->text() + "|" + pb->statusBar()->currentMessage(), "shown");
            return;
        }
        for (const QChar answer : how)
            if (answer != '-')
                home.prompter.answers.enqueue(answer == 'Y' ? QMessageBox::Yes : QMessageBox::No);
        Ui::Station* form = pb->station->ui;
        enter(form->pRef1, typed.section(' ', 1));
        QVERIFY(home.prompter.answers.isEmpty());
        const bool red =
            form->pRef1->palette().color(QPalette::Text) == pb->redText.color(QPalette::Text);
        QTEST(QStringList({form->pRef1->text(), form->name1->text(),
                           QString::number(form->mst1->isChecked()), form->state->currentText(),
                           form->location->text(), form->grid->text(),
                           pb->statusBar()->currentMessage(), QString::number(red)})
                  .join('|'),
              "shown");
        QCOMPARE(pb->ui->parkReference->text() + pb->ui->parkName->text(),
                 form->pRef1->text() + form->name1->text());
    }
};

QTEST_MAIN(TestParkListWindow)
#include "tst_parklistwindow.moc"
