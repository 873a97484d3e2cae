#pragma once

#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/station.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <memory>

// A main window in a temporary home with the test station filled in, park
// K-0003 in slot 3 (not ticked), and the clock at 14:30:15 on 1 June 2026.
struct LoggingFixture {
    TempHome home;
    std::unique_ptr<Parkbook> pb;

    LoggingFixture()
    {
        UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));
        pb = home.makeParkbook();
        fillTestStation(*pb);
        pb->station->ui->pRef3->setText("K-0003");
        home.prompter.clear();
    }
    ~LoggingFixture()
    {
        pb.reset();
        UtcClock::clearFixed();
    }

    // Adds a contact straight to `log` as another program would have written it.
    int insertLog(const QString& date, const QString& time, const QString& park,
                  const QString& call, const QString& p2p = QString(), const QString& op = "K1OP")
    {
        QSqlQuery query(QSqlDatabase::database("parkbook"));
        query.prepare("INSERT INTO log (date, time, park, call, state, sent, rcvd, mode, band, "
                      "frequency, power, p2p, station, operator, comment) VALUES (?, ?, ?, ?, "
                      "'MA', '59', '57', 'SSB', '20m', '14.250', '100', ?, 'K1STN', ?, '')");
        for (const QString& value : {date, time, park, call, p2p, op})
            query.addBindValue(value);
        return query.exec() ? query.lastInsertId().toInt() : 0;
    }

    // Column values of every `log` row, in id order.
    static QList<QStringList> logRows(const QStringList& columns)
    {
        QList<QStringList> rows;
        QSqlQuery query(QSqlDatabase::database("parkbook"));
        query.exec("SELECT " + columns.join(", ") + " FROM log ORDER BY id");
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row.append(query.value(i).toString());
            rows.append(row);
        }
        return rows;
    }

    static int count(const QString& connection, const QString& table)
    {
        QSqlQuery query(QSqlDatabase::database(connection));
        query.exec("SELECT count(*) FROM " + table);
        return query.next() ? query.value(0).toInt() : -1;
    }
};
