#include "app/parkbook.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seefile.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

class TestFileViewers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void documents_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("licence") << "actionLicense"
                                 << "License to Use"
                                 << "UseLicense"
                                 << "Parkbook - a POTA logbook";
        QTest::newRow("read-me") << "actionGetting_Started"
                                 << "Display README File"
                                 << "GetStarted"
                                 << "Parkbook - Getting Started";
        QTest::newRow("shortcuts") << "actionShortcut_Keys"
                                   << "Keyboard Shortcut Keys"
                                   << "Shortcuts"
                                   << "Parkbook - Keyboard Shortcut Keys";
        QTest::newRow("change log") << "actionChange_Log"
                                    << "Parkbook Program Change Log"
                                    << "ChangeLog"
                                    << "Parkbook - Change Log";
        QTest::newRow("environment") << "actionEnvironment"
                                     << "Hardware and Software Versions"
                                     << "Environment"
                                     << "Program and Development Software Versions";
    }

    // Each menu entry opens its text at the top, under its title, and the
    // next start reopens the text that was shown last.
    void documents()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QString, content);
        QFETCH(QString, firstLine);
        TempHome home;
        home.writeQuietSettings();
        {
            auto pb = home.makeParkbook();
            home.prompter.clear(); // start-up boxes of a new home
            pb->findChild<QAction*>(action)->trigger();
            QVERIFY(pb->seeFile->isVisible());
            QCOMPARE(pb->seeFile->windowTitle(), title);
            QCOMPARE(pb->seeFile->content, content);
            QTextEdit* text = pb->seeFile->ui->text;
            QCOMPARE(text->document()->firstBlock().text(), firstLine);
            QVERIFY(text->document()->blockCount() > 5);
            QCOMPARE(text->textCursor().position(), 0);
            QVERIFY(home.prompter.shown.isEmpty());
            pb->close();
        }
        QCOMPARE(QSettings(home.iniPath(), QSettings::IniFormat).value("About/Content").toString(),
                 content);
        auto again = home.makeParkbook();
        QVERIFY(again->seeFile->isVisible());
        QCOMPARE(again->seeFile->windowTitle(), title);
        QCOMPARE(again->seeFile->ui->text->document()->firstBlock().text(), firstLine);
    }

    void environmentHeading()
    {
        TempHome home;
        home.writeQuietSettings();
        QFile::remove(home.infoPath() + "/ENVIRONMENT.txt");
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        pb->on_actionEnvironment_triggered();
        // Without its file the page still shows the version lines.
        QCOMPARE(pb->seeFile->ui->text->toPlainText(),
                 QString("Program and Development Software Versions\n"
                         "  Parkbook Version:  2.3.6\n  Qt Build Version: 6.2.2"));
        QVERIFY(pb->seeFile->isVisible());
        QCOMPARE(home.prompter.count("File not Found"), 1);
        QCOMPARE(home.prompter.shown.at(0).icon, QMessageBox::Warning);
    }

    void changeLogReplacesLicence()
    {
        TempHome home;
        home.writeQuietSettings();
        {
            auto pb = home.makeParkbook();
            home.prompter.clear(); // start-up boxes of a new home
            pb->on_actionLicense_triggered();
            const QString licence = pb->seeFile->ui->text->toPlainText();
            pb->on_actionChange_Log_triggered();
            QCOMPARE(pb->seeFile->windowTitle(), QString("Parkbook Program Change Log"));
            QCOMPARE(pb->seeFile->content, QString("ChangeLog"));
            const QString changes = pb->seeFile->ui->text->toPlainText();
            QVERIFY(!changes.contains("GNU GENERAL PUBLIC LICENSE"));
            QVERIFY(licence.contains("GNU GENERAL PUBLIC LICENSE"));
            QVERIFY(changes.startsWith("Parkbook - Change Log"));
            pb->close();
        }
        auto again = home.makeParkbook();
        QCOMPARE(again->seeFile->content, QString("ChangeLog"));
        QCOMPARE(again->seeFile->windowTitle(), QString("Parkbook Program Change Log"));
    }

    void missingFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("icon");
        QTest::newRow("licence") << "LICENSE.txt"
                                 << "actionLicense"
                                 << "/LICESE.txt" << int(QMessageBox::Critical);
        QTest::newRow("read-me") << "README.txt"
                                 << "actionGetting_Started"
                                 << "/README.txt" << int(QMessageBox::Warning);
        QTest::newRow("shortcuts") << "SHORTCUTS.txt"
                                   << "actionShortcut_Keys"
                                   << "/SHORTCUTS.txt" << int(QMessageBox::Warning);
        QTest::newRow("change log") << "CHANGELOG.txt"
                                    << "actionChange_Log"
                                    << "/CHANGELOG.txt" << int(QMessageBox::Critical);
    }

    void missingFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, action);
        QFETCH(QString, named);
        QFETCH(int, icon);
        TempHome home;
        home.writeQuietSettings();
        QVERIFY(QFile::remove(home.infoPath() + "/" + file));
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        QSignalSpy errors(pb->seeFile, &SeeFile::errorSig);
        pb->findChild<QAction*>(action)->trigger();
        QVERIFY(!pb->seeFile->isVisible());
        QCOMPARE(home.prompter.shown.size(), 1);
        QCOMPARE(home.prompter.shown.at(0).title, QString("File not Found"));
        QCOMPARE(home.prompter.shown.at(0).text,
                 "File '" + pb->programDir.path() + named + "' not Found.\n");
        QCOMPARE(int(home.prompter.shown.at(0).icon), icon);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(pb->seeFile->lastError,
                 "File '" + pb->programDir.path() + "/" + file + "' Could not be Opened.");
    }

    void liveErrorLog()
    {
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        for (int i = 0; i < 50; ++i)
            pb->logError(QString("early entry %1").arg(i));
        pb->on_actionShow_Error_Log_triggered();
        QVERIFY(pb->seeFile->isVisible());
        QCOMPARE(pb->seeFile->windowTitle(), QString("Program Errors and Comments"));
        QTextEdit* text = pb->seeFile->ui->text;
        QVERIFY(text->textCursor().block().text().endsWith("early entry 49"));

        pb->logError("the newest entry");
        QTextCursor cursor = text->textCursor();
        QCOMPARE(cursor.block().text().right(16), QString("the newest entry"));
        QCOMPARE(cursor.blockNumber(), text->document()->blockCount() - 1);
        QCOMPARE(cursor.positionInBlock(), 0);
        QVERIFY(home.prompter.shown.isEmpty());

        // Hidden, the viewer is left alone.
        pb->seeFile->hide();
        pb->logError("while hidden");
        QVERIFY(!text->toPlainText().contains("while hidden"));
    }

    void escapeLeavesViewerOpen()
    {
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        pb->show();
        pb->on_actionShortcut_Keys_triggered();
        pb->seeFile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb->seeFile));
        QTest::keyClick(pb->seeFile, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(pb->isActiveWindow(), 5000);
        QVERIFY(pb->seeFile->isVisible());
    }

    void justifyDigit_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("justified");
        QTest::newRow("digit second") << "K1AB"
                                      << " K1AB";
        QTest::newRow("letter second") << "KD2XYZ"
                                       << "KD2XYZ";
        QTest::newRow("arabic-indic digit")
            << QString("W") + QChar(0x0663) + "X" << QString(" W") + QChar(0x0663) + "X";
        QTest::newRow("one character") << "K"
                                       << "K";
        QTest::newRow("empty") << ""
                               << "";
    }

    void justifyDigit()
    {
        QFETCH(QString, call);
        QTEST(SeeFile::justifyDigit(call), "justified");
    }

    // The shortcut list names every key the windows bind.
    void shortcutListIsComplete()
    {
        QFile file(QString(PARKBOOK_INFO_DIR) + "/SHORTCUTS.txt");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(file.readAll());
        const char* keys[] = {"F1",         "F2",         "F5",         "F6",         "F7",
                              "F8",         "F10",        "Esc",        "PgUp",       "PgDown",
                              "Up",         "Down",       "Alt+PgUp",   "Alt+Up",     "Alt+Down",
                              "Alt+PgDown", "Alt+F10",    "Ctrl+Alt+1", "Ctrl+Alt+2", "Ctrl+Alt+3",
                              "Ctrl+Alt+5", "Ctrl+Alt+6", "Alt+S",      "Alt+C",      "Alt+P",
                              "Alt+A",      "Alt+H",      "Alt+c",      "Alt+s",      "Alt+g"};
        for (const char* key : keys)
            QVERIFY2(text.contains(
                         QRegularExpression("(^|\\s)" + QRegularExpression::escape(key) + "\\s")),
                     key);
        // And every menu shortcut of the form is in the list.
        TempHome home;
        home.writeQuietSettings();
        auto pb = home.makeParkbook();
        home.prompter.clear(); // start-up boxes of a new home
        QStringList bound;
        for (QAction* action : pb->findChildren<QAction*>())
            bound << action->shortcut().toString();
        for (QShortcut* shortcut : pb->findChildren<QShortcut*>())
            bound << shortcut->key().toString();
        for (QPushButton* button : pb->findChildren<QPushButton*>())
            bound << button->shortcut().toString();
        bound.removeAll(QString());
        QVERIFY(bound.size() >= 20);
        for (const QString& key : bound)
            QVERIFY2(text.contains(
                         QRegularExpression("(^|\\s)" + QRegularExpression::escape(key) + "\\s")),
                     qPrintable(key));
    }
};

QTEST_MAIN(TestFileViewers)
#include "tst_fileviewers.moc"
