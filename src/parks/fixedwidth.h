#pragma once

#include <QList>
#include <QString>

// Fixed-width list lines: each field padded with spaces to its width (a
// negative width pads on the right, i.e. left-aligns), fields joined by one
// space. A longer value is never cut here and pushes the following columns
// right. Unlike chained QString::arg, a value holding "%1" stays as it is.
struct FixedField {
    QString value;
    int width;
};

QString fixedWidthLine(const QList<FixedField>& fields);
