#include "app/parkbook.h"
#include "db/database.h"
#include "db/logtable.h"
#include "logging/loglines.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

namespace
{
// The whole list as one text, with an empty line between the groups of a
// date and park.
QString contactLogText(int* count)
{
    QByteArray text;
    QByteArrayView previousDate, previousPark;
    *count = 0;
    LogTable::eachNewestFirst(Database::log(), [&](const LogTable::ListedContact& row) {
        if (*count > 0) {
            text.append('\n');
            if (row.date != previousDate || row.park != previousPark)
                text.append('\n');
        }
        if (*count == 0)
            text.reserve(64 * 1024);
        ++*count;
        LogLines::appendContactLogLine(text, row);
        previousDate = row.date;
        previousPark = row.park;
    });
    return QString::fromUtf8(text);
}
} // namespace

void Parkbook::on_actionContact_Log_triggered()
{
    showContactLogWindow();
    fillContactLog(false, nullptr);
}

void Parkbook::showContactLogWindow()
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
}

void Parkbook::fillContactLog(bool inParts, std::function<void()> finished)
{
    contactLog->ui->header->setPlainText(LogLines::contactLogHeader());
    int count = 0;
    const QString text = contactLogText(&count);
    const QString title = "All Contacts Log,  Contacts = " + QString::number(count);
    if (!inParts) {
        contactLog->setText(text, themeBlue);
        contactLog->setWindowTitle(title);
        contactLog->moveToLine(1);
        return;
    }
    contactLog->setWindowTitle(title);
    contactLog->setTextInParts(text, themeBlue, [this, finished] {
        contactLog->moveToLine(1);
        if (finished)
            finished();
    });
}
