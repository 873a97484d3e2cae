#pragma once

#include <QByteArrayView>

// The long lists are sorted in the program from the bytes SQLite hands out.
// sortKey gives the first eight bytes of a text as one number, the missing
// ones 0, so most comparisons of a sort are one of numbers; compareByKey
// orders two texts by their bytes, as QByteArrayView::compare does, looking
// at the whole texts only where the first eight bytes are the same.
inline quint64 sortKey(QByteArrayView text)
{
    quint64 key = 0;
    for (qsizetype i = 0; i < 8; ++i)
        key = (key << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return key;
}

inline int compareByKey(quint64 keyA, QByteArrayView a, quint64 keyB, QByteArrayView b)
{
    if (keyA != keyB)
        return keyA < keyB ? -1 : 1;
    if (a.size() <= 8 && a.size() == b.size())
        return 0;
    return a.compare(b);
}
