#include "support/versioncheck.h"

#include <QRegularExpression>
#include <QStringList>

bool VersionCheck::isNewer(int major, int minor, int patch)
{
    if (major != ownMajor)
        return major > ownMajor;
    if (minor != ownMinor)
        return minor > ownMinor;
    return patch > ownPatch;
}

VersionCheck::Result VersionCheck::read(const QByteArray& firstLine)
{
    Result result;
    QByteArray line = firstLine;
    const int end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    result.text = QString::fromUtf8(line).trimmed();

    const QStringList parts = result.text.split('-');
    result.ours = parts.at(0) == "Parkbook";
    if (!result.ours || parts.size() < 2)
        return result;
    const QStringList numbers = parts.at(1).split('.');
    if (numbers.size() < 3)
        return result;
    const bool later = isNewer(numbers.at(0).toInt(), numbers.at(1).toInt(), numbers.at(2).toInt());

    // The text becomes the installer's file name and part of its address.
    static const QRegularExpression plainName("^[A-Za-z0-9][A-Za-z0-9._-]*$");
    result.newer = later && plainName.match(result.text).hasMatch() && !result.text.contains("..");
    return result;
}
