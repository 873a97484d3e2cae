#include "app/parkbook.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seefile.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

class TestFileViewers : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    QString shown() const { return pb->seeFile->ui->text->toPlainText(); }

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<TempHome>();
        pb = home->makeParkbook();
        home->prompter.clear(); // start-up boxes of a new home
    }

    void cleanup()
    {
        pb.reset();
        home.reset();
    }

    // The change log replaces the licence, from its top, and the next start
    // reopens what was shown last.
    void lastDocumentReopens()
    {
        pb->on_actionLicense_triggered();
        QVERIFY(shown().contains("GNU GENERAL PUBLIC LICENSE"));
        pb->on_actionChange_Log_triggered();
        QVERIFY(shown().startsWith("Parkbook - Change Log"));
        QVERIFY(!shown().contains("GNU GENERAL PUBLIC LICENSE"));
        QCOMPARE(pb->seeFile->ui->text->textCursor().position(), 0);
        pb->close();
        pb = home->makeParkbook();
        QVERIFY(pb->seeFile->isVisible());
        QCOMPARE(pb->seeFile->windowTitle(), QString("Parkbook Program Change Log"));
        QVERIFY(shown().startsWith("Parkbook - Change Log"));
    }

    // The licence box names the file as the program always has ("LICESE");
    // the version lines are shown even without their file.
    void missingFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("opens");
        QTest::newRow("licence") << "/LICENSE.txt"
                                 << "actionLicense"
                                 << "/LICESE.txt" << false;
        QTest::newRow("environment") << "/ENVIRONMENT.txt"
                                     << "actionEnvironment"
                                     << "/ENVIRONMENT.txt" << true;
    }

    void missingFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, action);
        QFETCH(QString, named);
        QFETCH(bool, opens);
        QVERIFY(QFile::remove(home->infoPath() + file));
        pb->seeFile->close(); // open with the getting-started text since the first start
        QSignalSpy errors(pb->seeFile, &SeeFile::errorSig);
        pb->findChild<QAction*>(action)->trigger();
        QCOMPARE(pb->seeFile->isVisible(), opens);
        QCOMPARE(home->prompter.titles(), QStringList{"File not Found"});
        QCOMPARE(home->prompter.shown.at(0).text,
                 "File '" + pb->programDir.path() + named + "' not Found.\n");
        QCOMPARE(errors.count(), 1);
        QCOMPARE(
            shown().startsWith("Program and Development Software Versions\n  Parkbook Version:"),
            opens);
    }

    // An error logged while the log is on show appears at once, the view on
    // the newest entry.
    void liveErrorLog()
    {
        for (int i = 0; i < 50; ++i)
            pb->logError(QString("early entry %1").arg(i));
        pb->on_actionShow_Error_Log_triggered();
        QVERIFY(pb->seeFile->ui->text->textCursor().block().text().endsWith("early entry 49"));
        pb->logError("the newest entry");
        const QTextCursor cursor = pb->seeFile->ui->text->textCursor();
        QVERIFY(cursor.block().text().endsWith("the newest entry"));
        QCOMPARE(cursor.blockNumber(), pb->seeFile->ui->text->document()->blockCount() - 1);
        QCOMPARE(cursor.positionInBlock(), 0);
        QVERIFY(home->prompter.shown.isEmpty());
    }

    void escapeLeavesViewerOpen()
    {
        pb->show();
        pb->on_actionShortcut_Keys_triggered();
        pb->seeFile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb->seeFile));
        QTest::keyClick(pb->seeFile, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(pb->isActiveWindow(), 5000);
        QVERIFY(pb->seeFile->isVisible());
    }

    void justifyDigit()
    {
        QCOMPARE(SeeFile::justifyDigit("K1AB"), QString(" K1AB"));
        QCOMPARE(SeeFile::justifyDigit("KD2XYZ"), QString("KD2XYZ"));
        QCOMPARE(SeeFile::justifyDigit("K"), QString("K"));
    }

    // The shortcut list names every key the main window binds.
    void shortcutListIsComplete()
    {
        QFile file(QString(PARKBOOK_INFO_DIR) + "/SHORTCUTS.txt");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString list = QString::fromUtf8(file.readAll());
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
            QVERIFY2(list.contains(
                         QRegularExpression("(^|\\s)" + QRegularExpression::escape(key) + "\\s")),
                     qPrintable(key));
    }
};

QTEST_MAIN(TestFileViewers)
#include "tst_fileviewers.moc"
