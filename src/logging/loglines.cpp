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

QString LogLines::contactLogLine(const LogTable::ListedContact& f)
{
    QString line;
    appendContactLogLine(line, f.id, f.date, f.park, f.time, f.call, f.band, f.mode, f.p2p);
    return line;
}

namespace
{
// As fixedWidthLine pads one field: a negative width left-aligns.
void appendPadded(QString& out, QStringView value, int width)
{
    static const QString spaces(16, ' ');
    qsizetype pad = qMax<qsizetype>(0, qAbs(width) - value.size());
    if (width < 0)
        out.append(value);
    while (pad > 0) {
        const qsizetype n = qMin(pad, spaces.size());
        out.append(QStringView(spaces).left(n));
        pad -= n;
    }
    if (width > 0)
        out.append(value);
}
} // namespace

void LogLines::appendContactLogLine(QString& out, QStringView id, QStringView date,
                                    QStringView park, QStringView time, QStringView call,
                                    QStringView band, QStringView mode, QStringView p2p)
{
    appendPadded(out, id, 5);
    out.append(' ');
    appendPadded(out, date, -8);
    out.append(' ');
    appendPadded(out, park, -parkWidth);
    out.append(' ');
    appendPadded(out, time.left(4), -4);
    out.append(' ');
    appendPadded(out, call, -6);
    out.append(' ');
    appendPadded(out, band, -5);
    out.append(' ');
    appendPadded(out, mode, -8);
    out.append(' ');
    appendPadded(out, p2p, -parkWidth);
}
