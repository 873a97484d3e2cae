#pragma once

#include <QString>

// Network endpoints come from the settings file (group "Main") with the real
// defaults, and an environment variable overrides each so that tests can
// point the program at local fake servers.
namespace Endpoints
{
// QRZ XML service, ending in "/xml/current/". Key "QrzUrl", variable PARKBOOK_QRZ_URL.
QString qrzUrl(const QString& settingsFile);
// Update server base address; empty when none is configured. Key "UpdateUrl",
// variable PARKBOOK_UPDATE_URL.
QString updateUrl(const QString& settingsFile);
// POTA's list of every park as CSV. Key "ParkListUrl", variable PARKBOOK_PARK_LIST_URL.
QString parkListUrl(const QString& settingsFile);
} // namespace Endpoints
