#include "temphome.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

// A Parkbook in a child process is killed with SIGKILL while it logs contacts
// or imports a file. After every kill the database must be sound, hold every
// contact the child had acknowledged, and hold an import whole or not at all.
// (SIGKILL stops the process, not the machine: what this proves is that
// nothing acknowledged is still waiting inside the program, and that SQLite's
// journal brings an interrupted transaction back on the next open.)
class TestCrashConsistency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void acknowledgedContactsSurviveKills();
    void importIsAllOrNothing();

private:
    struct Run {
        QStringList lines;
        bool killed = false;
    };
    // Starts the child, waits (bounded) for `trigger` on its output, lets it
    // run `delayMs` more and kills it; a child that ends by itself first is
    // not killed.
    static Run runAndKill(const QString& home, const QStringList& args, const QByteArray& trigger,
                          int delayMs);
    // The first column of `sql` run on the home's log database.
    static QStringList column(const QString& home, const QString& sql);

    QRandomGenerator random;
    QTemporaryDir scratch;
    QString adifPath;
    static constexpr int importRecords = 3000;
};

void TestCrashConsistency::initTestCase()
{
    // The seed is printed so that a failing sequence of kill times can be
    // repeated with PARKBOOK_KILL_SEED.
    const quint32 seed = qEnvironmentVariableIsSet("PARKBOOK_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("PARKBOOK_KILL_SEED"))
                             : QRandomGenerator::global()->generate();
    qInfo("kill seed %u", seed);
    random.seed(seed);

    QVERIFY(scratch.isValid());
    adifPath = scratch.filePath("big.adi");
    QFile file(adifPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Generated log\n<EOH>\n");
    for (int n = 0; n < importRecords; ++n) {
        const QByteArray call = "W" + QByteArray::number(n) + "IMP";
        file.write("<CALL:" + QByteArray::number(call.size()) + ">" + call +
                   " <QSO_DATE:8>20260601 <TIME_ON:6>" + QByteArray::number(100000 + n) +
                   " <MODE:3>SSB <BAND:3>20m <RST_SENT:2>59 <RST_RCVD:2>57"
                   " <MY_SIG_INFO:6>K-0002 <COMMENT:14>Zoë at Névé 1 <EOR>\n");
    }
}

TestCrashConsistency::Run TestCrashConsistency::runAndKill(const QString& home,
                                                           const QStringList& args,
                                                           const QByteArray& trigger, int delayMs)
{
    Run run;
    QProcess child;
    child.start(QStringLiteral(RELIABILITY_CHILD), QStringList{home} + args);
    QByteArray out;
    // Start-up under the sanitizers takes seconds; a minute is the bound.
    const QDeadlineTimer startUp(60000);
    while (!out.contains(trigger) && child.state() != QProcess::NotRunning &&
           !startUp.hasExpired()) {
        child.waitForReadyRead(1000);
        out += child.readAllStandardOutput();
    }
    if (child.state() == QProcess::Running && out.contains(trigger)) {
        if (delayMs > 0)
            child.waitForFinished(delayMs); // returns early if the child ends first
        if (child.state() == QProcess::Running) {
            child.kill();
            run.killed = true;
        }
    }
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished(5000);
    }
    // Lines written before the kill are still in the pipe.
    out += child.readAllStandardOutput();
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() != 0)
        qWarning("child exited with %d: %s", child.exitCode(),
                 child.readAllStandardError().constData());
    run.lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    return run;
}

QStringList TestCrashConsistency::column(const QString& home, const QString& sql)
{
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
        db.setDatabaseName(home + "/Programs/Parkbook/Data/parkbook.db");
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql))
                while (query.next())
                    values.append(query.value(0).toString());
            else
                values.append("<error>");
        }
    }
    QSqlDatabase::removeDatabase("check");
    return values;
}

void TestCrashConsistency::acknowledgedContactsSurviveKills()
{
    TempHome home;
    QSet<QString> acknowledged;
    for (int round = 0; round < 15; ++round) {
        const int delay = int(random.bounded(400));
        const Run run =
            runAndKill(home.path(), {"log", QString("N") + QChar('A' + round)}, "ACK ", delay);
        QVERIFY2(run.killed, qPrintable(run.lines.join('\n')));
        for (const QString& line : run.lines) {
            QVERIFY2(!line.startsWith("FAILED"), qPrintable(line));
            if (line.startsWith("ACK "))
                acknowledged.insert(line.mid(4));
        }

        QCOMPARE(column(home.path(), "PRAGMA integrity_check"), QStringList{"ok"});
        const QStringList calls = column(home.path(), "SELECT call FROM log");
        const QSet<QString> stored(calls.begin(), calls.end());
        QCOMPARE(stored.size(), calls.size()); // nothing written twice
        for (const QString& call : std::as_const(acknowledged))
            QVERIFY2(stored.contains(call), qPrintable("lost after kill: " + call));
        // The contact being written when each kill came may be there too.
        QVERIFY(calls.size() <= acknowledged.size() + round + 1);
    }
}

void TestCrashConsistency::importIsAllOrNothing()
{
    TempHome home;
    // A few contacts of its own first, so that "none" is not an empty log.
    QVERIFY(runAndKill(home.path(), {"log", "NZ"}, "ACK NZ0004", 0).killed);
    const QStringList seeded = column(home.path(), "SELECT count(*) FROM log");
    QVERIFY(seeded.value(0).toInt() >= 5);

    const QString imported = "SELECT count(*) FROM log WHERE park='K-0002'";
    QElapsedTimer clock;
    clock.start();
    const Run whole = runAndKill(home.path(), {"import", adifPath}, "IMPORT START", 120000);
    const int wholeMs = int(clock.elapsed());
    QVERIFY2(!whole.killed && whole.lines.contains("IMPORT DONE"),
             qPrintable(whole.lines.join('\n')));
    QCOMPARE(column(home.path(), imported), QStringList{QString::number(importRecords)});

    for (int round = 0; round < 12; ++round) {
        QCOMPARE(column(home.path(), "DELETE FROM log WHERE park='K-0002'"), QStringList());
        QCOMPARE(column(home.path(), "DELETE FROM parks WHERE park='K-0002'"), QStringList());
        const int delay = int(random.bounded(quint32(qMax(wholeMs, 100))));
        const Run run = runAndKill(home.path(), {"import", adifPath}, "IMPORT START", delay);
        QCOMPARE(column(home.path(), "PRAGMA integrity_check"), QStringList{"ok"});
        const int rows = column(home.path(), imported).value(0).toInt();
        if (run.lines.contains("IMPORT DONE"))
            QCOMPARE(rows, importRecords);
        else
            QVERIFY2(rows == 0 || rows == importRecords, qPrintable(QString::number(rows)));
        // The park record is part of the same transaction.
        QCOMPARE(column(home.path(), "SELECT id FROM parks WHERE park='K-0002'").size(),
                 rows ? 1 : 0);
        QCOMPARE(column(home.path(), "SELECT count(*) FROM log WHERE park<>'K-0002'"), seeded);
    }
}

QTEST_MAIN(TestCrashConsistency)
#include "tst_crashconsistency.moc"
