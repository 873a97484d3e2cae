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
// Appends the same line, in UTF-8, to `out`: the contact log writes 100,000 of
// them and turns the whole text into a QString once.
void appendContactLogLine(QByteArray& out, const LogTable::ListedContact& contact);
} // namespace LogLines
