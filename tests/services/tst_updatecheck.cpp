#include "fakeqrzserver.h"
#include "fakeupdateserver.h"
#include "journey.h"
#include "support/versioncheck.h"

#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>

// Every check is followed by the QRZ login (to a fake QRZ server) when the
// Station window holds a call and a password; updateCheckFinished tells
// whether it was started.
class TestUpdateCheck : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<FakeQrzServer> qrz;
    std::unique_ptr<QSignalSpy> finished;
    QString downloads;

    std::unique_ptr<Parkbook> start(const QString& url, bool autoUpdate)
    {
        QSettings(home->iniPath(), QSettings::IniFormat).setValue("Main/AutoUpdate", autoUpdate);
        qputenv("PARKBOOK_UPDATE_URL", url.toUtf8());
        // Built here rather than by makeParkbook, which runs the event loop
        // until the start is done: the check a start makes would end unseen.
        auto pb = std::make_unique<Parkbook>(&home->prompter, &home->sound);
        pb->station->ui->call->setText(qrz->user);
        pb->station->ui->pwd->setText(qrz->password);
        finished = std::make_unique<QSignalSpy>(pb.get(), &Parkbook::updateCheckFinished);
        if (!QTest::qWaitFor([&pb] { return pb->startupDone; }, 30000))
            qWarning("Parkbook did not finish starting within 30 s");
        home->prompter.clear();
        return pb;
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    // Before the next home, which returns to the folder this one left.
    void cleanup() { home.reset(); }

    void init()
    {
        qrz = std::make_unique<FakeQrzServer>();
        qputenv("PARKBOOK_QRZ_URL", qrz->url().toUtf8());
        home = std::make_unique<TempHome>();
        // The installer goes to the download folder of this temporary home.
        qputenv("HOME", home->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home->path() + "/.config").toUtf8());
        downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(downloads.startsWith(home->path()));
    }

    // The patch is a number, only the first line counts, and a version that
    // is no plain file name is not taken.
    void versionFile()
    {
        QString newer;
        for (const char* line :
             {"Parkbook-2.3.6\n", "Parkbook-2.4.0", "Parkbook-3.0.0\r\n", "Parkbook-2.3.10",
              "Parkbook-2.3.5", "Parkbook-1.9.9", "Parkbook-2.2.10", "Parkbook", "Parkbook-9.9",
              "Parkbook-2.3.6\nParkbook-9.9.9\n", "Parkbook-3.0.0/../../x"})
            newer += VersionCheck::read(line).newer ? '1' : '0';
        QCOMPARE(newer, QString("01110000000"));
    }

    // Rows run from the menu unless `atStart` (the check a start makes, which
    // is silent); a null version file stands for no update server.
    void check_data()
    {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<bool>("download"); // the answer to the offer
        QTest::addColumn<int>("fault");
        QTest::addColumn<QStringList>("titles");
        const QString offer = "New Parkbook Version Available!";
        // Far larger than its first line, which is all that is read.
        const QByteArray same = "Parkbook-2.3.6" + QByteArray(200000, ' ') + "\nParkbook-9.9.9\n";
        const QByteArray newer = "Parkbook-2.3.10\n";
        auto row = [](const char* name, const QByteArray& file, bool atStart, bool download,
                      int fault, const QStringList& titles) {
            QTest::newRow(name) << file << atStart << download << fault << titles;
        };
        row("start, up to date", same, true, false, 0, {});
        row("start, no server", QByteArray(), true, false, 0, {});
        row("up to date", same, false, false, 0, {"Parkbook is Up to Date"});
        row("no server", QByteArray(), false, false, 0, {"No Update Server"});
        row("other product", "Logbook-9.9.9\n", false, false, 0, {});
        row("declined", newer, false, false, 0, {offer});
        row("downloaded", newer, false, true, 0, {offer, "Parkbook Program Downloaded"});
        row("cut short", newer, false, true, 1, {offer, "Download Failed"});
        row("folder blocked", newer, false, true, 2, {offer, "Can't Open File for Writing"});
        row("untrusted certificate", newer, false, true, 3, {"Download Failed"});
    }

    // Whatever becomes of the check, the QRZ login follows it once (not after
    // another product's file), and only after a download has ended; only a
    // whole installer is ever kept. A TLS error is logged, never ignored.
    void check()
    {
        QFETCH(QByteArray, versionFile);
        QFETCH(bool, atStart);
        QFETCH(bool, download);
        QFETCH(int, fault);
        FakeUpdateServer server(fault == 3);
        server.versionFile = versionFile;
        const QByteArray installer = QByteArray(300000, 'M') + "end";
        server.installers.insert("/projects/Parkbook/Windows/Parkbook-2.3.10.exe", installer);
        server.truncateInstaller = fault == 1;
        if (fault == 2) // a plain file where the download folder should be
            QVERIFY(QFile(downloads).open(QIODevice::WriteOnly));
        auto pb = start(versionFile.isNull() ? QString() : server.baseUrl(), atStart);
        home->prompter.answers.enqueue(download ? QMessageBox::Yes : QMessageBox::No);
        if (!atStart)
            pb->on_actionCheck_for_Updates_triggered();
        QTRY_VERIFY_WITH_TIMEOUT(!finished->isEmpty(), 10000);
        QTEST(home->prompter.titles(), "titles");
        const bool login = !versionFile.startsWith("Logbook");
        QCOMPARE(QList<QVariantList>(*finished), QList<QVariantList>{{login}});
        QTRY_COMPARE_WITH_TIMEOUT(pb->qrzConnected, login, 10000);
        QCOMPARE(qrz->queries,
                 login ? QStringList{"username=N0CALL&password=secret"} : QStringList());
        // Distinct paths: Qt may send a request again when the server cuts
        // the connection, which is no second download.
        const QSet<QString> paths(server.requests.begin(), server.requests.end());
        QCOMPARE(paths.size(), versionFile.isNull() || fault == 3 ? 0 : 1 + download);
        const bool whole = download && fault == 0;
        QCOMPARE(QDir(downloads).entryList(QDir::Files | QDir::Hidden),
                 whole ? QStringList{"Parkbook-2.3.10.exe"} : QStringList());
        QCOMPARE(contents(downloads + "/Parkbook-2.3.10.exe"), whole ? installer : QByteArray());
        const QByteArray logged = contents(home->dataPath() + "/errorLog.txt");
        QCOMPARE(logged.contains("SSL error: ") && logged.contains("Download Version Failed: "),
                 fault == 3);
    }

    // A second check during a download finds yet another version: the
    // installer keeps the name of the version it is.
    void secondCheckDuringDownload()
    {
        FakeUpdateServer server;
        server.versionFile = "Parkbook-2.3.10\n";
        server.installers.insert("/projects/Parkbook/Windows/Parkbook-2.3.10.exe", "MZ 2.3.10");
        server.holdInstaller = true;
        auto pb = start(server.baseUrl(), false);
        home->prompter.answers.enqueue(QMessageBox::Yes);
        pb->on_actionCheck_for_Updates_triggered();
        pb->station->ui->pwd->clear(); // no QRZ login after the checks
        QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 2, 10000);
        server.versionFile = "Parkbook-2.4.0\n";
        home->prompter.answers.enqueue(QMessageBox::No);
        pb->on_actionCheck_for_Updates_triggered();
        QTRY_COMPARE_WITH_TIMEOUT(finished->size(), 1, 10000);
        QCOMPARE(pb->latestVersion, QString("Parkbook-2.4.0"));
        server.releaseInstaller();
        QTRY_COMPARE_WITH_TIMEOUT(finished->size(), 2, 10000);
        QCOMPARE(QDir(downloads).entryList(QDir::Files), QStringList{"Parkbook-2.3.10.exe"});
        QCOMPARE(contents(downloads + "/Parkbook-2.3.10.exe"), QByteArray("MZ 2.3.10"));
        const QString offer = "New Parkbook Version Available!";
        QCOMPARE(home->prompter.titles(),
                 QStringList({offer, offer, "Parkbook Program Downloaded"}));
        QVERIFY(home->prompter.shown.last().text.contains("version: Parkbook-2.3.10\n"));
    }
};

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
