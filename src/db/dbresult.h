#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// What one statement of the data layer came to. Writes return it and the
// caller must look at it: a refused write must never pass for a stored
// contact. `id` is the new row's id after an insert.
struct [[nodiscard]] DbResult {
    bool ok = false;
    qint64 id = 0;
    QString error;

    static DbResult success(qint64 id = 0) { return {true, id, QString()}; }
    static DbResult failure(const QString& error) { return {false, 0, error}; }
    // The outcome of an executed statement (for an INSERT, with its new id).
    static DbResult of(const QSqlQuery& query, bool executed)
    {
        if (!executed)
            return failure(query.lastError().text());
        return success(query.lastInsertId().toLongLong());
    }
    explicit operator bool() const { return ok; }
};

// Executes a prepared statement; a failure is also told to the developer
// diagnostics with the statement's text.
DbResult execute(QSqlQuery& query);
