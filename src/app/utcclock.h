#pragma once

#include <QDateTime>

// The one source of "now" in UTC. Tests fix it to show midnight, noon and
// error-log stamps; the program leaves it running.
namespace UtcClock
{
QDateTime now();
void setFixed(const QDateTime& utc);
void clearFixed();
} // namespace UtcClock
