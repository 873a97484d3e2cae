#include "parks/fixedwidth.h"

#include <algorithm>

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

namespace
{
// The length of UTF-8 text as a QString counts it (characters outside the
// Basic Multilingual Plane count twice).
qsizetype utf16Length(QByteArrayView text)
{
    qsizetype length = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            length += byte >= 0xF0 ? 2 : 1;
    }
    return length;
}
} // namespace

void appendFixedWidth(QByteArray& out, QByteArrayView value, int width)
{
    // Written into the grown buffer: QByteArray's append of n characters goes
    // through its insert, which cost more than the rest of a long list's lines.
    const qsizetype pad = qMax<qsizetype>(0, qAbs(width) - utf16Length(value));
    const qsizetype at = out.size();
    out.resize(at + pad + value.size());
    char* end = out.data() + at;
    if (width >= 0)
        end = std::fill_n(end, pad, ' ');
    end = std::copy_n(value.data(), value.size(), end);
    if (width < 0)
        std::fill_n(end, pad, ' ');
}
