#include "logging/loglines.h"

#include "parks/fixedwidth.h"

QString LogLines::parkLogHeader()
{
    return fixedWidthLine({{"Num", -3},
                           {"Time", -4},
                           {"Call", -6},
                           {"Name", -10},
                           {"ST", -2},
                           {"Snt", -3},
                           {"Rcv", -3},
                           {"P2P", -parkWidth},
                           {"Mode", -8},
                           {"Band", -5},
                           {"Frq(MHz)", -9},
                           {"Pwr", -4},
                           {"Comments", -64}});
}

QString LogLines::parkLogLine(int number, const ContactRow& f)
{
    return fixedWidthLine({{QString::number(number), 3},
                           {f.time.left(4), 4},
                           {f.call, -6},
                           {f.name.left(10), -10},
                           {f.state, -2},
                           {f.sent, -3},
                           {f.rcvd, -3},
                           {f.p2p, -parkWidth},
                           {f.mode, -8},
                           {f.band, -5},
                           {f.frequency, -9},
                           {f.power, -4},
                           {f.comment, -64}});
}

QString LogLines::contactLogHeader()
{
    return fixedWidthLine({{"Db-ID", 5},
                           {"  Date", -8},
                           {"Pk-Ref", -parkWidth},
                           {"Time", -4},
                           {"Call", -6},
                           {"Band", -5},
                           {"Mode", -8},
                           {"P2P", -parkWidth}});
}

QString LogLines::contactLogLine(const LogTable::ListedContact& contact)
{
    QByteArray line;
    appendContactLogLine(line, contact);
    return QString::fromUtf8(line);
}

namespace
{
// The first `n` characters (hhmm of a time).
QByteArrayView leftChars(QByteArrayView text, qsizetype n)
{
    qsizetype chars = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == n)
            return text.first(i);
    }
    return text;
}
} // namespace

void LogLines::appendContactLogLine(QByteArray& out, const LogTable::ListedContact& c)
{
    appendFixedWidth(out, c.id, 5);
    out.append(' ');
    appendFixedWidth(out, c.date, -8);
    out.append(' ');
    appendFixedWidth(out, c.park, -parkWidth);
    out.append(' ');
    appendFixedWidth(out, leftChars(c.time, 4), -4);
    out.append(' ');
    appendFixedWidth(out, c.call, -6);
    out.append(' ');
    appendFixedWidth(out, c.band, -5);
    out.append(' ');
    appendFixedWidth(out, c.mode, -8);
    out.append(' ');
    appendFixedWidth(out, c.p2p, -parkWidth);
}
