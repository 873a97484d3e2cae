#pragma once

#include <QString>

// A contact is late when it was made before 12:00:00 UTC. The time is read as
// hhmmss: a short time is extended on the right with zeros (a four-digit 1159
// is 11:59:00), and a time that is not a number counts as late. Every place
// that counts late contacts (park log, recount, statistics) uses this rule.
bool isLateContact(const QString& time);
