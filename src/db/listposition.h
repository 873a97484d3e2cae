#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// A step through one of the in-memory lists, whose row ids are the line
// numbers 1, 2, 3, ... of the list on screen.
enum class Step { First, Previous, Next, Last };

// A line of a list and the row it shows (a `log` id, or a `parks` id).
struct ListEntry {
    int line = 0;
    qint64 rowId = 0;
};

// The line of `table` (id, `rowColumn`) reached by `step` from `line`;
// nothing past either end.
std::optional<ListEntry> stepThrough(QSqlDatabase memory, const char* table, const char* rowColumn,
                                     Step step, int line);
