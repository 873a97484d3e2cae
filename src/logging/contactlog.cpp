#include "app/parkbook.h"
#include "db/database.h"
#include "db/logtable.h"
#include "logging/loglines.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

void Parkbook::on_actionContact_Log_triggered()
{
    if (!contactLog->isVisible()) {
        contactLog->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint);
        contactLog->setWindowTitle("All Contacts Log,  Contacts = 0");
        contactLog->ui->header->setFont(monoFont);
        contactLog->ui->log->setFont(monoFont);
        contactLog->show();
        contactLog->raise();
    }
    contactLog->ui->header->setPlainText(LogLines::contactLogHeader());

    // One text for the whole list (about 60 characters a line), with an empty
    // line between the groups of a date and park.
    const QList<LogTable::ListedContact> contacts = LogTable::newestFirst(Database::log());
    QString text;
    text.reserve(contacts.size() * 64);
    const LogTable::ListedContact* previous = nullptr;
    for (const LogTable::ListedContact& row : contacts) {
        if (previous) {
            text.append('\n');
            if (row.date != previous->date || row.park != previous->park)
                text.append('\n');
        }
        LogLines::appendContactLogLine(text, row.id, row.date, row.park, row.time, row.call,
                                       row.band, row.mode, row.p2p);
        previous = &row;
    }
    contactLog->setText(text, themeBlue);
    contactLog->setWindowTitle("All Contacts Log,  Contacts = " + QString::number(contacts.size()));
    contactLog->moveToLine(1);
}
