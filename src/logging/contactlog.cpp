#include "app/parkbook.h"
#include "logging/loglines.h"
#include "parks/seelog.h"
#include "ui_seelog.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

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

    // Newest date first, then park and time. SQLite reads the (date, park,
    // time) index backwards instead of sorting 100,000 rows, so every date
    // arrives with its parks and times reversed; each date is turned round
    // here before it is written.
    QSqlQuery query(QSqlDatabase::database("parkbook"));
    query.setForwardOnly(true);
    // Only the columns shown: reading all 28 of 100,000 rows doubles the time.
    query.exec("SELECT id, date, park, time, call, band, mode, p2p FROM log "
               "ORDER BY date desc, park desc, time desc");
    struct Row {
        QString id, date, park, time, call, band, mode, p2p;
    };
    QList<Row> day;
    int count = 0;
    QString previousDate;
    QString previousPark;
    // One text for the whole list: about 60 characters a line.
    QString text;
    text.reserve(64 * 1024);
    auto writeDay = [&]() {
        for (auto row = day.crbegin(); row != day.crend(); ++row) {
            // One empty line between the groups of a date and park.
            if (count > 0) {
                text.append('\n');
                if (row->date != previousDate || row->park != previousPark)
                    text.append('\n');
            }
            ++count;
            LogLines::appendContactLogLine(text, row->id, row->date, row->park, row->time,
                                           row->call, row->band, row->mode, row->p2p);
            previousDate = row->date;
            previousPark = row->park;
        }
        day.clear();
    };
    while (query.next()) {
        Row row{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                query.value(6).toString(), query.value(7).toString()};
        if (!day.isEmpty() && row.date != day.constFirst().date)
            writeDay();
        day.append(std::move(row));
    }
    writeDay();
    contactLog->setText(text, themeBlue);
    contactLog->setWindowTitle("All Contacts Log,  Contacts = " + QString::number(count));
    contactLog->moveToLine(1);
}
