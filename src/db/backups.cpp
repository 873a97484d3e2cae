#include "db/backups.h"

#include "db/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
// A connection of its own to one file, removed again when it goes.
class FileConnection
{
public:
    FileConnection(const QString& path, bool readOnly)
        : name(QStringLiteral("backup-%1").arg(++count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (readOnly)
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
        db.open();
    }
    ~FileConnection()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

private:
    static inline int count = 0;
    QString name;
};

struct Entry {
    QString path;
    QDateTime taken;
    int sequence; // copies taken in the same second get -2, -3, ...
};

QList<Entry> entries(const QString& dataDir)
{
    static const QRegularExpression pattern("^parkbook-(\\d{8}-\\d{6})(?:-(\\d+))?\\.db$");
    const QDir dir(Backups::folder(dataDir));
    QList<Entry> found;
    for (const QString& name : dir.entryList({"parkbook-*.db"}, QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        QDateTime taken = QDateTime::fromString(match.captured(1), "yyyyMMdd-hhmmss");
        taken.setTimeSpec(Qt::UTC);
        if (taken.isValid())
            found.append({dir.filePath(name), taken, match.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.sequence > b.sequence;
    });
    return found;
}

// VACUUM INTO writes `target`, which must not exist yet.
DbResult vacuumInto(QSqlDatabase db, const QString& target)
{
    QFile::remove(target);
    QSqlQuery query(db);
    query.prepare("VACUUM INTO ?");
    query.addBindValue(target);
    const DbResult result = DbResult::of(query, query.exec());
    if (!result)
        QFile::remove(target); // a half-written copy is no copy
    return result;
}
} // namespace

namespace Backups
{
QString folder(const QString& dataDir)
{
    return QDir(dataDir).filePath("Backups");
}

DbResult write(QSqlDatabase db, const QString& dataDir, const QDateTime& utc)
{
    const QDir dir(folder(dataDir));
    if (!dir.mkpath("."))
        return DbResult::failure("Cannot make the folder " + dir.path());
    const QString stamp = "parkbook-" + utc.toUTC().toString("yyyyMMdd-hhmmss");
    QString name = stamp + ".db";
    for (int n = 2; dir.exists(name); ++n)
        name = stamp + "-" + QString::number(n) + ".db";
    // Written under another name first: a copy cut short by a full disk must
    // never be listed, nor count towards the copies kept.
    const QString partial = dir.filePath(name + ".partial");
    const DbResult written = vacuumInto(db, partial);
    if (!written)
        return written;
    if (!QFile::rename(partial, dir.filePath(name))) {
        QFile::remove(partial);
        return DbResult::failure("Cannot name the copy " + dir.filePath(name));
    }
    return DbResult::success();
}

void rotate(const QString& dataDir, int kept)
{
    const QList<Entry> found = entries(dataDir);
    for (qsizetype i = std::max(kept, 1); i < found.size(); ++i)
        QFile::remove(found[i].path);
}

QList<Copy> list(const QString& dataDir)
{
    QList<Copy> copies;
    for (const Entry& entry : entries(dataDir)) {
        FileConnection connection(entry.path, true);
        QSqlQuery query(connection.db());
        const bool counted = query.exec("SELECT count(*) FROM log") && query.next();
        copies.append({entry.path, entry.taken, counted ? query.value(0).toLongLong() : -1});
    }
    return copies;
}

DbResult check(const QString& path)
{
    if (!QFile::exists(path))
        return DbResult::failure(path + " is missing");
    FileConnection connection(path, true);
    QSqlQuery query(connection.db());
    if (!query.exec("PRAGMA integrity_check"))
        return DbResult::of(query, false);
    QStringList problems;
    while (query.next() && problems.size() < 5)
        problems << query.value(0).toString();
    if (problems != QStringList{"ok"})
        return DbResult::failure(problems.join('\n'));
    if (!query.exec("SELECT count(*) FROM log"))
        return DbResult::of(query, false);
    return DbResult::success();
}

DbResult restore(const QString& backupPath, const QString& dbPath)
{
    const QString incoming = dbPath + ".restoring";
    {
        FileConnection connection(backupPath, true);
        const DbResult copied = vacuumInto(connection.db(), incoming);
        if (!copied)
            return copied;
    }
    // Journals of the file being replaced belong to it alone; left beside the
    // new file, SQLite would play them back into it.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(dbPath + suffix);
    // Replaces the file in one step where the system can (rename(2)).
    std::error_code error;
    std::filesystem::rename(QFileInfo(incoming).filesystemFilePath(),
                            QFileInfo(dbPath).filesystemFilePath(), error);
    if (error) {
        QFile::remove(incoming);
        return DbResult::failure(QString::fromStdString(error.message()));
    }
    return DbResult::success();
}

qint64 totalChanges(QSqlDatabase db)
{
    QSqlQuery query(db);
    return db.isOpen() && query.exec("SELECT total_changes()") && query.next()
               ? query.value(0).toLongLong()
               : 0;
}

bool migrationPending(QSqlDatabase db)
{
    for (const Schema::Migration& migration : Schema::migrations) {
        QSqlQuery probe(db);
        if (probe.exec(migration.probe) && !probe.next())
            return true;
    }
    return false;
}
} // namespace Backups
