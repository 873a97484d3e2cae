#include "adif/adifcodec.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QStringTokenizer>
#include <QTextStream>

namespace Adif
{
QString field(const QString& name, const QString& value)
{
    return "<" + name + ":" + QString::number(value.size()) + ">" + value;
}

namespace
{
// Longest tag taken for one, "<" to ">": names are a few dozen characters at
// most, and a bound keeps a text full of "<" from being searched to its end
// again and again.
constexpr qsizetype longestTag = 100;

// A number as toLongLong reads it. Nearly every number of a record (the
// declared lengths, dates and times) is a few plain digits, read here at
// once; toLongLong, which would take each through the locale's number
// parser, gets the rest.
qint64 readNumber(QStringView text, bool* ok)
{
    if (text.isEmpty() || text.size() > 18)
        return text.toLongLong(ok);
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return text.toLongLong(ok);
        value = value * 10 + (c.unicode() - u'0');
    }
    if (ok)
        *ok = true;
    return value;
}

// A declared length as toInt reads it.
int fieldLength(QStringView text, bool* ok)
{
    return text.size() > 9 ? text.toInt(ok) : int(readNumber(text, ok));
}

// A number that two field names equal without regard to ASCII case share
// (their first and last letters), so that a look-up compares the names only
// of the tags that may match. A name that begins or ends with any other
// character gets 0, which is compared with every name: Qt's full case
// folding may make it equal to an ASCII one.
quint32 nameKey(QStringView name)
{
    if (name.isEmpty())
        return 0;
    const char16_t first = name.front().unicode(), last = name.back().unicode();
    if (first >= 0x80 || last >= 0x80)
        return 0;
    auto upper = [](char16_t c) { return quint32(c >= 'a' && c <= 'z' ? c - 0x20 : c); };
    return (upper(first) << 8 | upper(last)) + 1; // never 0
}

// The next field tag at or after `from`, with its value; `from` moves past the
// value. A "<" that opens no field tag ("<EOR>", a stray "<") is passed by.
// Each candidate tag is walked once, character by character: this runs for
// every field of every record of an import.
bool nextField(QStringView line, qsizetype& from, FieldTag* tag)
{
    for (qsizetype lt = line.indexOf('<', from); lt >= 0; lt = line.indexOf('<', lt + 1)) {
        const QStringView rest = line.mid(lt + 1, longestTag);
        qsizetype colon = -1, typeColon = -1, close = -1;
        for (qsizetype i = 0; i < rest.size() && close < 0; ++i) {
            const char16_t c = rest[i].unicode();
            if (c == '>')
                close = i;
            else if (c == ':' && colon < 0)
                colon = i;
            else if (c == ':' && typeColon < 0)
                typeColon = i;
            else if (c == '<' && colon < 0)
                break; // the name holds a "<": this "<" opens no tag
        }
        if (close < 0 || colon <= 0)
            continue;
        qsizetype lengthEnd = close;
        if (typeColon >= 0)
            lengthEnd = close - 2; // leave out ":" and the one-character type indicator
        bool ok = false;
        const int length =
            lengthEnd > colon ? fieldLength(rest.mid(colon + 1, lengthEnd - colon - 1), &ok) : 0;
        const qsizetype valueStart = lt + 1 + close + 1;
        tag->nameStart = lt + 1;
        tag->nameLength = colon;
        tag->nameKey = nameKey(rest.first(colon));
        tag->valueStart = valueStart;
        tag->valueLength = ok && length > 0 ? qMin<qsizetype>(length, line.size() - valueStart) : 0;
        from = valueStart + tag->valueLength;
        return true;
    }
    return false;
}

// The same text without regard to case. Tags and field names are ASCII, and
// an import compares thousands of them: ASCII is compared here without Qt's
// full case folding, which cost more than finding the fields; any other
// character goes the long way.
bool sameIgnoringCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        const char16_t lower = x | 0x20;
        if (lower != (y | 0x20) || lower < 'a' || lower > 'z')
            return false;
    }
    return true;
}

bool named(QStringView line, const FieldTag& tag, QStringView fieldName, quint32 key)
{
    return tag.nameLength == fieldName.size() &&
           (tag.nameKey == key || tag.nameKey == 0 || key == 0) &&
           sameIgnoringCase(line.mid(tag.nameStart, tag.nameLength), fieldName);
}
} // namespace

QString extractField(const QString& line, const QString& fieldName)
{
    FieldTag tag;
    const quint32 key = nameKey(fieldName);
    for (qsizetype from = 0; nextField(line, from, &tag);) {
        if (named(line, tag, fieldName, key))
            return line.mid(tag.valueStart, tag.valueLength);
    }
    return QString();
}

FieldIndex::FieldIndex(const QString& record) : line(record)
{
    FieldTag tag;
    for (qsizetype from = 0; nextField(line, from, &tag);)
        tags.append(tag);
}

QString FieldIndex::value(QStringView fieldName) const
{
    const quint32 key = nameKey(fieldName);
    for (const FieldTag& tag : tags) {
        if (named(line, tag, fieldName, key))
            return line.mid(tag.valueStart, tag.valueLength); // the first one counts
    }
    return QString();
}

namespace
{
// "K-0059@US-ME, K-4556" gives K-0059 and K-4556.
QStringList parkList(const QString& references)
{
    QStringList parks;
    if (references.isEmpty())
        return parks;
    for (const QStringView item : qTokenize(references, u',')) {
        const QStringView park = item.left(item.indexOf(u'@')).trimmed();
        if (!park.isEmpty() && !parks.contains(park))
            parks << park.toString();
    }
    return parks;
}

QStringList parksOf(const FieldIndex& fields, QStringView potaRef, QStringView sig,
                    QStringView sigInfo)
{
    const QStringList listed = parkList(fields.value(potaRef));
    if (!listed.isEmpty())
        return listed;
    const QString program = fields.value(sig).trimmed();
    if (!program.isEmpty() && program.compare(QLatin1String("POTA"), Qt::CaseInsensitive) != 0)
        return {};
    return parkList(fields.value(sigInfo));
}

const QRegularExpression& retiredReference()
{
    static const QRegularExpression pattern(QStringLiteral("\\bK-(\\d{4,5})\\b"));
    return pattern;
}
} // namespace

QStringList operatorParks(const FieldIndex& fields)
{
    return parksOf(fields, u"MY_POTA_REF", u"MY_SIG", u"MY_SIG_INFO");
}

QString otherParks(const FieldIndex& fields)
{
    return parksOf(fields, u"POTA_REF", u"SIG", u"SIG_INFO").join(',');
}

bool hasRetiredReference(const QString& references)
{
    return references.contains(retiredReference());
}

QString currentReferences(const QString& references)
{
    return QString(references).replace(retiredReference(), QStringLiteral("US-\\1"));
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
    r += field("MY_SIG", "POTA") + " ";
    r += field("MY_SIG_INFO", st.park) + " ";
    r += field("MY_STATE", st.state) + " ";
    r += field("QSO_DATE", c.date) + " ";
    r += field("TIME_ON", c.time) + " ";
    r += field("BAND", c.band) + " ";
    r += field("MODE", c.mode) + " ";
    r += field("CALL", c.call) + " ";
    if (!c.p2p.isEmpty())
        r += field("SIG", "POTA") + " " + field("SIG_INFO", c.p2p) + " ";
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
    if (!c.p2p.isEmpty()) {
        always("SIG", QStringLiteral("POTA"));
        always("SIG_INFO", c.p2p);
    }
    unlessEmpty("COMMENT", c.comment);
    always("STATION_CALLSIGN", st.station);
    always("OPERATOR", st.operatorCall);
    always("MY_SIG", QStringLiteral("POTA"));
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
    QString name;
    if (type == "COMPLETE")
        name = operatorCall + "@" + park + "_" + startDate + "_complete.adi";
    else if (multiState)
        name = operatorCall + "@" + park + "_" + state + "_" + startDate + ".adi";
    else
        name = operatorCall + "@" + park + "_" + startDate + ".adi";
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    bool leading = true;
    for (QChar& c : name) {
        leading = leading && c == '.';
        if (leading || c.unicode() < 0x20 || c.unicode() == 0x7f || unsafe.contains(c))
            c = '_';
    }
    return name;
}

bool ActivationWindow::contains(const QString& date, const QString& time) const
{
    // A text that is not a number counts as 0.
    const qint64 d = readNumber(date, nullptr), t = readNumber(time, nullptr);
    const qint64 start = readNumber(startDate, nullptr), end = readNumber(endDate, nullptr);
    const qint64 from = readNumber(startTime, nullptr), to = readNumber(stopTime, nullptr);
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
qsizetype indexOfTag(const QString& text, QStringView tag, qsizetype from)
{
    for (qsizetype lt = text.indexOf('<', from); lt >= 0; lt = text.indexOf('<', lt + 1)) {
        if (sameIgnoringCase(QStringView(text).mid(lt, tag.size()), tag))
            return lt;
    }
    return -1;
}
} // namespace

RecordReader::RecordReader(QTextStream* in) : in(in) {}

void RecordReader::readMore()
{
    buffer += in->read(64 * 1024);
}

qsizetype RecordReader::readUntil(QStringView wanted)
{
    qsizetype found = indexOfTag(buffer, wanted, pos);
    while (found < 0 && !in->atEnd()) {
        // Only the new piece (and a tag split across the join) needs a look.
        const qsizetype from = qMax(pos, buffer.size() - wanted.size());
        readMore();
        found = indexOfTag(buffer, wanted, from);
    }
    return found;
}

void RecordReader::readHeader()
{
    headerDone = true;
    if (in->atEnd())
        return;
    readMore();
    if (buffer.startsWith('<'))
        return; // no header: the text is a record from its first character
    const qsizetype eoh = readUntil(u"<EOH>");
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
        const qsizetype eor = readUntil(u"<EOR>");
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
