#include "app/parkbook.h"
#include "app/prompter.h"
#include "parks/activationrecords.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

int Parkbook::loadActivations()
{
    QSqlDatabase memory = QSqlDatabase::database("memory");
    QSqlQuery(memory).exec("DELETE FROM activationId");

    QSqlQuery parks(QSqlDatabase::database("parkbook"));
    parks.setForwardOnly(true);
    // Records of one date keep the order they were made in (a 2-fer's first
    // park first), whatever index SQLite reads.
    parks.exec("SELECT id, park FROM parks ORDER BY date DESC, id");
    const bool activating = potaMode == "Activating";

    const bool inTransaction = memory.transaction();
    QSqlQuery insert(memory);
    insert.prepare("INSERT INTO activationId (id, parkId) VALUES (NULL, ?)");
    int count = 0;
    while (parks.next()) {
        const bool hunting = parks.value(1).toString() == hunterPark;
        if (activating == hunting)
            continue;
        insert.addBindValue(parks.value(0).toInt());
        insert.exec();
        ++count;
    }
    if (inTransaction)
        memory.commit();
    return count;
}

int Parkbook::displayActivations(int activationID, int activeId)
{
    QPlainTextEdit* list = activationLog->ui->log;
    list->setCenterOnScroll(true);
    activationLog->ui->header->setPlainText(activationHeader());

    QList<int> parkIds;
    {
        QSqlQuery entries(QSqlDatabase::database("memory"));
        entries.setForwardOnly(true);
        entries.exec("SELECT parkId FROM activationId ORDER BY id");
        while (entries.next())
            parkIds.append(entries.value(0).toInt());
    }

    // Every record read at once: the list is redrawn at each step through
    // it, and a query per line made that take half a second for 5,000 lines.
    QHash<int, ActivationListRow> records;
    if (!parkIds.isEmpty()) {
        QSqlQuery parks(QSqlDatabase::database("parkbook"));
        parks.setForwardOnly(true);
        parks.exec("SELECT id, date, park, state, QSOs, LateQSOs, P2Ps, lat, lon, location, name, "
                   "county FROM parks");
        while (parks.next()) {
            auto text = [&parks](int column) { return parks.value(column).toString(); };
            records.insert(parks.value(0).toInt(),
                           {text(1), text(2), text(3), text(4), text(5), text(6), text(7), text(8),
                            text(9), text(10), text(11)});
        }
    }

    QStringList lines;
    int activeLine = 0;
    for (const int id : std::as_const(parkIds)) {
        const auto found = records.constFind(id);
        if (found == records.cend() || !belongsToMode(found->park, potaMode))
            continue;
        lines.append(activationLine(*found));
        if (id == activeId)
            activeLine = int(lines.size());
    }
    activationLog->setLines(lines, themeText, activeLine, themeGreen);

    const int count = int(lines.size());
    if (potaMode != "Activating")
        activationLog->setWindowTitle("Alt+H: Hunting Log,  Hunting Days = " +
                                      QString::number(count));
    else
        activationLog->setWindowTitle("Alt+A: Activation Log,  Activations = " +
                                      QString::number(count));
    activationLog->moveToLine(activationID);
    return count;
}

namespace
{
// Reads the first entry of a list query into the current list position.
bool takeEntry(QSqlQuery& query, int& listId, int& parkId)
{
    if (!query.first())
        return false;
    listId = query.value("id").toInt();
    parkId = query.value("parkId").toInt();
    return true;
}
} // namespace

void Parkbook::topActivation()
{
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.exec("SELECT * FROM activationId ORDER BY id LIMIT 1");
    if (takeEntry(query, activationListId, activationParkId))
        displayActivations(activationListId, activationParkId);
}

void Parkbook::previousActivation()
{
    if (activationListId == 0) {
        topActivation();
        return;
    }
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.prepare("SELECT * FROM activationId WHERE id < ? ORDER BY id DESC LIMIT 1");
    query.addBindValue(activationListId);
    query.exec();
    if (takeEntry(query, activationListId, activationParkId))
        displayActivations(activationListId, activationParkId);
}

void Parkbook::nextActivation()
{
    if (activationListId == 0) {
        endActivation();
        return;
    }
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.prepare("SELECT * FROM activationId WHERE id > ? ORDER BY id LIMIT 1");
    query.addBindValue(activationListId);
    query.exec();
    if (takeEntry(query, activationListId, activationParkId))
        displayActivations(activationListId, activationParkId);
}

void Parkbook::endActivation()
{
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.exec("SELECT * FROM activationId ORDER BY id DESC LIMIT 1");
    if (takeEntry(query, activationListId, activationParkId))
        displayActivations(activationListId, activationParkId);
}

void Parkbook::deletePark()
{
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    QString park;
    QString date;
    {
        QSqlQuery query(db);
        query.prepare("SELECT * FROM parks WHERE id = ?");
        query.addBindValue(activationParkId);
        query.exec();
        if (!query.first())
            return;
        park = query.value("park").toString();
        date = query.value("date").toString();
    }

    const auto answer = prompt().question(
        this, "Delete Park Activation Location",
        "Do you want to delete this Park Activation Location\nfrom the Parkbook Database?\n"
        "   Park Reference:  " +
            park + "\n   Activation Date: " + date,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QSqlQuery remove(db);
        remove.prepare("DELETE FROM parks WHERE id = ?");
        remove.addBindValue(activationParkId);
        remove.exec();
    }
    displayActivations(activationListId, activationParkId);
}
