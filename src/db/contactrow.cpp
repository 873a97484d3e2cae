#include "db/contactrow.h"

#include <QSqlRecord>
#include <QVariant>

const std::array<ContactColumns::Column, 27> ContactColumns::all = {{
    {"date", &ContactRow::date},       {"time", &ContactRow::time},
    {"park", &ContactRow::park},       {"call", &ContactRow::call},
    {"name", &ContactRow::name},       {"last", &ContactRow::last},
    {"born", &ContactRow::born},       {"city", &ContactRow::city},
    {"county", &ContactRow::county},   {"state", &ContactRow::state},
    {"country", &ContactRow::country}, {"dxcc", &ContactRow::dxcc},
    {"lat", &ContactRow::lat},         {"lon", &ContactRow::lon},
    {"grid", &ContactRow::grid},       {"license", &ContactRow::license},
    {"expire", &ContactRow::expire},   {"sent", &ContactRow::sent},
    {"rcvd", &ContactRow::rcvd},       {"mode", &ContactRow::mode},
    {"band", &ContactRow::band},       {"frequency", &ContactRow::frequency},
    {"power", &ContactRow::power},     {"p2p", &ContactRow::p2p},
    {"station", &ContactRow::station}, {"operator", &ContactRow::operatorCall},
    {"comment", &ContactRow::comment},
}};

QStringList ContactColumns::names(const QStringList& except)
{
    QStringList result;
    for (const Column& column : all) {
        if (!except.contains(QLatin1String(column.name)))
            result.append(QLatin1String(column.name));
    }
    return result;
}

QString ContactColumns::insertSql(const QString& table, const QStringList& except,
                                  const QStringList& extra)
{
    const QStringList columns = extra + names(except);
    QStringList marks;
    marks.fill("?", columns.size());
    return "INSERT INTO " + table + " (" + columns.join(", ") + ") VALUES (" + marks.join(", ") +
           ")";
}

QString ContactColumns::updateSql(const QString& table, const QString& key,
                                  const QStringList& except)
{
    return "UPDATE " + table + " SET " + names(except).join("=?, ") + "=? WHERE " + key + "=?";
}

void ContactColumns::bind(QSqlQuery& query, const ContactRow& row, const QStringList& except)
{
    for (const Column& column : all) {
        if (!except.contains(QLatin1String(column.name)))
            query.addBindValue(row.*column.member);
    }
}

ContactRow ContactColumns::read(const QSqlQuery& query)
{
    ContactRow row;
    const QSqlRecord record = query.record();
    for (const Column& column : all) {
        const int index = record.indexOf(QLatin1String(column.name));
        if (index >= 0)
            row.*column.member = query.value(index).toString();
    }
    return row;
}
