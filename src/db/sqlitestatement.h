#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// A statement run through SQLite's own interface on the connection beneath a
// Qt connection. Only the hot paths use it (the import, the contact log, the
// recount, the activation list): Qt's driver turns every bound text and every
// value read into a QVariant, which costs more than SQLite's own work there.
// Everything else goes through QSqlQuery.
class SqliteStatement
{
public:
    SqliteStatement(const QSqlDatabase& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // False when the connection is closed or the statement does not compile.
    bool isValid() const { return statement != nullptr; }
    QString error() const;

    // Binds place `index` (from 1), as UTF-8: SQLite would otherwise convert
    // a UTF-16 text into memory of its own at every bind.
    void bindText(int index, const QString& text);
    void bindInt(int index, qint64 value);
    // Steps once: true while a row is there. A failure ends the stepping and
    // leaves error() set.
    bool next();
    // Runs a statement that returns no rows; false on failure.
    bool run();
    // Ready for new bindings and a new run.
    void reset();

    // Values of the current row by column (from 0), as SQLite stores them.
    QByteArray bytes(int column) const; // a deep copy
    const char* data(int column) const;
    int size(int column) const;
    QString text(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;

    // The number of rows the last run changed.
    int changes() const;
    qint64 lastInsertId() const;

private:
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    QString failure;
    QList<QByteArray> bound; // the UTF-8 of each bound text, by place; kept for reuse
};

// The SQLite connection beneath a Qt connection; null when it is not open.
sqlite3* sqliteHandle(const QSqlDatabase& db);
