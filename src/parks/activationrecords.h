#pragma once

#include "db/parkstable.h"

#include <QString>

// A complete park date: eight digits "yyyyMMdd" naming a day of the calendar.
bool isParkDate(const QString& text);

// The reserved park reference of hunting days. "Activating" lists every park
// but the hunting days, "Hunting" only the hunting days, any other mode nothing.
inline const QString hunterPark = QStringLiteral("HUNTER");

// Header and line of the activation/hunting list.
QString activationHeader();
// Appends one line of the list, in UTF-8, to `out`: the list is made of
// thousands of them at each redraw and turned into a QString once.
void appendActivationLine(QByteArray& out, const ParksTable::ListedRecord& row);
