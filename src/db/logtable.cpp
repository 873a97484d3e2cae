#include "db/logtable.h"

#include "db/sortkey.h"
#include "db/sqlitestatement.h"

#include <QVariant>
#include <algorithm>

namespace
{
// The date and park of a contact are set when it is logged; an edit keeps them.
const QStringList keptByEdit = {"date", "park"};
} // namespace

DbResult LogTable::insert(QSqlDatabase db, const ContactRow& row)
{
    QSqlQuery query(db);
    query.prepare(ContactColumns::insertSql("log"));
    ContactColumns::bind(query, row);
    return execute(query);
}

DbResult LogTable::update(QSqlDatabase db, qint64 id, const ContactRow& row)
{
    QSqlQuery query(db);
    query.prepare(ContactColumns::updateSql("log", "id", keptByEdit));
    ContactColumns::bind(query, row, keptByEdit);
    query.addBindValue(id);
    DbResult result = execute(query);
    if (result && query.numRowsAffected() == 0)
        return DbResult::failure("There is no contact " + QString::number(id) + " in the log.");
    result.id = id;
    return result;
}

DbResult LogTable::remove(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("DELETE FROM log WHERE id = ?");
    query.addBindValue(id);
    return execute(query);
}

std::optional<ContactRow> LogTable::find(QSqlDatabase db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM log WHERE id = ?");
    query.addBindValue(id);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return ContactColumns::read(query);
}

QList<LogTable::Contact> LogTable::parkLog(QSqlDatabase db, const QString& date,
                                           const QString& operatorCall, const QString& park)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM log WHERE date=? and  operator=? and park=? ORDER BY time");
    query.addBindValue(date);
    query.addBindValue(operatorCall);
    query.addBindValue(park);
    QList<Contact> contacts;
    if (!execute(query))
        return contacts;
    while (query.next())
        contacts.append({query.value("id").toLongLong(), ContactColumns::read(query)});
    return contacts;
}

QList<ContactRow> LogTable::forExport(QSqlDatabase db, const QString& startDate,
                                      const QString& endDate, const QString& park)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare("SELECT * FROM log WHERE date>=? and date<=? and park=? ORDER BY date, time");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    query.addBindValue(park);
    QList<ContactRow> rows;
    if (!execute(query))
        return rows;
    while (query.next())
        rows.append(ContactColumns::read(query));
    return rows;
}

LogTable::NewestFirst::NewestFirst(QSqlDatabase db) : db(db) {}

// The contacts are read in the order they are stored and sorted here: the
// list has 100,000 lines on a long log, and SQLite reading an index backwards
// and looking every row up cost twice as much. Only the listed columns are
// read, and their bytes go into one buffer.
bool LogTable::NewestFirst::readMore(int count)
{
    SqliteStatement query(db, "SELECT id, date, park, time, call, band, mode, p2p FROM log "
                              "WHERE id>? ORDER BY id LIMIT ?");
    query.bindInt(1, lastId);
    query.bindInt(2, count);
    int read = 0;
    while (query.next()) {
        Row row;
        row.id = query.integer(0);
        for (int c = 0; c < columns; ++c) {
            row.start[c] = int(values.size());
            values.append(query.data(c), query.size(c));
        }
        row.start[columns] = int(values.size());
        row.dateKey = sortKey(field(row, 1));
        row.parkKey = sortKey(field(row, 2));
        row.timeKey = sortKey(field(row, 3));
        rows.append(row);
        lastId = row.id;
        ++read;
    }
    return read == count;
}

QByteArrayView LogTable::NewestFirst::field(const Row& row, int column) const
{
    return QByteArrayView(values.constData() + row.start[column],
                          row.start[column + 1] - row.start[column]);
}

void LogTable::NewestFirst::each(const std::function<void(const ListedContact&)>& each)
{
    auto compare = [this](const Row& a, const Row& b, quint64 Row::*key, int column) {
        return compareByKey(a.*key, field(a, column), b.*key, field(b, column));
    };
    std::sort(rows.begin(), rows.end(), [&compare](const Row& a, const Row& b) {
        if (const int date = compare(a, b, &Row::dateKey, 1); date != 0)
            return date > 0;
        if (const int park = compare(a, b, &Row::parkKey, 2); park != 0)
            return park < 0;
        if (const int time = compare(a, b, &Row::timeKey, 3); time != 0)
            return time < 0;
        return a.id < b.id;
    });
    for (const Row& row : std::as_const(rows))
        each({field(row, 0), field(row, 1), field(row, 2), field(row, 3), field(row, 4),
              field(row, 5), field(row, 6), field(row, 7)});
    // A long log's rows are megabytes, not needed while its list is drawn.
    rows = QList<Row>();
    values = QByteArray();
}

int LogTable::countInRange(QSqlDatabase db, const QString& startDate, const QString& endDate)
{
    QSqlQuery query(db);
    query.prepare("SELECT COUNT(*) FROM log WHERE date>=? and date<=?");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    return execute(query) && query.next() ? query.value(0).toInt() : 0;
}

std::optional<LogTable::Contact> LogTable::nextInRange(QSqlDatabase db, const QString& startDate,
                                                       const QString& endDate, qint64 afterId)
{
    QSqlQuery query(db);
    query.prepare("SELECT * FROM log WHERE date>=? and date<=? and id>? ORDER BY id LIMIT 1");
    query.addBindValue(startDate);
    query.addBindValue(endDate);
    query.addBindValue(afterId);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return Contact{query.value("id").toLongLong(), ContactColumns::read(query)};
}

DbResult LogTable::fillMissingDetails(QSqlDatabase db, qint64 id, const ContactRow& answer)
{
    const std::optional<ContactRow> stored = find(db, id);
    if (!stored)
        return DbResult::failure("There is no contact " + QString::number(id) + " in the log.");
    static const QStringList details = {"name",    "last",   "city", "county", "state",
                                        "country", "dxcc",   "lat",  "lon",    "grid",
                                        "license", "expire", "born"};
    ContactRow merged = *stored;
    QStringList others;
    for (const ContactColumns::Column& column : ContactColumns::all) {
        if (!details.contains(QLatin1String(column.name)))
            others.append(QLatin1String(column.name));
        else if ((merged.*column.member).isEmpty())
            merged.*column.member = answer.*column.member;
    }
    QSqlQuery query(db);
    query.prepare(ContactColumns::updateSql("log", "id", others));
    ContactColumns::bind(query, merged, others);
    query.addBindValue(id);
    return execute(query);
}
