#include "app/parkbook.h"
#include "app/prompter.h"
#include "logging/loglines.h"
#include "parks/activationrecords.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVariant>
#include <iterator>

void Parkbook::on_actionLoad_Park_Log_triggered()
{
    on_clear_clicked();
    loadParkLog();
}

void Parkbook::loadParkLog()
{
    QSqlDatabase memory = QSqlDatabase::database("memory");
    QSqlQuery(memory).exec("DELETE FROM mLog");
    QSqlQuery(memory).exec("DELETE FROM parkLogId");
    parkLog->ui->log->clear();
    parkLogCount = 0;

    currentPark = ui->parkReference->text();
    parkLogDate = ui->parkDate->text();
    if (!currentPark.isEmpty()) {
        QSqlQuery query(QSqlDatabase::database("parkbook"));
        query.setForwardOnly(true);
        query.prepare("SELECT * FROM log WHERE date=? and  operator=? and park=? ORDER BY time");
        query.addBindValue(ui->parkDate->text());
        query.addBindValue(station->ui->call->text());
        query.addBindValue(currentPark);
        query.exec();
        const QSqlRecord columns = query.record();
        const int idColumn = columns.indexOf("id");
        QString* const members[] = {&date, &time,   &call,      &name,    &last, &born,
                                    &city, &county, &state,     &country, &dxcc, &lat,
                                    &lon,  &grid,   &license,   &expire,  &sent, &rcvd,
                                    &mode, &band,   &frequency, &power,   &p2p,  &comment};
        const char* const names[] = {"date", "time",   "call",      "name",    "last", "born",
                                     "city", "county", "state",     "country", "dxcc", "lat",
                                     "lon",  "grid",   "license",   "expire",  "sent", "rcvd",
                                     "mode", "band",   "frequency", "power",   "p2p",  "comment"};
        int indexes[std::size(names)];
        for (size_t i = 0; i < std::size(names); ++i)
            indexes[i] = columns.indexOf(names[i]);
        memory.transaction();
        while (query.next()) {
            currentLogId = query.value(idColumn).toInt();
            for (size_t i = 0; i < std::size(names); ++i)
                *members[i] = query.value(indexes[i]).toString();
            addToMem(currentPark, currentLogId, 1);
        }
        memory.commit();
    }
    // Loading the contacts into the working copy leaves it holding the last
    // of them; a contact being typed is read from the form again when logged.
    currentLogId = 0;
    parkLogCount = displayParkLog(parkLogPosition);
}

int Parkbook::displayParkLog(int activeID)
{
    QSqlDatabase memory = QSqlDatabase::database("memory");
    int activeLogId = 0;
    {
        QSqlQuery active(memory);
        active.prepare("SELECT * FROM parkLogId WHERE id = ?");
        active.addBindValue(activeID);
        active.exec();
        if (active.next())
            activeLogId = active.value("logId").toInt();
    }

    QPlainTextEdit* list = parkLog->ui->log;
    list->setCenterOnScroll(true);
    QTextCharFormat normal = parkLog->ui->header->currentCharFormat();
    normal.setForeground(themeText);
    parkLog->ui->header->setCurrentCharFormat(normal);
    parkLog->ui->header->setPlainText(LogLines::parkLogHeader());

    const QString reference = ui->parkReference->text();
    QSqlQuery query(memory);
    query.setForwardOnly(true);
    query.prepare("SELECT logId, time, call, name, state, sent, rcvd, p2p, mode, band, "
                  "frequency, power, comment FROM mLog WHERE park=? ORDER BY id");
    query.addBindValue(reference);
    query.exec();
    const QSqlRecord columns = query.record();
    const int logIdColumn = columns.indexOf("logId");
    const int timeColumn = columns.indexOf("time");
    const int callColumn = columns.indexOf("call");
    const int nameColumn = columns.indexOf("name");
    const int stateColumn = columns.indexOf("state");
    const int sentColumn = columns.indexOf("sent");
    const int rcvdColumn = columns.indexOf("rcvd");
    const int p2pColumn = columns.indexOf("p2p");
    const int modeColumn = columns.indexOf("mode");
    const int bandColumn = columns.indexOf("band");
    const int frequencyColumn = columns.indexOf("frequency");
    const int powerColumn = columns.indexOf("power");
    const int commentColumn = columns.indexOf("comment");

    int contacts = 0;
    int activeLine = 0;
    QStringList lines;
    LogLineFields fields;
    while (query.next()) {
        ++contacts;
        fields.time = query.value(timeColumn).toString();
        fields.call = query.value(callColumn).toString();
        fields.name = query.value(nameColumn).toString();
        fields.state = query.value(stateColumn).toString();
        fields.sent = query.value(sentColumn).toString();
        fields.rcvd = query.value(rcvdColumn).toString();
        fields.p2p = query.value(p2pColumn).toString();
        fields.mode = query.value(modeColumn).toString();
        fields.band = query.value(bandColumn).toString();
        fields.frequency = query.value(frequencyColumn).toString();
        fields.power = query.value(powerColumn).toString();
        fields.comment = query.value(commentColumn).toString();
        if (activeLogId != 0 && query.value(logIdColumn).toInt() == activeLogId)
            activeLine = contacts;
        lines.append(LogLines::parkLogLine(contacts, fields));
    }
    parkLog->setLines(lines, themeBlue, activeLine, themeGreen);

    parkLog->setWindowTitle("Alt-P: Park Log Date = " + ui->parkDate->text() +
                            ",  Contacts = " + QString::number(contacts));
    // Lines never wrap in this list, so line n is text block n - 1; going
    // there directly avoids laying out every line above it.
    QTextCursor cursor(list->document()->findBlockByNumber(activeID > 1 ? activeID - 1 : 0));
    list->setTextCursor(cursor);
    list->ensureCursorVisible();
    return contacts;
}

void Parkbook::displayContact(int logId)
{
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.prepare("SELECT * FROM mLog WHERE logId = ?");
    query.addBindValue(logId);
    query.exec();
    if (query.next()) {
        auto value = [&](const char* column) { return query.value(column).toString(); };
        call = value("call");
        currentPark = value("park");

        ui->call->setText(call);
        ui->utc->setText(value("time"));
        ui->name->setText(value("name"));
        {
            const QSignalBlocker blocker(ui->state);
            ui->state->setText(value("state"));
        }
        ui->sent->setText(value("sent"));
        ui->rcvd->setText(value("rcvd"));
        ui->mode->setText(value("mode"));
        ui->band->setText(value("band"));
        ui->frequency->setText(value("frequency"));
        ui->power->setText(value("power"));
        ui->p2p->setText(value("p2p"));
        ui->comment->setText(value("comment"));

        Ui::Contact* form = contact->ui;
        form->call->setText(call);
        form->name->setText(value("name"));
        form->last->setText(value("last"));
        form->city->setText(value("city"));
        form->county->setText(value("county"));
        form->state->setText(value("state"));
        form->country->setText(value("country"));
        form->dxcc->setText(value("dxcc"));
        form->born->setText(value("born"));
        form->license->setText(value("license"));
        form->expire->setText(value("expire"));
        form->lat->setText(value("lat"));
        form->lon->setText(value("lon"));
        form->grid->setText(value("grid"));
        contactDetailsCall = call;
        contactLoggedParks.clear();
    }
    bearDist(station->ui->lat->text().toDouble(), station->ui->lon->text().toDouble(),
             contact->ui->lat->text().toDouble(), contact->ui->lon->text().toDouble());
    parkLogCount = displayParkLog(parkLogPosition);
}

void Parkbook::selectContact(const QString& statement, int bound)
{
    QSqlQuery query(QSqlDatabase::database("memory"));
    query.prepare(statement);
    if (bound >= 0)
        query.addBindValue(bound);
    query.exec();
    if (!query.next())
        return;
    parkLogPosition = query.value("id").toInt();
    currentLogId = query.value("logId").toInt();
    displayContact(currentLogId);
}

void Parkbook::topContact()
{
    selectContact("SELECT * FROM parkLogId ORDER BY id LIMIT 1", -1);
}

void Parkbook::previousContact()
{
    if (parkLogPosition == 0) {
        topContact();
        return;
    }
    selectContact("SELECT * FROM parkLogId WHERE id < ? ORDER BY id DESC LIMIT 1", parkLogPosition);
}

void Parkbook::nextContact()
{
    if (parkLogPosition == 0) {
        endContact();
        return;
    }
    selectContact("SELECT * FROM parkLogId WHERE id > ? ORDER BY id LIMIT 1", parkLogPosition);
}

void Parkbook::endContact()
{
    selectContact("SELECT * FROM parkLogId ORDER BY id DESC LIMIT 1", -1);
}

void Parkbook::on_actionShow_Park_Log_triggered()
{
    parkLog->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    parkLog->setWindowTitle("Alt+P: Park Log Date = " + ui->parkDate->text() +
                            ",  Contacts = " + QString::number(parkLogCount));
    parkLog->ui->header->setFont(monoFont);
    parkLog->ui->log->setFont(monoFont);
    parkLog->show();
    parkLog->raise();
    activateWindow();
}

void Parkbook::on_deleteContact_clicked()
{
    QSqlDatabase db = QSqlDatabase::database("parkbook");
    QSqlQuery query(db);
    query.prepare("SELECT * FROM log WHERE id = ?");
    query.addBindValue(currentLogId);
    query.exec();
    if (!query.next())
        return;
    const QString contactDate = query.value("date").toString();
    const QString contactPark = query.value("park").toString();
    const QString text = "Do you want to delete this Contact\nfrom the Parkbook Database?\n"
                         "   Contact: " +
                         query.value("call").toString() +
                         "\n   Park:    " + query.value("park").toString() +
                         "\n   Date:    " + query.value("date").toString();
    query.finish();
    const auto answer = prompt().question(this, "Delete Contact from Log", text,
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QSqlQuery remove(db);
        remove.prepare("DELETE FROM log WHERE id = ?");
        remove.addBindValue(currentLogId);
        if (!remove.exec()) {
            prompt().critical(this, "Contact Not Deleted",
                              "The contact could not be deleted from the Parkbook database.");
            logError("Contact log id " + QString::number(currentLogId) + " was not deleted.");
        } else if (storeActivationCounts(db, contactDate, contactPark)) {
            refreshActivationList();
        }
    }
    on_actionLoad_Park_Log_triggered();
    if (contactLog->isVisible())
        on_actionContact_Log_triggered();
}
