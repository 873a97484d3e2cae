// All-time statistics from activation records and hunted contacts, counted by hand.
#include "scratchdatabases.h"
#include "stats/statisticscore.h"

#include <QtTest>

class TestStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Ten contacts make a success, ten before noon a late shift; "?", "" and
    // NULL are states (the last two the same one); counters that are empty or
    // text count 0; hunting days are no activations. Countries hunted park to
    // park count once each.
    void figures()
    {
        ScratchDatabases db;
        auto shown = [&db] {
            const Statistics::Figures f = Statistics::compute(db.log, db.memory);
            QString text;
            for (int n : {f.attempts, f.successful, f.lateShift, f.unique, f.totalQso, f.states,
                          f.parkToPark, f.dxs})
                text += QString::number(n) + ' ';
            for (const QList<Statistics::Ranked>& list : {f.repeat, f.kilo}) {
                text += ';';
                for (const Statistics::Ranked& r : list)
                    text += ' ' + r.park + ' ' + r.value;
            }
            return text;
        };
        QCOMPARE(shown(), QString("0 0 0 0 0 0 0 0 ;;")); // an empty log
        db.run("INSERT INTO parks (park, state, QSOs, LateQSOs, P2Ps) VALUES ('K-1', 'OH', '20', "
               "'0', '1'), ('K-1', 'OH', '15', '12', ''), ('K-2', '?', '5', '0', ''), ('K-2', "
               "'?', '11', '0', '2'), ('K-2', 'PA', '12', '0', ''), ('K-2', 'PA', '13', '0', ''), "
               "('K-2', 'PA', '10', '10', ''), ('K-3', '', '100', '0', ''), ('K-5', NULL, '', '', "
               "''), ('K-5', NULL, 'many', 'x', 'y'), ('K-5', NULL, '9', '9', ''), ('HUNTER', "
               "'NH', '30', '30', '5')");
        db.run("INSERT INTO log (park, p2p, dxcc) VALUES ('HUNTER', 'K-1', '291'), ('HUNTER', "
               "'K-2', '291'), ('HUNTER', 'VE-1', '1'), ('HUNTER', '', '110'), ('HUNTER', 'K-3', "
               "''), ('K-9', 'K-4', '6')");
        // attempts successful lateShift unique totalQso states parkToPark dxs; repeat; kilo
        QCOMPARE(shown(), QString("11 7 2 4 195 4 3 2 ; K-2 4 K-1 2 K-3 1; K-3 100 K-2 51 K-1 35"));
    }
};

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
