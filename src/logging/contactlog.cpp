#include "app/parkbook.h"
#include "db/database.h"
#include "db/logtable.h"
#include "logging/loglines.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

#include <QTimer>
#include <limits>
#include <memory>

namespace
{
QString contactLogTitle(int count)
{
    return "All Contacts Log,  Contacts = " + QString::number(count);
}

// The whole list as one text, with an empty line between the groups of a
// date and park.
QString contactLogText(LogTable::NewestFirst& contacts, int* count)
{
    QByteArray text;
    QByteArrayView previousDate, previousPark;
    *count = 0;
    contacts.each([&](const LogTable::ListedContact& row) {
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
        contactLog->setWindowTitle(contactLogTitle(0));
        contactLog->ui->header->setFont(monoFont);
        contactLog->ui->log->setFont(monoFont);
        contactLog->show();
        contactLog->raise();
    }
}

void Parkbook::fillContactLog(bool inParts, std::function<void()> finished)
{
    contactLog->ui->header->setPlainText(LogLines::contactLogHeader());
    const int fill = ++contactLogFill;
    auto contacts = std::make_shared<LogTable::NewestFirst>(Database::log());
    if (!inParts) {
        while (contacts->readMore(std::numeric_limits<int>::max())) {
        }
        int count = 0;
        contactLog->setText(contactLogText(*contacts, &count), themeBlue);
        contactLog->setWindowTitle(contactLogTitle(count));
        contactLog->moveToLine(1);
        return;
    }
    readContactLogPart(fill, startupRun, contacts, std::move(finished));
}

// Some 10,000 contacts a turn of the event loop: a key typed while a long log
// is read waits for one part, not for all of them. A fill that a newer one
// (or another data directory) has taken over stops, and says it has.
void Parkbook::readContactLogPart(int fill, int run,
                                  const std::shared_ptr<LogTable::NewestFirst>& contacts,
                                  std::function<void()> finished)
{
    if (fill != contactLogFill || run != startupRun) {
        if (finished)
            finished();
        return;
    }
    if (contacts->readMore(10000)) {
        QTimer::singleShot(0, this, [this, fill, run, contacts, finished] {
            readContactLogPart(fill, run, contacts, finished);
        });
        return;
    }
    int count = 0;
    const QString text = contactLogText(*contacts, &count);
    contactLog->setWindowTitle(contactLogTitle(count));
    contactLog->setTextInParts(text, themeBlue, [this, finished] {
        contactLog->moveToLine(1);
        if (finished)
            finished();
    });
}
