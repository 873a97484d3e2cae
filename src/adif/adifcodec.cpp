#include "adif/adifcodec.h"

#include <QIODevice>
#include <QTextStream>

namespace Adif
{
QString field(const QString& name, const QString& value)
{
    return "<" + name + ":" + QString::number(value.size()) + ">" + value;
}

namespace
{
// The value of the field whose tag begins at `start` (the "<").
QString valueAt(const QString& line, qsizetype start)
{
    const qsizetype close = line.indexOf('>', start);
    const qsizetype colon = line.indexOf(':', start);
    if (close < 0 || colon < 0 || colon > close)
        return QString();
    qsizetype lengthEnd = close;
    const qsizetype typeColon = line.indexOf(':', colon + 1);
    if (typeColon >= 0 && typeColon < close)
        lengthEnd = close - 2; // leave out ":" and the one-character type indicator
    if (lengthEnd <= colon)
        return QString();
    bool ok = false;
    const int length = QStringView(line).mid(colon + 1, lengthEnd - colon - 1).toInt(&ok);
    if (!ok || length < 1)
        return QString();
    return line.mid(close + 1, length);
}
} // namespace

QString extractField(const QString& line, const QString& fieldName)
{
    const qsizetype start = line.indexOf("<" + fieldName + ":", 0, Qt::CaseInsensitive);
    if (start < 0)
        return QString();
    return valueAt(line, start);
}

FieldIndex::FieldIndex(const QString& record) : line(record)
{
    // "<NAME:" first stands at the first "<" whose text up to the next ":" is
    // NAME (a name holds no ":"), so every "<" is a candidate, in order.
    constexpr qsizetype longestName = 64;
    for (qsizetype lt = line.indexOf('<'); lt >= 0; lt = line.indexOf('<', lt + 1)) {
        const qsizetype colon = QStringView(line).mid(lt + 1, longestName + 1).indexOf(':');
        if (colon >= 0)
            tags.append({lt, colon});
    }
}

QString FieldIndex::value(QStringView fieldName) const
{
    for (const Tag& tag : tags) {
        if (tag.nameLength == fieldName.size() &&
            QStringView(line)
                    .mid(tag.start + 1, tag.nameLength)
                    .compare(fieldName, Qt::CaseInsensitive) == 0)
            return valueAt(line, tag.start); // the first one counts, as in extractField
    }
    return QString();
}

QString header(const QDateTime& exportTime)
{
    return QString("ADIF Export from QQ7QQ's Parkbook Program Version 2.3.6\n") +
           "Park Log exported on: " + exportTime.toString("MM/dd/yyyy hh:mm:ss") + " UTC\n" +
           "Released ADIF Version 3.1.2, updated 2021/04/17\n" + field("PROGRAMID", programId) +
           "\n" + field("PROGRAMVERSION", programVersion) + "\n" + "<EOH>\n\n";
}

QString potaRecord(const ExportStation& st, const ExportContact& c)
{
    QString r;
    r += field("STATION_CALLSIGN", st.station) + " ";
    r += field("OPERATOR", st.operatorCall) + " ";
    r += field("MY_SIG_INFO", st.park) + " ";
    r += field("MY_STATE", st.state) + " ";
    r += field("QSO_DATE", c.date) + " ";
    r += field("TIME_ON", c.time) + " ";
    r += field("BAND", c.band) + " ";
    r += field("MODE", c.mode) + " ";
    r += field("CALL", c.call) + " ";
    if (!c.p2p.isEmpty())
        r += field("SIG_INFO", c.p2p) + " ";
    return r + "<EOR>\n";
}

QString completeRecord(const ExportStation& st, const ExportContact& c)
{
    const bool realPlace = c.city != QLatin1String(stateCentreCity);
    QString r;
    auto always = [&r](const char* name, const QString& value) { r += field(name, value) + "\n"; };
    auto unlessEmpty = [&r](const char* name, const QString& value, bool allowed = true) {
        if (allowed && !value.isEmpty())
            r += field(name, value) + "\n";
    };
    always("CALL", c.call);
    always("QSO_DATE", c.date);
    always("TIME_ON", c.time);
    unlessEmpty("NAME", c.name);
    unlessEmpty("CNTY", c.county, realPlace);
    unlessEmpty("STATE", c.state);
    always("RST_SENT", c.sent);
    always("RST_RCVD", c.rcvd);
    always("MODE", c.mode);
    always("BAND", c.band);
    always("FREQ", c.frequency);
    always("TX_PWR", c.power);
    unlessEmpty("LAT", c.lat, realPlace);
    unlessEmpty("LON", c.lon, realPlace);
    unlessEmpty("GRIDSQUARE", c.grid);
    unlessEmpty("SIG_INFO", c.p2p);
    unlessEmpty("COMMENT", c.comment);
    always("STATION_CALLSIGN", st.station);
    always("OPERATOR", st.operatorCall);
    always("MY_SIG_INFO", st.park);
    always("PARK_NAME", st.parkName);
    always("MY_STATE", st.state);
    always("MY_CNTY", st.county);
    always("MY_LAT", st.lat);
    always("MY_LON", st.lon);
    always("MY_GRIDSQUARE", st.grid);
    return r + "<EOR>\n\n";
}

QString exportFileName(const QString& type, const QString& operatorCall, const QString& park,
                       const QString& state, const QString& startDate, bool multiState)
{
    if (type == "COMPLETE")
        return operatorCall + "@" + park + "_" + startDate + "_complete.adi";
    if (multiState)
        return operatorCall + "@" + park + "_" + state + "_" + startDate + ".adi";
    return operatorCall + "@" + park + "_" + startDate + ".adi";
}

bool ActivationWindow::contains(const QString& date, const QString& time) const
{
    // toLongLong gives 0 for text that is not a number.
    const qint64 d = date.toLongLong(), t = time.toLongLong();
    const qint64 start = startDate.toLongLong(), end = endDate.toLongLong();
    const qint64 from = startTime.toLongLong(), to = stopTime.toLongLong();
    if (start == end)
        return d == start && from <= t && t <= to;
    if (start < end)
        return (d == start && t >= from) || (d > start && d < end) || (d == end && t <= to);
    return false;
}

QString paddedTime(const QString& time)
{
    return time.leftJustified(6, '0');
}

namespace
{
// Where `tag` ("<EOR>") next stands in text from `from` on, in any case. A
// plain search for "<" and a look at what follows is much quicker than a
// case-insensitive search of the whole text.
qsizetype indexOfTag(const QString& text, QLatin1String tag, qsizetype from)
{
    for (qsizetype lt = text.indexOf('<', from); lt >= 0; lt = text.indexOf('<', lt + 1)) {
        if (QStringView(text).mid(lt, tag.size()).compare(tag, Qt::CaseInsensitive) == 0)
            return lt;
    }
    return -1;
}
} // namespace

RecordReader::RecordReader(QTextStream* in) : in(in) {}

void RecordReader::readLine()
{
    buffer += in->readLine();
    buffer += '\n';
}

bool RecordReader::readUntil(const char* tag)
{
    const QLatin1String wanted(tag);
    if (indexOfTag(buffer, wanted, pos) >= 0)
        return true;
    while (!in->atEnd()) {
        // Only the new line (and a tag split across the join) needs a look.
        const qsizetype from = qMax(pos, buffer.size() - wanted.size());
        readLine();
        if (indexOfTag(buffer, wanted, from) >= 0)
            return true;
    }
    return false;
}

void RecordReader::readHeader()
{
    headerDone = true;
    if (in->atEnd())
        return;
    readLine();
    if (buffer.startsWith('<'))
        return; // no header: the first line is already part of a record
    readUntil("<EOH>");
    const qsizetype eoh = indexOfTag(buffer, QLatin1String("<EOH>"), 0);
    if (eoh >= 0)
        buffer.remove(0, eoh + 5);
}

bool RecordReader::next(QString* record)
{
    if (!headerDone)
        readHeader();
    for (;;) {
        // Keep the buffer from growing with records already handed out.
        if (pos > 0 && pos > buffer.size() / 2) {
            buffer.remove(0, pos);
            pos = 0;
        }
        if (pos >= buffer.size() && in->atEnd())
            return false;
        readUntil("<EOR>");
        const qsizetype eor = indexOfTag(buffer, QLatin1String("<EOR>"), pos);
        const qsizetype end = eor >= 0 ? eor + 5 : buffer.size();
        const QStringView text = QStringView(buffer).mid(pos, end - pos);
        const qsizetype first = text.indexOf('<');
        const bool found = first >= 0; // else nothing but text between records
        if (found)
            *record = text.mid(first).trimmed().toString();
        const qsizetype following = buffer.indexOf('<', end);
        if (following < 0) {
            buffer.clear();
            pos = 0;
        } else {
            pos = following;
        }
        if (found)
            return true;
    }
}

QStringList records(const QString& text)
{
    QString copy = text;
    QTextStream in(&copy, QIODevice::ReadOnly);
    RecordReader reader(&in);
    QStringList list;
    QString record;
    while (reader.next(&record))
        list << record;
    return list;
}
} // namespace Adif
