#include "stats/statisticscore.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace
{
QList<Statistics::Ranked> topThree(QSqlDatabase scratch, const char* statement)
{
    QList<Statistics::Ranked> result;
    QSqlQuery query(scratch);
    query.exec(statement);
    while (query.next())
        result.append({query.value(0).toString(), query.value(1).toString()});
    return result;
}

int rowCount(QSqlDatabase scratch, const char* statement)
{
    QSqlQuery query(scratch);
    query.exec(statement);
    int rows = 0;
    while (query.next())
        ++rows;
    return rows;
}
} // namespace

Statistics::Figures Statistics::compute(QSqlDatabase persistent, QSqlDatabase scratch)
{
    Figures figures;
    for (const char* table : {"DELETE FROM uniqueParks", "DELETE FROM states", "DELETE FROM dxccs"})
        QSqlQuery(scratch).exec(table);

    // The totals are gathered here and written to the scratch tables once, in
    // the order the parks and states first appear: a look-up and an update
    // per activation record took most of the time on a long history. A record
    // without a park or state counts as the empty one, once, however many
    // such records there are.
    struct ParkTotal {
        QString park;
        int activations;
        int qsos;
    };
    QList<ParkTotal> parkTotals;
    QHash<QString, qsizetype> parkRow;
    QStringList stateRows;
    QSet<QString> knownStates;

    QSqlQuery parks(persistent);
    parks.setForwardOnly(true);
    parks.prepare("SELECT park, state, QSOs, LateQSOs, P2Ps FROM parks");
    parks.exec();
    while (parks.next()) {
        const QString park = parks.value(0).toString();
        if (park == "HUNTER")
            continue;
        // Counters are stored as text; empty or non-numeric text counts as 0.
        const QString state = parks.value(1).toString();
        const int qsos = parks.value(2).toString().toInt();
        const int late = parks.value(3).toString().toInt();
        const int p2ps = parks.value(4).toString().toInt();

        ++figures.attempts;
        figures.totalQso += qsos;
        const int activation = qsos > 9 ? 1 : 0;
        figures.successful += activation;
        if (late > 9)
            ++figures.lateShift;
        figures.parkToPark += p2ps;

        const auto known = parkRow.constFind(park);
        if (known != parkRow.cend()) {
            ParkTotal& total = parkTotals[*known];
            total.activations += activation;
            total.qsos += qsos;
        } else {
            parkRow.insert(park, parkTotals.size());
            parkTotals.append({park, activation, qsos});
        }
        if (!knownStates.contains(state)) {
            knownStates.insert(state);
            stateRows.append(state);
        }
    }

    // The scratch tables are in memory; one transaction keeps a long history quick.
    scratch.transaction();
    QSqlQuery insertPark(scratch);
    insertPark.prepare("INSERT INTO uniqueParks (park, activations, QSOs) VALUES (?, ?, ?)");
    for (const ParkTotal& total : std::as_const(parkTotals)) {
        insertPark.addBindValue(total.park);
        insertPark.addBindValue(total.activations);
        insertPark.addBindValue(total.qsos);
        insertPark.exec();
    }
    QSqlQuery insertState(scratch);
    insertState.prepare("INSERT INTO states (state) VALUES (?)");
    for (const QString& state : std::as_const(stateRows)) {
        insertState.addBindValue(state);
        insertState.exec();
    }

    figures.repeat = topThree(
        scratch, "SELECT park, activations FROM uniqueParks ORDER BY activations DESC LIMIT 3");
    figures.kilo =
        topThree(scratch, "SELECT park, QSOs FROM uniqueParks ORDER BY QSOs DESC LIMIT 3");
    figures.unique = rowCount(scratch, "SELECT id FROM uniqueParks");
    figures.states = rowCount(scratch, "SELECT state FROM states");

    // Countries worked while hunting: only contacts with another activator's park.
    QSqlQuery insertDxcc(scratch);
    insertDxcc.prepare("INSERT INTO dxccs (dxcc) VALUES (?)");
    QSet<QString> knownDxccs;
    QSqlQuery contacts(persistent);
    contacts.setForwardOnly(true);
    contacts.prepare("SELECT p2p, dxcc FROM log WHERE park=?");
    contacts.addBindValue(QStringLiteral("HUNTER"));
    contacts.exec();
    while (contacts.next()) {
        const QString p2p = contacts.value(0).toString();
        const QString dxcc = contacts.value(1).toString();
        if (p2p.isEmpty() || dxcc.isEmpty() || knownDxccs.contains(dxcc))
            continue;
        knownDxccs.insert(dxcc);
        insertDxcc.addBindValue(dxcc);
        insertDxcc.exec();
        ++figures.dxs;
    }
    scratch.commit();
    return figures;
}

QString Statistics::rightAligned(int value, int width)
{
    return QString("%1").arg(value, width);
}
