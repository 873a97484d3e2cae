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
                           {"P2P", -7},
                           {"Mode", -8},
                           {"Band", -5},
                           {"Frq(MHz)", -9},
                           {"Pwr", -4},
                           {"Comments", -64}});
}

QString LogLines::parkLogLine(int number, const LogLineFields& f)
{
    return fixedWidthLine({{QString::number(number), 3},
                           {f.time.left(4), 4},
                           {f.call, -6},
                           {f.name.left(10), -10},
                           {f.state, -2},
                           {f.sent, -3},
                           {f.rcvd, -3},
                           {f.p2p, -7},
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
                           {"Pk-Ref", -7},
                           {"Time", -4},
                           {"Call", -6},
                           {"Band", -5},
                           {"Mode", -8},
                           {"P2P", -7}});
}

QString LogLines::contactLogLine(const LogLineFields& f)
{
    return fixedWidthLine({{f.id, 5},
                           {f.date, -8},
                           {f.park, -7},
                           {f.time.left(4), -4},
                           {f.call, -6},
                           {f.band, -5},
                           {f.mode, -8},
                           {f.p2p, -7}});
}
