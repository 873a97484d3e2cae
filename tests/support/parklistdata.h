#pragma once

#include <QByteArray>

namespace ParkListData
{
// A small POTA park list as POTA writes it: every field quoted, a comma and
// doubled quotes inside a name, a multi-state park, a retired park, accented
// names, CR LF on some lines and no line feed after the last.
inline const QByteArray csv =
    "\"reference\",\"name\",\"active\",\"entityId\",\"locationDesc\",\"latitude\","
    "\"longitude\",\"grid\"\r\n"
    "\"US-0001\",\"Acadia National Park\",\"1\",\"291\",\"US-ME\",\"44.31\",\"-68.2034\","
    "\"FN54vh\"\n"
    "\"US-0100\",\"Appalachian National Scenic Trail\",\"1\",\"291\","
    "\"US-CT,US-GA,US-MA,US-MD,US-ME\",\"40.9\",\"-75.1\",\"FN20\"\n"
    "\"US-4556\",\"Lake \"\"Tahoe\"\" State Park, North\",\"1\",\"291\",\"US-NV\",\"39.1\","
    "\"-120.0\",\"DM09\"\n"
    "\"US-9999\",\"Old Fort Park\",\"0\",\"291\",\"US-TX\",\"30.0\",\"-97.0\",\"EM10\"\n"
    "\"CA-0001\",\"Parc national de la Mauricie \xE2\x80\x94 For\xC3\xAAt\",\"1\",\"1\","
    "\"CA-QC\",\"46.7\",\"-72.9\",\"FN36\"\r\n"
    "\"MX-0001\",\"Parque Nacional Ca\xC3\xB1\xC3\xB3n del Sumidero\",\"1\",\"50\",\"MX-CHP\","
    "\"16.8\",\"-93.1\",\"EK56\"";
} // namespace ParkListData
