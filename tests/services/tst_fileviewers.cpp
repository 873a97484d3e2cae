#include "app/parkbook.h"
#include "support/seefile.h"
#include "temphome.h"
#include "ui_parkbook.h"
#include "ui_seefile.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>
#include <QTextBlock>

class TestFileViewers : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<Parkbook> pb;

    QTextEdit* view() const { return pb->seeFile->ui->text; }

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

    // One document replaces another, from its top; Escape brings the main
    // window forward and leaves the viewer open; the error log on show
    // follows new entries at its bottom line; the next start reopens it.
    void viewer()
    {
        pb->show();
        pb->on_actionLicense_triggered();
        pb->on_actionChange_Log_triggered();
        QVERIFY(view()->toPlainText().startsWith("Parkbook - Change Log"));
        QVERIFY(!view()->toPlainText().contains("GNU GENERAL PUBLIC LICENSE"));
        QCOMPARE(view()->textCursor().position(), 0);
        pb->seeFile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pb->seeFile));
        QTest::keyClick(pb->seeFile, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(pb->isActiveWindow(), 5000);
        QVERIFY(pb->seeFile->isVisible());

        for (int i = 0; i < 50; ++i)
            pb->logError(QString("early entry %1").arg(i));
        pb->on_actionShow_Error_Log_triggered();
        pb->logError("the newest entry");
        const QTextCursor cursor = view()->textCursor();
        QVERIFY(cursor.block().text().endsWith("the newest entry"));
        QCOMPARE(cursor.blockNumber(), view()->document()->blockCount() - 1);
        QCOMPARE(cursor.positionInBlock(), 0);
        QVERIFY(home->prompter.shown.isEmpty());
        pb->close();
        pb = home->makeParkbook();
        QVERIFY(pb->seeFile->isVisible());
        QCOMPARE(pb->seeFile->windowTitle(), QString("Program Errors and Comments"));
        QVERIFY(view()->toPlainText().contains("the newest entry"));
    }

    // The licence box names the file as the program always has ("LICESE");
    // the version lines are shown even without their file.
    void missingFiles()
    {
        pb->seeFile->close(); // open with the getting-started text since the first start
        QVERIFY(QFile::remove(home->infoPath() + "/LICENSE.txt"));
        pb->findChild<QAction*>("actionLicense")->trigger();
        QVERIFY(!pb->seeFile->isVisible());
        QVERIFY(QFile::remove(home->infoPath() + "/ENVIRONMENT.txt"));
        pb->findChild<QAction*>("actionEnvironment")->trigger();
        QVERIFY(pb->seeFile->isVisible());
        QVERIFY(view()->toPlainText().startsWith(
            "Program and Development Software Versions\n  Parkbook Version:"));
        QCOMPARE(home->prompter.titles(), QStringList(2, "File not Found"));
        const QString missing = "File '" + pb->programDir.path() + "/%1.txt' not Found.\n";
        QCOMPARE(home->prompter.shown.at(0).text + home->prompter.shown.at(1).text,
                 missing.arg("LICESE") + missing.arg("ENVIRONMENT"));
    }

    // Call signs line up in the lists: a digit second gets a leading space.
    void justifyDigit()
    {
        QCOMPARE(SeeFile::justifyDigit("K1AB") + SeeFile::justifyDigit("KD2XYZ") +
                     SeeFile::justifyDigit("K"),
                 QString(" K1ABKD2XYZK"));
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
