#pragma once

#include <QString>

// Typing aids shared by the entry fields of several windows.
namespace TextCase
{
// First character and every character right after a space in upper case, all
// others in lower case. Only the space separates words: "o'neil" becomes
// "O'neil" and "twin-lakes" becomes "Twin-lakes".
QString toCapitalize(const QString& str);
} // namespace TextCase
