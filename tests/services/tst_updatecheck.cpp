#include "app/parkbook.h"
#include "fakeqrzserver.h"
#include "fakeupdateserver.h"
#include "parks/station.h"
#include "support/versioncheck.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace
{
// The Station window's call sign and QRZ password, as the fake QRZ server
// expects them.
void storeQrzLogin(Parkbook* pb)
{
    pb->station->ui->call->setText("Q1ABC");
    pb->station->ui->pwd->setText("secret");
}

QString errorLog(const TempHome& home)
{
    QFile file(home.dataPath() + "/errorLog.txt");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<FakeQrzServer> qrz;
    QString downloads;

    std::unique_ptr<Parkbook> start(const QString& url, bool autoUpdate)
    {
        home->writeQuietSettings();
        QSettings settings(home->iniPath(), QSettings::IniFormat);
        settings.setValue("Main/AutoUpdate", autoUpdate);
        settings.sync();
        qputenv("PARKBOOK_UPDATE_URL", url.toUtf8());
        auto pb = home->makeParkbook();
        return pb;
    }

private Q_SLOTS:
    void init()
    {
        // The QRZ login that follows a check goes to a fake QRZ server.
        qrz = std::make_unique<FakeQrzServer>();
        qrz->user = "Q1ABC";
        QVERIFY(qrz->start());
        qputenv("PARKBOOK_QRZ_URL", qrz->url().toUtf8());
        home = std::make_unique<TempHome>();
        // The installer goes to the download folder of this temporary home.
        qputenv("HOME", home->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home->path() + "/.config").toUtf8());
        downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(downloads.startsWith(home->path()));
    }

    void cleanup()
    {
        qunsetenv("PARKBOOK_UPDATE_URL");
        qunsetenv("PARKBOOK_QRZ_URL");
        home.reset();
        qrz.reset();
    }

    void versionFile_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("ours");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("text");
        QTest::newRow("same") << QByteArray("Parkbook-2.3.6\n") << true << false
                              << "Parkbook-2.3.6";
        QTest::newRow("minor") << QByteArray("Parkbook-2.4.0") << true << true << "Parkbook-2.4.0";
        QTest::newRow("major") << QByteArray("Parkbook-3.0.0\r\n") << true << true
                               << "Parkbook-3.0.0";
        QTest::newRow("patch as number")
            << QByteArray("Parkbook-2.3.10") << true << true << "Parkbook-2.3.10";
        QTest::newRow("older patch")
            << QByteArray("Parkbook-2.3.5") << true << false << "Parkbook-2.3.5";
        QTest::newRow("older major")
            << QByteArray("Parkbook-1.9.9") << true << false << "Parkbook-1.9.9";
        QTest::newRow("older minor")
            << QByteArray("Parkbook-2.2.10") << true << false << "Parkbook-2.2.10";
        QTest::newRow("no hyphen") << QByteArray("Parkbook") << true << false << "Parkbook";
        QTest::newRow("two numbers")
            << QByteArray("Parkbook-9.9") << true << false << "Parkbook-9.9";
        QTest::newRow("empty version") << QByteArray("Parkbook-") << true << false << "Parkbook-";
        QTest::newRow("letters count 0")
            << QByteArray("Parkbook-x.4.y") << true << false << "Parkbook-x.4.y";
        QTest::newRow("first line only")
            << QByteArray("Parkbook-2.3.6\nParkbook-9.9.9\n") << true << false << "Parkbook-2.3.6";
        QTest::newRow("other product")
            << QByteArray("Logbook-9.9.9") << false << false << "Logbook-9.9.9";
        QTest::newRow("empty") << QByteArray() << false << false << "";
        QTest::newRow("not a file name")
            << QByteArray("Parkbook-3.0.0/../../x") << true << false << "Parkbook-3.0.0/../../x";
    }

    void versionFile()
    {
        QFETCH(QByteArray, line);
        const VersionCheck::Result result = VersionCheck::read(line);
        QTEST(result.ours, "ours");
        QTEST(result.newer, "newer");
        QTEST(result.text, "text");
    }

    void upToDate()
    {
        FakeUpdateServer server;
        QVERIFY(server.listening());
        auto pb = start(server.baseUrl(), true);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        QVERIFY(finished.wait(10000));
        QCOMPARE(server.requests, QStringList{"/projects/Parkbook/Parkbook-Version.txt"});
        QVERIFY(home->prompter.shown.isEmpty()); // silent at start-up
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        // The QRZ login follows the check and reaches the QRZ server.
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzConnected, 10000);
        QCOMPARE(qrz->queries.first(), QString("username=Q1ABC&password=secret"));
        home->prompter.clear();

        pb->ui->actionCheck_for_Updates->trigger();
        QVERIFY(finished.wait(10000));
        QTRY_COMPARE_WITH_TIMEOUT(qrz->queries.size(), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(pb->qrzConnected, 10000);
        home->prompter.shown.removeIf([](const ScriptedPrompter::Shown& box) {
            return box.title.startsWith("QRZ XML Database");
        });
        QCOMPARE(home->prompter.titles(), QStringList{"Parkbook is Up to Date"});
        QCOMPARE(home->prompter.shown.at(0).text,
                 QString("You are using the latest version:  Parkbook-2.3.6\n"
                         "Thank you for keeping up to date!"));
        QVERIFY(pb->manualUpdate);
    }

    void notNewerFromMenu_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("older") << QByteArray("Parkbook-2.2.10\n");
        QTest::newRow("malformed") << QByteArray("Parkbook-2.9\n");
        QTest::newRow("huge") << QByteArray("Parkbook-2.3.6") + QByteArray(200000, ' ') +
                                     "\nParkbook-9.9.9\n";
    }

    void notNewerFromMenu()
    {
        QFETCH(QByteArray, file);
        FakeUpdateServer server;
        server.versionFile = file;
        auto pb = start(server.baseUrl(), false);
        home->prompter.clear();
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(), QStringList{"Parkbook is Up to Date"});
        QCOMPARE(pb->latestVersion, QString::fromUtf8(file.left(file.indexOf('\n'))).trimmed());
    }

    void otherProductDoesNothing()
    {
        FakeUpdateServer server;
        server.versionFile = "Logbook-9.9.9\n";
        auto pb = start(server.baseUrl(), false);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QVERIFY(home->prompter.shown.isEmpty());
        QCOMPARE(finished.at(0).at(0).toBool(), false); // no QRZ login either
    }

    void declineStartsLogin()
    {
        FakeUpdateServer server;
        server.versionFile = "Parkbook-2.4.0\n";
        auto pb = start(server.baseUrl(), false);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        home->prompter.answers.enqueue(QMessageBox::No);
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(), QStringList{"New Parkbook Version Available!"});
        const auto& box = home->prompter.shown.at(0);
        QVERIFY(box.text.endsWith("Do you want to download this new version?\nParkbook-2.4.0"));
        QCOMPARE(box.defaultButton, QMessageBox::Yes);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QCOMPARE(server.requests.size(), 1);
    }

    void acceptDownloadsThenLogsIn()
    {
        FakeUpdateServer server;
        server.versionFile = "Parkbook-2.3.10\n";
        const QByteArray installer = QByteArray(300000, 'M') + "end";
        server.installers.insert("/projects/Parkbook/Windows/Parkbook-2.3.10.exe", installer);
        auto pb = start(server.baseUrl(), false);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        home->prompter.answers.enqueue(QMessageBox::Yes);
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        // The login came only after the installer had arrived.
        QCOMPARE(server.requests.size(), 2);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QCOMPARE(home->prompter.titles(),
                 (QStringList{"New Parkbook Version Available!", "Parkbook Program Downloaded"}));
        QFile saved(downloads + "/Parkbook-2.3.10.exe");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), installer);
    }

    void failedDownloadLeavesNoInstaller_data()
    {
        QTest::addColumn<bool>("truncated");
        QTest::newRow("cut short") << true;
        QTest::newRow("not on the server") << false;
    }

    void failedDownloadLeavesNoInstaller()
    {
        QFETCH(bool, truncated);
        FakeUpdateServer server;
        server.versionFile = "Parkbook-3.0.0\n";
        if (truncated)
            server.installers.insert("/projects/Parkbook/Windows/Parkbook-3.0.0.exe",
                                     QByteArray(5000, 'M'));
        server.truncateInstaller = truncated;
        auto pb = start(server.baseUrl(), false);
        home->prompter.clear();
        home->prompter.answers.enqueue(QMessageBox::Yes);
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(),
                 (QStringList{"New Parkbook Version Available!", "Download Failed"}));
        QVERIFY(home->prompter.shown.at(1).text.startsWith(
            "Download of current version Parkbook failed.\n"));
        QVERIFY(errorLog(*home).contains("Download Parkbook Failed: "));
        QVERIFY(QDir(downloads).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void downloadFolderUnusable()
    {
        FakeUpdateServer server;
        server.versionFile = "Parkbook-2.4.0\n";
        server.installers.insert("/projects/Parkbook/Windows/Parkbook-2.4.0.exe", "MZ installer");
        // A plain file where the download folder should be.
        QFile blocker(downloads);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto pb = start(server.baseUrl(), false);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        home->prompter.answers.enqueue(QMessageBox::Yes);
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(),
                 (QStringList{"New Parkbook Version Available!", "Can't Open File for Writing"}));
        QCOMPARE(home->prompter.shown.at(1).text, "File " + downloads +
                                                      "/Parkbook-2.4.0.exe\nCould not be Opened "
                                                      "for writing.\n");
        QCOMPARE(finished.at(0).at(0).toBool(), true); // the QRZ login still follows
    }

    void versionRequestFails()
    {
        QString url;
        {
            FakeUpdateServer closed; // a port where nobody listens any more
            url = closed.baseUrl();
        }
        auto pb = start(url, false);
        storeQrzLogin(pb.get());
        home->prompter.clear();
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(), QStringList{"Download Failed"});
        QVERIFY(home->prompter.shown.at(0).text.startsWith(
            "Download of Parkbook current version number failed.\n"));
        QVERIFY(errorLog(*home).contains("Download Version Failed: "));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
    }

    void noServerConfigured()
    {
        auto pb = start(QString(), true);
        storeQrzLogin(pb.get());
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        // At start-up the check ends at once as "not newer", without a box,
        // and the QRZ login still follows it.
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QVERIFY(!home->prompter.titles().contains("No Update Server"));

        home->prompter.clear();
        pb->on_actionCheck_for_Updates_triggered();
        QCOMPARE(home->prompter.titles(), QStringList{"No Update Server"});
        QCOMPARE(home->prompter.shown.at(0).icon, QMessageBox::Information);
        QVERIFY(home->prompter.shown.at(0).text.contains("No update server is configured"));
    }

    void autoUpdateSetting()
    {
        auto pb = start(QString(), false);
        QVERIFY(!pb->ui->actionAuto_Update_Check->isChecked());
        pb->ui->actionAuto_Update_Check->trigger();
        QVERIFY(pb->autoUpdate);
        pb->close();
        QCOMPARE(QSettings(home->iniPath(), QSettings::IniFormat).value("Main/AutoUpdate").toBool(),
                 true);
    }

    void selfSignedServerIsRefused()
    {
        FakeUpdateServer server(true);
        QVERIFY(server.listening());
        server.versionFile = "Parkbook-9.0.0\n";
        auto pb = start(server.baseUrl(), false);
        home->prompter.clear();
        QSignalSpy finished(pb.get(), &Parkbook::updateCheckFinished);
        pb->on_actionCheck_for_Updates_triggered();
        QVERIFY(finished.wait(10000));
        QCOMPARE(home->prompter.titles(), QStringList{"Download Failed"});
        const QString log = errorLog(*home);
        QVERIFY2(log.contains("SSL error: "), qPrintable(log));
        QVERIFY(log.contains("Download Version Failed: "));
        QVERIFY(server.requests.isEmpty()); // nothing was asked over the refused channel
    }
};

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
