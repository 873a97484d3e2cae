#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <array>

// One contact: the columns of `log` after its id, every value as text.
struct ContactRow {
    QString date, time, park, call, name, last, born, city, county, state, country, dxcc, lat, lon,
        grid, license, expire, sent, rcvd, mode, band, frequency, power, p2p, station, operatorCall,
        comment;
};

// The contact columns, spelled once. Every statement that writes or reads a
// whole contact builds its column list and bind order from this table.
namespace ContactColumns
{
struct Column {
    const char* name;
    QString ContactRow::*member;
};
// In the order of the `log` table; `mLog` has the same columns without
// station and operator.
extern const std::array<Column, 27> all;

// The column names, without those in `except`.
QStringList names(const QStringList& except = {});
// "INSERT INTO table (a, b, ...) VALUES (?, ?, ...)" for the columns not in
// `except`, with `extra` columns (bound first) in front.
QString insertSql(const QString& table, const QStringList& except = {},
                  const QStringList& extra = {});
// "UPDATE table SET a=?, b=?, ... WHERE key=?" for the columns not in `except`.
QString updateSql(const QString& table, const QString& key, const QStringList& except);
// Binds the row's values in the order of names(except).
void bind(QSqlQuery& query, const ContactRow& row, const QStringList& except = {});
// The row of the query's current record, read by column name; absent columns stay empty.
ContactRow read(const QSqlQuery& query);
} // namespace ContactColumns
