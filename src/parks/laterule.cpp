#include "parks/laterule.h"

bool isLateContact(const QString& time)
{
    QString padded = time;
    while (padded.size() < 6)
        padded.append('0');
    bool ok = false;
    const qlonglong value = padded.toLongLong(&ok, 10);
    return !ok || value <= 119999;
}
