#include "adif/uploadcheck.h"
#include "app/parkbook.h"
#include "app/prompter.h"
#include "app/utcclock.h"
#include "db/database.h"
#include "db/uploadrows.h"
#include "parks/station.h"
#include "ui_parkbook.h"

namespace
{
// More lines than a box can show are cut short.
constexpr int linesShown = 20;
} // namespace

bool Parkbook::confirmUpload(const QString& startDate, const QString& endDate)
{
    writeCurrentReferences = false;
    const QSqlDatabase db = Database::log();
    Adif::Upload upload;
    upload.stationCall = station->ui->station->text();
    upload.operatorCall = station->ui->call->text();
    upload.park = ui->parkReference->text();
    upload.contacts = UploadRows::contacts(db, upload.park, startDate, endDate);
    upload.listedParks = UploadRows::listedParks(db, Adif::uploadReferences(upload));
    upload.now = UtcClock::now();

    bool refused = false;
    bool retired = false;
    QStringList lines;
    for (const Adif::UploadFinding& finding : Adif::checkUpload(upload)) {
        refused = refused || finding.isError();
        retired = retired || finding.rule == Adif::UploadFinding::RetiredPark;
        lines << finding.text;
    }
    if (!refused)
        return true; // a clean activation, or only a short one: no box
    if (lines.size() > linesShown) {
        const qsizetype more = lines.size() - linesShown;
        lines.resize(linesShown);
        lines << QString("... and %1 more").arg(more);
    }

    // A retired reference is the one thing the export can mend itself; that
    // is offered here rather than in a second box.
    QStringList buttons{"Export anyway", "Cancel"};
    if (retired)
        buttons.prepend("Export with US- references");
    const QString text = "POTA would reject or mis-credit these contacts of " + upload.park +
                         ":\n\n" + lines.join('\n') +
                         (retired ? "\n\nYour log keeps its references as they are." : "");
    const int answer = prompt().choose(this, QMessageBox::Warning, "Upload Check", text, buttons,
                                       retired ? 0 : int(buttons.size()) - 1);
    if (answer < 0 || answer >= buttons.size() - 1)
        return false;
    writeCurrentReferences = retired && answer == 0;
    return true;
}
