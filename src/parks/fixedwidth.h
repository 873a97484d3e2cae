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

// Width of a park reference column: the longest reference a park field takes
// (US-4556, VE-5082, five-digit numbers and more), so that no list cuts one or
// is pushed out of line by one.
inline constexpr int parkWidth = 10;
