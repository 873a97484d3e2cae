#pragma once

#include <QByteArray>
#include <QByteArrayView>
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

// One field of such a line appended in UTF-8, for the long lists that are
// made as UTF-8 and turned into a QString once: padded to the same width as
// fixedWidthLine pads it (by QString length, not by bytes).
void appendFixedWidth(QByteArray& out, QByteArrayView value, int width);

// Width of a park reference column: the longest reference a park field takes
// (US-4556, VE-5082, five-digit numbers and more), so that no list cuts one or
// is pushed out of line by one.
inline constexpr int parkWidth = 10;
