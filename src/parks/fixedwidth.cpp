#include "parks/fixedwidth.h"

QString fixedWidthLine(const QList<FixedField>& fields)
{
    // Padded in place: the activation list makes thousands of these lines at
    // each redraw, and a justified copy of every field doubled their cost.
    qsizetype length = 0;
    for (const FixedField& field : fields)
        length += qMax<qsizetype>(qAbs(field.width), field.value.size()) + 1;
    QString line;
    line.reserve(length);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const FixedField& field = fields.at(i);
        if (i > 0)
            line.append(' ');
        const qsizetype pad = qMax<qsizetype>(0, qAbs(field.width) - field.value.size());
        if (field.width >= 0)
            line.resize(line.size() + pad, QChar(' '));
        line.append(field.value);
        if (field.width < 0)
            line.resize(line.size() + pad, QChar(' '));
    }
    return line;
}
