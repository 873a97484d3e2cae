// Feeds arbitrary bytes to the ADIF field reader and the record splitter. The
// bytes go in the way a file does (decoded as UTF-8 by a text stream), and
// every record found is searched for the fields the import reads, by the
// one-pass index the import uses and by the plain search, which must agree.
// The same text as a call sign must still give a plain file name.
#include "adif/adifcodec.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The fields the import reads, and the empty name (the split's last).
    static const QStringList names =
        QString("CALL QSO_DATE TIME_ON MY_SIG_INFO NAME CNTY STATE CNTRY COUNTRY DXCC LAT LON "
                "GRIDSQUARE RST_SENT RST_RCVD MODE BAND FREQ SIG_INFO COMMENT TX_PWR "
                "STATION_CALLSIGN OPERATOR MY_SIG MY_POTA_REF SIG POTA_REF ")
            .split(' ');

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);

    // The whole input as one line, and with the first line as the field name.
    for (const QString& name : names)
        (void)Adif::extractField(text, name);
    const qsizetype eol = text.indexOf('\n');
    if (eol >= 0)
        (void)Adif::extractField(text.mid(eol + 1), text.left(eol));

    const QString fileName = Adif::exportFileName("POTA", text, "K-1234", "", "20230704", false);
    if (fileName.contains('/') || fileName.contains('\\') || fileName.startsWith('.'))
        __builtin_trap();

    QTextStream in(bytes);
    Adif::RecordReader reader(&in);
    QString record;
    while (reader.next(&record)) {
        if (!record.startsWith('<'))
            __builtin_trap(); // a record handed on always starts at a tag
        const Adif::FieldIndex fields(record);
        for (const QString& name : names)
            if (fields.value(name) != Adif::extractField(record, name))
                __builtin_trap();
        (void)Adif::paddedTime(Adif::extractField(record, "TIME_ON"));
        for (const QString& park : Adif::operatorParks(fields))
            (void)Adif::currentReferences(park);
        (void)Adif::otherParks(fields);
    }
    return 0;
}
