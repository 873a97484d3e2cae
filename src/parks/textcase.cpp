#include "parks/textcase.h"

QString TextCase::toCapitalize(const QString& str)
{
    QString result;
    result.reserve(str.size());
    for (qsizetype i = 0; i < str.size(); ++i) {
        const QChar c = str.at(i);
        if (i == 0 || str.at(i - 1) == QLatin1Char(' '))
            result.append(c.toUpper());
        else
            result.append(c.toLower());
    }
    return result;
}
