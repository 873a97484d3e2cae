#include "parks/activationrecords.h"

#include "parks/fixedwidth.h"

#include <QDate>
#include <QRegularExpression>
#include <utility>

bool isParkDate(const QString& text)
{
    static const QRegularExpression eightDigits("^[0-9]{8}$");
    return eightDigits.match(text).hasMatch() && QDate::fromString(text, "yyyyMMdd").isValid();
}

QString activationHeader()
{
    return fixedWidthLine({{"  Date", -8},
                           {"Pk-Ref", -parkWidth},
                           {"ST", -2},
                           {"QSO", -3},
                           {"LQs", -3},
                           {"P2P", -3},
                           {"  Lat", -8},
                           {"   Lon", -9},
                           {"LOCAT", -5},
                           {"Park Name", -64},
                           {"County", -22}});
}

void appendActivationLine(QByteArray& out, const ParksTable::ListedRecord& row)
{
    const std::pair<QByteArrayView, int> fields[] = {
        {row.date, -8},     {row.park, -parkWidth}, {row.state, -2},  {row.qsos, 3},
        {row.lateQsos, 3},  {row.p2ps, 3},          {row.lat, -8},    {row.lon, -9},
        {row.location, -5}, {row.name, -64},        {row.county, -20}};
    bool first = true;
    for (const auto& [value, width] : fields) {
        if (!first)
            out.append(' ');
        first = false;
        appendFixedWidth(out, value, width);
    }
}
