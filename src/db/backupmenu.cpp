#include "app/parkbook.h"
#include "app/prompter.h"
#include "app/utcclock.h"
#include "db/backups.h"
#include "db/database.h"

#include <QFileInfo>
#include <QSqlDatabase>

bool Parkbook::backUpLog(bool rotate)
{
    const QString data = dataDir.path();
    const DbResult written = Backups::write(QSqlDatabase::database(Database::logConnection, false),
                                            data, UtcClock::now());
    if (!written) {
        const QString folder = Backups::folder(data);
        logError("Cannot write a backup of the log to " + folder + ": " + written.error);
        prompter->warning(this, "Backup Not Written",
                          "A backup of your log could not be written to\n" + folder + "\n\n" +
                              written.error +
                              "\n\nYour log is as it was, and the older backups are kept.");
        return false;
    }
    if (rotate)
        Backups::rotate(data, backupsKept);
    return true;
}

void Parkbook::on_actionRestore_Backup_triggered()
{
    const QString data = dataDir.path();
    const QList<Backups::Copy> copies = Backups::list(data);
    if (copies.isEmpty()) {
        prompter->information(this, "Restore Backup",
                              "There is no backup of your log in\n" + Backups::folder(data));
        return;
    }
    QStringList items;
    for (const Backups::Copy& copy : copies)
        items << copy.taken.toString("yyyy-MM-dd hh:mm:ss") + " UTC, " +
                     (copy.contacts < 0 ? QString("cannot be read")
                                        : QString("%1 contact%2")
                                              .arg(copy.contacts)
                                              .arg(copy.contacts == 1 ? "" : "s")) +
                     " (" + QFileInfo(copy.path).fileName() + ")";
    const int index =
        prompter->chooseItem(this, "Restore Backup", "Replace your log with the copy of:", items);
    if (index < 0 || index >= copies.size())
        return;
    const QString chosen = copies[index].path;
    const DbResult sound = Backups::check(chosen);
    if (!sound) {
        logError("Backup " + chosen + " failed its check: " + sound.error);
        prompter->critical(this, "Backup Damaged",
                           "The copy " + chosen + " is damaged and was not restored:\n\n" +
                               sound.error);
        return;
    }
    // Without a copy of the log as it is now, nothing is replaced. The old
    // copies are thinned out only afterwards: the one restored may be the oldest.
    if (!backUpLog(false))
        return;
    QSqlDatabase::database(Database::logConnection, false).close();
    const DbResult restored = Backups::restore(chosen, dataDir.filePath("parkbook.db"));
    if (!restored) {
        logError("Cannot restore " + chosen + ": " + restored.error);
        prompter->critical(this, "Backup Not Restored",
                           "The copy " + chosen + " could not be restored:\n\n" + restored.error +
                               "\n\nYour log is as it was.");
    }
    // As after a change of data directory: the log reopened, the station and
    // the lists read again.
    initWindows();
    Backups::rotate(data, backupsKept);
    if (restored)
        prompter->information(this, "Backup Restored",
                              "Your log is now the copy of " + items[index] +
                                  ".\nThe log it replaced is kept in " + Backups::folder(data));
}
