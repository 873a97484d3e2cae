#include "db/parklist.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace
{
const QStringList header = {"reference",    "name",     "active",    "entityId",
                            "locationDesc", "latitude", "longitude", "grid"};

// Splits POTA's CSV into records: fields may be enclosed in double quotes, and
// then hold commas, line breaks and doubled quotes; lines end in LF or CR LF.
// The whole file is at hand, so fields are decoded straight from its bytes.
class Records
{
public:
    explicit Records(const QByteArray& data) : data(data)
    {
        if (data.startsWith("\xEF\xBB\xBF"))
            pos = 3; // a byte order mark some editors write
    }

    // The next record, or false at the end of the file or at a malformed one
    // (then `error` says why).
    bool next(QStringList& fields)
    {
        fields.clear();
        while (pos < data.size() && (data[pos] == '\n' || data[pos] == '\r'))
            lineBreak(); // blank lines hold no record
        if (pos >= data.size())
            return false;
        recordLine = line;
        for (;;) {
            if (!field(fields))
                return false;
            if (pos >= data.size())
                return true;
            const char c = data[pos];
            if (c == ',') {
                ++pos;
            } else {
                lineBreak();
                return true;
            }
        }
    }

    int recordLine = 0; // the line the latest record began on
    QString error;

private:
    void lineBreak()
    {
        if (data[pos] == '\r' && pos + 1 < data.size() && data[pos + 1] == '\n')
            ++pos;
        ++pos;
        ++line;
    }

    bool field(QStringList& fields)
    {
        const char* bytes = data.constData();
        const qsizetype size = data.size();
        if (pos >= size || bytes[pos] != '"') {
            const qsizetype start = pos;
            while (pos < size && bytes[pos] != ',' && bytes[pos] != '\n' && bytes[pos] != '\r')
                ++pos;
            fields.append(QString::fromUtf8(bytes + start, pos - start));
            return true;
        }
        ++pos;
        QByteArray unquoted; // only for fields with doubled quotes
        for (;;) {
            const qsizetype start = pos;
            while (pos < size && bytes[pos] != '"') {
                if (bytes[pos] == '\n')
                    ++line;
                ++pos;
            }
            if (pos >= size) {
                error = QString("Line %1 ends inside a quoted field: the file is cut short.")
                            .arg(recordLine);
                return false;
            }
            const bool doubled = pos + 1 < size && bytes[pos + 1] == '"';
            if (!doubled && unquoted.isNull()) {
                fields.append(QString::fromUtf8(bytes + start, pos - start));
                break;
            }
            unquoted.append(bytes + start, pos - start);
            if (!doubled) {
                fields.append(QString::fromUtf8(unquoted));
                break;
            }
            unquoted.append('"');
            pos += 2;
        }
        ++pos; // the closing quote
        if (pos < size && bytes[pos] != ',' && bytes[pos] != '\n' && bytes[pos] != '\r') {
            error = QString("Line %1 has text after a closing quote.").arg(recordLine);
            return false;
        }
        return true;
    }

    const QByteArray& data;
    qsizetype pos = 0;
    int line = 1;
};

// Parks are stored in groups: one statement for 16 rows costs Qt and SQLite
// far less than 16 statements. The rows of a group left short are NULL, and
// the statement skips them. Qt binds by name far faster than by position
// (which builds a placeholder name for every value).
class GroupInsert
{
public:
    explicit GroupInsert(QSqlDatabase& db) : query(db)
    {
        QStringList rows;
        for (int row = 0; row < groupSize; ++row) {
            QStringList values;
            for (int column = 0; column < header.size(); ++column) {
                names << QString(":v%1").arg(names.size());
                values << names.last();
            }
            rows << "(" + values.join(", ") + ")";
        }
        prepared = query.prepare("INSERT OR REPLACE INTO parkList (reference, name, active, "
                                 "entityId, locationDesc, latitude, longitude, grid) SELECT * FROM "
                                 "(VALUES " +
                                 rows.join(", ") + ") WHERE column1 IS NOT NULL");
    }

    // False when a group could not be stored (`error` says why).
    bool add(const QStringList& fields)
    {
        for (int column = 0; column < fields.size(); ++column)
            query.bindValue(names.at(filled * fields.size() + column), fields.at(column));
        return ++filled < groupSize || flush();
    }

    bool flush()
    {
        if (filled == 0)
            return true;
        for (qsizetype i = filled * header.size(); i < names.size(); ++i)
            query.bindValue(names.at(i), QVariant());
        filled = 0;
        if (prepared && query.exec())
            return true;
        error = query.lastError().text();
        return false;
    }

    QString error;

private:
    static constexpr int groupSize = 16;
    QSqlQuery query;
    QStringList names;
    bool prepared = false;
    int filled = 0;
};

ParkList::LoadResult failed(QSqlDatabase& db, const QString& error)
{
    db.rollback();
    return {false, 0, 0, error};
}
} // namespace

QStringList ParkList::Park::locations() const
{
    QStringList list;
    for (const QString& item : locationDesc.split(',')) {
        if (!item.trimmed().isEmpty())
            list << item.trimmed();
    }
    return list;
}

ParkList::LoadResult ParkList::load(QSqlDatabase db, const QByteArray& csv)
{
    Records records(csv);
    QStringList fields;
    if (!records.next(fields) || fields != header)
        return {false, 0, 0,
                "The file does not begin with the header of POTA's park list:\n\"" +
                    header.join("\",\"") + "\""};
    QSqlQuery create(db);
    if (!create.exec(createTable))
        return {false, 0, 0, "The park list table could not be made: " + create.lastError().text()};
    if (!db.transaction())
        return {false, 0, 0, "The park list could not be replaced: " + db.lastError().text()};

    QSqlQuery query(db);
    if (!query.exec("DELETE FROM parkList"))
        return failed(db, "The old park list could not be removed: " + query.lastError().text());
    GroupInsert insert(db); // a reference listed twice keeps its last row
    while (records.next(fields)) {
        if (fields.size() != header.size())
            return failed(db, QString("Line %1 has %2 fields instead of %3.")
                                  .arg(records.recordLine)
                                  .arg(fields.size())
                                  .arg(header.size()));
        if (fields.at(0).trimmed().isEmpty())
            return failed(db, QString("Line %1 has no park reference.").arg(records.recordLine));
        if (!insert.add(fields))
            return failed(db, QString("The parks up to line %1 could not be stored: %2")
                                  .arg(records.recordLine)
                                  .arg(insert.error));
    }
    if (!records.error.isEmpty())
        return failed(db, records.error);
    if (!insert.flush())
        return failed(db, "The last parks could not be stored: " + insert.error);

    LoadResult result{true, 0, 0, QString()};
    if (query.exec("SELECT count(*), total(trim(active) <> '0') FROM parkList") && query.next()) {
        result.parks = query.value(0).toInt();
        result.active = query.value(1).toInt();
    }
    query.finish();
    if (result.parks == 0)
        return failed(db, "The file holds no parks.");
    if (!db.commit())
        return failed(db, "The park list could not be stored: " + db.lastError().text());
    return result;
}

bool ParkList::isLoaded(QSqlDatabase db)
{
    QSqlQuery query(db);
    return query.exec("SELECT 1 FROM parkList LIMIT 1") && query.next();
}

std::optional<ParkList::Park> ParkList::find(QSqlDatabase db, const QString& reference)
{
    QSqlQuery query(db);
    query.prepare("SELECT reference, name, active, entityId, locationDesc, latitude, longitude, "
                  "grid FROM parkList WHERE reference = ?");
    query.addBindValue(reference.trimmed().toUpper());
    if (!query.exec() || !query.next())
        return std::nullopt;
    return Park{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                query.value(6).toString(), query.value(7).toString()};
}

QString ParkList::renamedReference(const QString& reference)
{
    static const QRegularExpression retired(QStringLiteral("^K-(\\d{4,5})$"));
    const QRegularExpressionMatch match = retired.match(reference.trimmed().toUpper());
    return match.hasMatch() ? "US-" + match.captured(1) : QString();
}

ParkList::Lookup ParkList::lookup(QSqlDatabase db, const QString& reference)
{
    if (!isLoaded(db))
        return {};
    const std::optional<Park> park = find(db, reference);
    if (park && park->isActive())
        return {Lookup::Active, *park, QString()};
    const QString renamed = renamedReference(reference);
    if (!renamed.isEmpty()) {
        if (const std::optional<Park> now = find(db, renamed))
            return {Lookup::Renamed, *now, renamed};
    }
    if (park)
        return {Lookup::Retired, *park, QString()};
    return {Lookup::Unknown, Park(), QString()};
}

ParkList::History ParkList::history(QSqlDatabase db, const QString& reference, const QString& band,
                                    qint64 exceptId)
{
    // `p2p` may hold several references separated by commas (from other loggers).
    QSqlQuery query(db);
    query.prepare("SELECT count(*), total(lower(band) = lower(?)) FROM log WHERE id <> ? AND "
                  "(park = ? OR instr(',' || replace(p2p, ' ', '') || ',', ',' || ? || ',') > 0)");
    const QString ref = reference.trimmed().toUpper();
    query.addBindValue(band);
    query.addBindValue(exceptId);
    query.addBindValue(ref);
    query.addBindValue(ref);
    History result;
    if (query.exec() && query.next()) {
        result.workedPark = query.value(0).toLongLong() > 0;
        result.workedOnBand = !band.isEmpty() && query.value(1).toDouble() > 0;
    }
    return result;
}
