#include "db/sqlitestatement.h"

#include "support/diagnostics.h"

#include <QSqlDriver>
#include <QStringEncoder>
#include <QVariant>
#include <sqlite3.h>

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

SqliteStatement::SqliteStatement(const QSqlDatabase& connection, const char* sql)
    : db(sqliteHandle(connection))
{
    if (!db) {
        failure = "The database is not open.";
        return;
    }
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        failure = QString::fromUtf8(sqlite3_errmsg(db));
        qCWarning(lcDb) << sql << "failed:" << failure;
        statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement);
}

QString SqliteStatement::error() const
{
    return failure;
}

void SqliteStatement::bindText(int index, const QString& text)
{
    if (!statement)
        return;
    // Encoded into a buffer of this place that outlives the run and keeps its
    // memory for the next row; an empty text is bound as text, never as NULL.
    if (index > bound.size())
        bound.resize(index);
    QByteArray& utf8 = bound[index - 1];
    QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    utf8.resize(encoder.requiredSpace(text.size()));
    const char* end = encoder.appendToBuffer(utf8.data(), text);
    sqlite3_bind_text(statement, index, utf8.constData(), int(end - utf8.constData()),
                      SQLITE_STATIC);
}

void SqliteStatement::bindInt(int index, qint64 value)
{
    if (statement)
        sqlite3_bind_int64(statement, index, value);
}

bool SqliteStatement::next()
{
    if (!statement)
        return false;
    const int result = sqlite3_step(statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE) {
        failure = QString::fromUtf8(sqlite3_errmsg(db));
        qCWarning(lcDb) << sqlite3_sql(statement) << "failed:" << failure;
    }
    return false;
}

bool SqliteStatement::run()
{
    if (!statement)
        return false;
    failure.clear();
    next();
    const bool ok = failure.isEmpty();
    reset();
    return ok;
}

void SqliteStatement::reset()
{
    if (!statement)
        return;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

const char* SqliteStatement::data(int column) const
{
    const unsigned char* value = sqlite3_column_text(statement, column);
    return value ? reinterpret_cast<const char*>(value) : "";
}

int SqliteStatement::size(int column) const
{
    return sqlite3_column_bytes(statement, column);
}

QByteArray SqliteStatement::bytes(int column) const
{
    const char* value = data(column);
    return QByteArray(value, size(column));
}

QString SqliteStatement::text(int column) const
{
    const char* value = data(column);
    return QString::fromUtf8(value, size(column));
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(statement, column);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(statement, column) == SQLITE_NULL;
}

int SqliteStatement::changes() const
{
    return db ? sqlite3_changes(db) : 0;
}

qint64 SqliteStatement::lastInsertId() const
{
    return db ? sqlite3_last_insert_rowid(db) : 0;
}
