#include "app/parkbook.h"
#include "app/prompter.h"
#include "db/activationlist.h"
#include "db/database.h"
#include "db/parkstable.h"
#include "parks/activationrecords.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

#include <QStringList>

int Parkbook::loadActivations()
{
    ++activationChanges;
    // One read gives the order of the list and its lines.
    QList<qint64> ids;
    QByteArray text;
    const bool read = ParksTable::eachListed(Database::log(), potaMode != "Activating",
                                             [&](const ParksTable::ListedRecord& record) {
                                                 if (!ids.isEmpty())
                                                     text.append('\n');
                                                 appendActivationLine(text, record);
                                                 ids.append(record.id);
                                             });
    activationText.clear();
    activationLines.clear();
    if (!read || !ActivationList::rebuild(Database::memory(), ids))
        return 0;
    // A mode without a list of its own shows no lines.
    if (potaMode == "Activating" || potaMode == "Hunting") {
        activationText = QString::fromUtf8(text);
        activationLines.reserve(ids.size());
        for (qsizetype i = 0; i < ids.size(); ++i)
            activationLines.insert(ids.at(i), int(i + 1));
    }
    return int(ids.size());
}

int Parkbook::displayActivations(int activationID, int activeId)
{
    // A move through the list comes here: when its records are the ones
    // drawn, only the highlight moves.
    const ListDrawing drawing{activationChanges, potaMode};
    if (drawing == activationsDrawn) {
        const int activeLine = int(activationLines.value(activeId));
        activationLog->moveHighlight(activationActiveLine, activeLine, themeText, themeGreen);
        activationActiveLine = activeLine;
    } else {
        drawActivations(activeId);
        activationsDrawn = drawing;
    }

    const int count = int(activationLines.size());
    if (potaMode != "Activating")
        activationLog->setWindowTitle("Alt+H: Hunting Log,  Hunting Days = " +
                                      QString::number(count));
    else
        activationLog->setWindowTitle("Alt+A: Activation Log,  Activations = " +
                                      QString::number(count));
    activationLog->moveToLine(activationID);
    return count;
}

void Parkbook::drawActivations(int activeId)
{
    QPlainTextEdit* list = activationLog->ui->log;
    list->setCenterOnScroll(true);
    activationLog->ui->header->setPlainText(activationHeader());

    activationActiveLine = int(activationLines.value(activeId));
    activationLog->setText(activationText, themeText, activationActiveLine, themeGreen);
}

// Each move makes another entry current and redraws; none re-activates.
void Parkbook::moveActivation(Step step)
{
    const std::optional<ListEntry> entry =
        ActivationList::step(Database::memory(), step, activationListId);
    if (!entry)
        return;
    activationListId = entry->line;
    activationParkId = int(entry->rowId);
    displayActivations(activationListId, activationParkId);
}

void Parkbook::topActivation()
{
    moveActivation(Step::First);
}

void Parkbook::previousActivation()
{
    moveActivation(activationListId == 0 ? Step::First : Step::Previous);
}

void Parkbook::nextActivation()
{
    moveActivation(activationListId == 0 ? Step::Last : Step::Next);
}

void Parkbook::endActivation()
{
    moveActivation(Step::Last);
}

void Parkbook::deletePark()
{
    const std::optional<ParkRecord> record = ParksTable::byId(Database::log(), activationParkId);
    if (!record)
        return;
    const auto answer = prompt().question(
        this, "Delete Park Activation Location",
        "Do you want to delete this Park Activation Location\nfrom the Parkbook Database?\n"
        "   Park Reference:  " +
            record->park + "\n   Activation Date: " + record->date,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        ++activationChanges;
        const DbResult removed = ParksTable::remove(Database::log(), activationParkId);
        if (removed)
            loadActivations(); // the list numbers its lines afresh, without the record
        else
            logError("Activation record " + record->park + " " + record->date +
                     " was not deleted: " + removed.error);
    }
    displayActivations(activationListId, activationParkId);
}
