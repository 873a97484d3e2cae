#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

class QTextStream;

// ADIF text as Parkbook writes and reads it. Nothing here touches a window or
// a database, so the exports can be compared byte for byte and the readers
// can be fed any file.
namespace Adif
{
inline constexpr const char* programId = "QQ7QQ's Parkbook Program";
inline constexpr const char* programVersion = "2.3.6";

// "<NAME:len>value". The length counts UTF-16 code units, which is what other
// loggers count as characters; an é is one although UTF-8 spends two bytes.
QString field(const QString& name, const QString& value);

// The value of the named field in `line`, or the empty text. Tags are found
// without regard to case, a type indicator ("<QSO_DATE:8:D>") is not part of
// the length, a length that is not a number or below 1 gives the empty text,
// and a value cut short by the end of the line gives what is there. The line
// is read from the start, each value stepped over by its declared length, so
// text inside a value ("<COMMENT:9>see <CALL:2>Q3") is never taken for a tag.
QString extractField(const QString& line, const QString& fieldName);

// Where one field's name and value stand in the text it was found in.
struct FieldTag {
    qsizetype nameStart, nameLength;
    quint32 nameKey; // equal for names equal without regard to case (see nameKey)
    qsizetype valueStart, valueLength;
};

// The fields of one record found in a single pass: value(name) gives exactly
// what extractField(record, name) gives, but an import that reads twenty
// fields of every record no longer walks the whole record twenty times.
class FieldIndex
{
public:
    explicit FieldIndex(const QString& record);
    QString value(QStringView fieldName) const;

private:
    QString line;
    QVarLengthArray<FieldTag, 32> tags; // every field tag in the order of the record
};

// The parks a record names for the operator: MY_POTA_REF (a comma-separated
// list, each park perhaps followed by "@" and a location), else MY_SIG_INFO
// when MY_SIG is empty or POTA. Empty when the record names none, or only a
// SOTA or WWFF reference.
QStringList operatorParks(const FieldIndex& fields);
// The other station's park(s) by the same rule: POTA_REF, else SIG_INFO when
// SIG is empty or POTA; several are joined with ",".
QString otherParks(const FieldIndex& fields);

// POTA names the US parks US-nnnn since 2024 and no longer takes the old
// K-nnnn form (four or five digits). hasRetiredReference tells whether a
// reference, or a comma-separated list of them, holds one; currentReferences
// gives the same text with each K- reference written as US-.
bool hasRetiredReference(const QString& references);
QString currentReferences(const QString& references);

// The station and park details every record of one export file carries.
struct ExportStation {
    QString station;      // station call sign
    QString operatorCall; // operator call sign
    QString park;
    QString parkName;
    QString state;
    QString county;
    QString lat;
    QString lon;
    QString grid;
};

// One `log` row as the exports need it.
struct ExportContact {
    QString call, date, time, name, county, city, state, sent, rcvd, mode, band, frequency, power,
        lat, lon, grid, p2p, comment;
};

// The marker a contact's `city` carries when its position came from the
// state-centre table: its county, lat and lon are then not where the station is.
inline constexpr const char* stateCentreCity = "StateCenter";

QString header(const QDateTime& exportTime);
QString potaRecord(const ExportStation& st, const ExportContact& c);
// CNTY, LAT and LON are left out when this row's own city is the state-centre
// marker (the contact in the entry form has nothing to say about other rows).
QString completeRecord(const ExportStation& st, const ExportContact& c);

// File name of an export: "POTA" gives operator@park_date.adi (with the
// station state before the date for a multi-state park), "COMPLETE" gives
// operator@park_date_complete.adi. A call such as Q1ABC/P or a typed "../x"
// must not make a path: characters that are not allowed or not safe in a file
// name (/ \ : * ? " < > |, control characters, leading dots) become "_".
QString exportFileName(const QString& type, const QString& operatorCall, const QString& park,
                       const QString& state, const QString& startDate, bool multiState);

// The activation window of the main window: a record is taken on the start
// date from the start time on, on every day in between, and on the end date
// up to the stop time. Texts that are not numbers count as 0.
struct ActivationWindow {
    QString startDate, endDate, startTime, stopTime;
    bool contains(const QString& date, const QString& time) const;
};

// Time of a record padded on the right to six digits (1415 becomes 141500).
QString paddedTime(const QString& time);

// Splits an ADIF stream into record texts the way the import reads files:
// it skips a header ending in <EOH> (a file starting with "<" has none), cuts
// the records at <EOR> (the last one may lack it) and drops what stands before
// a record's first "<". Tags are matched without regard to case. The stream is
// read a piece at a time, so a large file is never held whole unless it has
// neither <EOH> nor <EOR>. Line ends are kept as they come: a value that spans
// a line counts them in its declared length.
class RecordReader
{
public:
    explicit RecordReader(QTextStream* in);
    // The next record text, or false at the end of the stream.
    bool next(QString* record);

private:
    void readHeader();
    // Reads on until the unread part holds `tag`; where it stands, else -1.
    qsizetype readUntil(QStringView tag);
    void readMore();

    QTextStream* in;
    QString buffer;
    qsizetype pos = 0; // start of the unread part of buffer
    bool headerDone = false;
};

// Every record of a whole text, for tests and small inputs.
QStringList records(const QString& text);
} // namespace Adif
