#include "parks/fixedwidth.h"

QString fixedWidthLine(const QList<FixedField>& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const FixedField& field = fields.at(i);
        if (i > 0)
            line.append(' ');
        const int width = qAbs(field.width);
        if (field.width < 0)
            line.append(field.value.leftJustified(width, ' '));
        else
            line.append(field.value.rightJustified(width, ' '));
    }
    return line;
}
