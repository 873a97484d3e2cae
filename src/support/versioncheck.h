#pragma once

#include <QByteArray>
#include <QString>

// Reading the update server's version file: one line "Parkbook-2.3.7".
namespace VersionCheck
{
// This program's own version.
inline constexpr int ownMajor = 2;
inline constexpr int ownMinor = 3;
inline constexpr int ownPatch = 6;

struct Result {
    QString text;       // the trimmed first line
    bool ours = false;  // names this product
    bool newer = false; // a later version than ours, safe to download
};

// `firstLine` is what was read of the file's first line. A text without a
// hyphen or with fewer than three numbers is not newer; parts that are not
// numbers count as 0. A newer version must also make a plain file name,
// since the installer is saved under it.
Result read(const QByteArray& firstLine);

// Whether major.minor.patch is later than the program's own version.
bool isNewer(int major, int minor, int patch);
} // namespace VersionCheck
