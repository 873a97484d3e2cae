#include "app/utcclock.h"

namespace
{
QDateTime fixedNow;
}

QDateTime UtcClock::now()
{
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTimeUtc();
}

void UtcClock::setFixed(const QDateTime& utc)
{
    fixedNow = utc.toUTC();
}

void UtcClock::clearFixed()
{
    fixedNow = QDateTime();
}
