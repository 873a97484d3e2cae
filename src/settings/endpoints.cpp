#include "settings/endpoints.h"

#include <QSettings>

namespace
{
QString endpoint(const QString& settingsFile, const char* key, const char* variable,
                 const QString& fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup("Main");
    return settings.value(key, fallback).toString();
}
} // namespace

QString Endpoints::qrzUrl(const QString& settingsFile)
{
    return endpoint(settingsFile, "QrzUrl", "PARKBOOK_QRZ_URL",
                    QStringLiteral("https://xmldata.qrz.com/xml/current/"));
}

QString Endpoints::updateUrl(const QString& settingsFile)
{
    return endpoint(settingsFile, "UpdateUrl", "PARKBOOK_UPDATE_URL", QString());
}

QString Endpoints::parkListUrl(const QString& settingsFile)
{
    return endpoint(settingsFile, "ParkListUrl", "PARKBOOK_PARK_LIST_URL",
                    QStringLiteral("https://pota.app/all_parks_ext.csv"));
}
