#include "db/csvreader.h"

#include <QIODevice>

namespace
{
void emitField(QString field, QList<QString>& list)
{
    if (field.size() >= 2 && field.startsWith('"') && field.endsWith('"'))
        field = field.mid(1, field.size() - 2);
    field.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    list.append(field);
}
} // namespace

void Csv::processLine(QIODevice& file, QList<QString>& list)
{
    list.clear();
    QString line = QString::fromUtf8(file.readLine());
    line.remove('\r');
    QString field;
    for (const QChar c : line) {
        if (c != ',' && c != '\n') {
            field.append(c);
        } else if (field.count('"') % 2 == 1) {
            field.append(c); // the separator is inside a quoted value
        } else {
            emitField(field, list);
            field.clear();
        }
    }
}
