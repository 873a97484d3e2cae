#pragma once

#include <QString>

// The columns of one contact that the park log and the contact log show.
struct LogLineFields {
    QString id;
    QString date;
    QString park;
    QString time;
    QString call;
    QString name;
    QString state;
    QString sent;
    QString rcvd;
    QString p2p;
    QString mode;
    QString band;
    QString frequency;
    QString power;
    QString comment;
};

// Fixed-width lines of the two contact lists. Values longer than their column
// push the rest of the line right; only the time (hhmm) and the park log's
// name (10 characters) are cut. Park columns are parkWidth wide.
namespace LogLines
{
QString parkLogHeader();
QString parkLogLine(int number, const LogLineFields& fields);
QString contactLogHeader();
QString contactLogLine(const LogLineFields& fields);
// Appends the same line as contactLogLine to `out` without building the
// fields or the line on their own: the contact log writes 100,000 of them.
void appendContactLogLine(QString& out, QStringView id, QStringView date, QStringView park,
                          QStringView time, QStringView call, QStringView band, QStringView mode,
                          QStringView p2p);
} // namespace LogLines
