#pragma once

#include "db/contactrow.h"
#include "db/logtable.h"

#include <QString>

// Fixed-width lines of the two contact lists. Values longer than their column
// push the rest of the line right; only the time (hhmm) and the park log's
// name (10 characters) are cut. Park columns are parkWidth wide.
namespace LogLines
{
QString parkLogHeader();
QString parkLogLine(int number, const ContactRow& contact);
QString contactLogHeader();
QString contactLogLine(const LogTable::ListedContact& contact);
// Appends the same line as contactLogLine to `out` without building the
// fields or the line on their own: the contact log writes 100,000 of them.
void appendContactLogLine(QString& out, QStringView id, QStringView date, QStringView park,
                          QStringView time, QStringView call, QStringView band, QStringView mode,
                          QStringView p2p);
} // namespace LogLines
