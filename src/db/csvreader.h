#pragma once

#include <QList>
#include <QString>

class QIODevice;

namespace Csv
{
// Reads the next line of `file` and replaces `list` with its fields. A comma
// or line feed inside double quotes belongs to the field; a field enclosed in
// double quotes loses them, and a doubled quote inside becomes one. Carriage
// returns are dropped. A field is only emitted when a comma or a line feed
// ends it, so text after the last separator of a line is lost.
void processLine(QIODevice& file, QList<QString>& list);
} // namespace Csv
