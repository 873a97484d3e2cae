#include "parks/activationrecords.h"

#include "parks/fixedwidth.h"
#include "parks/laterule.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace
{
ActivationCounts countFrom(QSqlQuery& contacts)
{
    ActivationCounts counts;
    while (contacts.next()) {
        ++counts.qsos;
        if (isLateContact(contacts.value(0).toString()))
            ++counts.lateQsos;
        if (!contacts.value(1).toString().isEmpty())
            ++counts.p2ps;
    }
    return counts;
}
} // namespace

ActivationCounts countActivation(QSqlDatabase db, const QString& date, const QString& park)
{
    QSqlQuery contacts(db);
    contacts.setForwardOnly(true);
    contacts.prepare("SELECT time, p2p FROM log WHERE date=? and park=?");
    contacts.addBindValue(date);
    contacts.addBindValue(park);
    contacts.exec();
    return countFrom(contacts);
}

bool storeActivationCounts(QSqlDatabase db, const QString& date, const QString& park)
{
    const ActivationCounts counts = countActivation(db, date, park);
    QSqlQuery update(db);
    update.prepare("UPDATE parks SET  QSOs=?, LateQSOs=?, P2Ps=? WHERE date=? and park=? and "
                   "(QSOs IS NOT ? or LateQSOs IS NOT ? or P2Ps IS NOT ?)");
    const QStringList counted = {QString::number(counts.qsos), QString::number(counts.lateQsos),
                                 QString::number(counts.p2ps)};
    for (const QString& value : counted)
        update.addBindValue(value);
    update.addBindValue(date);
    update.addBindValue(park);
    for (const QString& value : counted)
        update.addBindValue(value);
    return update.exec() && update.numRowsAffected() > 0;
}

bool storeActivationCountsOf(QSqlDatabase db, int logId)
{
    QSqlQuery contact(db);
    contact.prepare("SELECT date, park FROM log WHERE id=?");
    contact.addBindValue(logId);
    if (!contact.exec() || !contact.next())
        return false;
    const QString date = contact.value(0).toString();
    const QString park = contact.value(1).toString();
    contact.finish();
    return storeActivationCounts(db, date, park);
}

int findActivation(QSqlDatabase db, const QString& date, const QString& park)
{
    QSqlQuery query(db);
    query.prepare("SELECT id FROM parks WHERE park=? ORDER BY date=? DESC, date DESC, id LIMIT 1");
    query.addBindValue(park);
    query.addBindValue(date);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

int activationListEntry(QSqlDatabase memory, int parkId)
{
    QSqlQuery query(memory);
    query.prepare("SELECT id FROM activationId WHERE parkId=? ORDER BY id LIMIT 1");
    query.addBindValue(parkId);
    return parkId != 0 && query.exec() && query.next() ? query.value(0).toInt() : 0;
}

bool isParkDate(const QString& text)
{
    static const QRegularExpression eightDigits("^[0-9]{8}$");
    return eightDigits.match(text).hasMatch() && QDate::fromString(text, "yyyyMMdd").isValid();
}

int recountActivations(QSqlDatabase db)
{
    // Read the pairs first: updating `parks` while stepping through it would
    // let the statement see its own changes.
    struct Row {
        qlonglong id;
        QString date;
        QString park;
        QString qsos, lateQsos, p2ps; // as stored
    };
    QList<Row> rows;
    {
        QSqlQuery parks(db);
        parks.setForwardOnly(true);
        parks.exec("SELECT id, date, park, QSOs, LateQSOs, P2Ps FROM parks");
        while (parks.next())
            rows.append({parks.value(0).toLongLong(), parks.value(1).toString(),
                         parks.value(2).toString(), parks.value(3).toString(),
                         parks.value(4).toString(), parks.value(5).toString()});
    }

    // One transaction: thousands of single-statement commits would each wait
    // for the disk.
    const bool inTransaction = db.transaction();
    QSqlQuery contacts(db);
    contacts.setForwardOnly(true);
    contacts.prepare("SELECT time, p2p FROM log WHERE date=? and park=?");
    QSqlQuery update(db);
    // By row id: every row of a (date, park) pair gets the same counts, and no
    // update has to search the table.
    update.prepare("UPDATE parks SET  QSOs=?, LateQSOs=?, P2Ps=? WHERE id=?");
    for (const Row& row : rows) {
        contacts.addBindValue(row.date);
        contacts.addBindValue(row.park);
        contacts.exec();
        const ActivationCounts counts = countFrom(contacts);
        contacts.finish();
        // A record that already holds these counts is left alone: at every
        // start nearly all of them do, and then nothing is written at all.
        if (row.qsos == QString::number(counts.qsos) &&
            row.lateQsos == QString::number(counts.lateQsos) &&
            row.p2ps == QString::number(counts.p2ps))
            continue;
        update.addBindValue(counts.qsos);
        update.addBindValue(counts.lateQsos);
        update.addBindValue(counts.p2ps);
        update.addBindValue(row.id);
        update.exec();
    }
    if (inTransaction)
        db.commit();
    return int(rows.size());
}

bool belongsToMode(const QString& park, const QString& mode)
{
    if (mode == "Activating")
        return park != hunterPark;
    if (mode == "Hunting")
        return park == hunterPark;
    return false;
}

QString activationHeader()
{
    return fixedWidthLine({{"  Date", -8},
                           {"Pk-Ref", -parkWidth},
                           {"ST", -2},
                           {"QSO", -3},
                           {"LQs", -3},
                           {"P2P", -3},
                           {"  Lat", -8},
                           {"   Lon", -9},
                           {"LOCAT", -5},
                           {"Park Name", -64},
                           {"County", -22}});
}

QString activationLine(const ActivationListRow& row)
{
    return fixedWidthLine({{row.date, -8},
                           {row.park, -parkWidth},
                           {row.state, -2},
                           {row.qsos, 3},
                           {row.lateQsos, 3},
                           {row.p2ps, 3},
                           {row.lat, -8},
                           {row.lon, -9},
                           {row.location, -5},
                           {row.name, -64},
                           {row.county, -20}});
}
