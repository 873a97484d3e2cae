#include "app/utcclock.h"
#include "journey.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

namespace
{
void say(const QByteArray& line)
{
    // Written straight to the pipe: once the line is out, the parent may rely
    // on it even if this process dies the next instant.
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

// The Parkbook run that the test kills, this program started again as
//   <program> --child <home> log <prefix>    logs contacts <prefix>0000 to
//                                            <prefix>9999, one line "ACK <call>"
//                                            after each is stored
//   <program> --child <home> import <file>   imports an ADIF file, "IMPORT START"
//                                            before and "IMPORT DONE" after
// <home> already holds Programs/Parkbook/Info and Data; nothing waits for a click.
int child(const QStringList& args)
{
    if (!QDir::setCurrent(args.at(2)))
        return 2;
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    Parkbook pb(&prompter, &sound);
    if (!QTest::qWaitFor([&pb] { return pb.startupDone; }, 30000))
        return 3;
    fillTestStation(pb);
    pb.ui->endDate->setText("20260601");
    if (args.at(3) == "log") {
        // The call field takes six characters: a two-letter prefix and four digits.
        for (int n = 0; n < 10000; ++n) {
            const QString call = args.at(4) + QString::number(n).rightJustified(4, '0');
            pb.ui->call->setText(call);
            pb.on_logContact_pressed();
            say((pb.contactWriteFailed ? "FAILED " : "ACK ") + call.toUtf8());
        }
        return 0;
    }
    // The whole day of the generated records is taken.
    pb.ui->startTime->setText("000000");
    pb.ui->stopTime->setText("235959");
    prompter.paths.enqueue(args.at(4));
    const qsizetype boxes = prompter.shown.size();
    say("IMPORT START");
    pb.on_actionImport_Contact_Log_triggered();
    say(prompter.shown.size() == boxes ? "IMPORT DONE"
                                       : "IMPORT REPORTED " + prompter.shown.last().text.toUtf8());
    return 0;
}

struct Run {
    QStringList lines;
    bool killed = false;
};

// Starts the child, waits (bounded) for `trigger` on its output, lets it run
// `delayMs` more and kills it; a child that ends by itself first is not killed,
// one that never gives the trigger is.
Run runAndKill(const QString& home, const QStringList& args, const QByteArray& trigger, int delayMs)
{
    Run run;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), QStringList{"--child", home} + args);
    QByteArray out;
    // Start-up under the sanitizers takes seconds; a minute is the bound.
    const QDeadlineTimer startUp(60000);
    while (!out.contains(trigger) && child.state() != QProcess::NotRunning &&
           !startUp.hasExpired()) {
        child.waitForReadyRead(1000);
        out += child.readAllStandardOutput();
    }
    if (child.state() == QProcess::Running && out.contains(trigger)) {
        child.waitForFinished(delayMs); // returns early if the child ends first
        run.killed = child.state() == QProcess::Running;
    }
    child.kill();
    child.waitForFinished(20000);
    // Lines written before the kill are still in the pipe.
    out += child.readAllStandardOutput();
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() != 0)
        qWarning("child exited with %d: %s", child.exitCode(),
                 child.readAllStandardError().constData());
    run.lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    return run;
}

} // namespace

// A Parkbook in a child process is killed with SIGKILL while it logs contacts
// or imports a file. After every kill the database must be sound, hold every
// contact the child had acknowledged, and hold an import whole or not at all.
// (SIGKILL stops the process, not the machine: what this proves is that
// nothing acknowledged is still waiting inside the program, and that SQLite's
// journal brings an interrupted transaction back on the next open.)
class TestCrashConsistency : public QObject
{
    Q_OBJECT

    QRandomGenerator random;
    static constexpr int importRecords = 3000;

private Q_SLOTS:
    void initTestCase()
    {
        // The seed is printed so that a failing sequence of kill times can be
        // repeated with PARKBOOK_KILL_SEED.
        const quint32 seed = qEnvironmentVariableIsSet("PARKBOOK_KILL_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("PARKBOOK_KILL_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("kill seed %u", seed);
        random.seed(seed);
    }

    void acknowledgedContactsSurviveKills()
    {
        TempHome home;
        QSet<QString> acknowledged;
        for (int round = 0; round < 15; ++round) {
            const Run run = runAndKill(home.path(), {"log", QString("N") + QChar('A' + round)},
                                       "ACK ", int(random.bounded(400)));
            QVERIFY2(run.killed, qPrintable(run.lines.join('\n')));
            for (const QString& line : run.lines) {
                QVERIFY2(!line.startsWith("FAILED"), qPrintable(line));
                if (line.startsWith("ACK "))
                    acknowledged.insert(line.mid(4));
            }
            QCOMPARE(Journey::run("PRAGMA integrity_check"), QStringList{"ok"});
            const QStringList calls = Journey::run("SELECT call FROM log");
            const QSet<QString> stored(calls.begin(), calls.end());
            QCOMPARE(stored.size(), calls.size()); // nothing written twice
            for (const QString& call : std::as_const(acknowledged))
                QVERIFY2(stored.contains(call), qPrintable("lost after kill: " + call));
            // The contact being written when each kill came may be there too.
            QVERIFY(calls.size() <= acknowledged.size() + round + 1);
        }
    }

    void importIsAllOrNothing()
    {
        TempHome home;
        QFile file(home.path() + "/big.adi");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Generated log\n<EOH>\n");
        for (int n = 0; n < importRecords; ++n) {
            const QByteArray call = "W" + QByteArray::number(n) + "IMP";
            file.write("<CALL:" + QByteArray::number(call.size()) + ">" + call +
                       " <QSO_DATE:8>20260601 <TIME_ON:6>" + QByteArray::number(100000 + n) +
                       " <MODE:3>SSB <BAND:3>20m <RST_SENT:2>59 <RST_RCVD:2>57"
                       " <MY_SIG_INFO:6>K-0002 <COMMENT:14>Zoë at Névé 1 <EOR>\n");
        }
        file.close();
        // A few contacts of its own first, so that "none" is not an empty log.
        QVERIFY(runAndKill(home.path(), {"log", "NZ"}, "ACK NZ0004", 0).killed);
        const QStringList seeded = Journey::run("SELECT count(*) FROM log");
        QVERIFY(seeded.value(0).toInt() >= 5);

        const QString imported = "SELECT count(*) FROM log WHERE park='K-0002'";
        QElapsedTimer clock;
        clock.start();
        const Run whole =
            runAndKill(home.path(), {"import", file.fileName()}, "IMPORT START", 120000);
        const int wholeMs = int(clock.elapsed());
        QVERIFY2(!whole.killed && whole.lines.contains("IMPORT DONE"),
                 qPrintable(whole.lines.join('\n')));
        QCOMPARE(Journey::run(imported), QStringList{QString::number(importRecords)});

        for (int round = 0; round < 12; ++round) {
            Journey::run("DELETE FROM log WHERE park='K-0002'");
            Journey::run("DELETE FROM parks WHERE park='K-0002'");
            const int delay = int(random.bounded(quint32(qMax(wholeMs, 100))));
            const Run run =
                runAndKill(home.path(), {"import", file.fileName()}, "IMPORT START", delay);
            QCOMPARE(Journey::run("PRAGMA integrity_check"), QStringList{"ok"});
            const int rows = Journey::run(imported).value(0).toInt();
            QVERIFY2(rows == importRecords || (rows == 0 && !run.lines.contains("IMPORT DONE")),
                     qPrintable(QString::number(rows)));
            // The park record is part of the same transaction.
            QCOMPARE(Journey::run("SELECT id FROM parks WHERE park='K-0002'").size(), rows ? 1 : 0);
            QCOMPARE(Journey::run("SELECT count(*) FROM log WHERE park<>'K-0002'"), seeded);
        }
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 5 && argv[1] == QByteArray("--child"))
        return child(app.arguments());
    TestCrashConsistency test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crashconsistency.moc"
