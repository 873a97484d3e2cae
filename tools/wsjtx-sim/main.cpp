// Plays WSJT-X's side of the UDP link against a running Parkbook, so the
// automation can be tried without a radio. Prints what Parkbook sends back.
//
//   wsjtx-sim [--port 2237] [--host 127.0.0.1] [--tx "Q2XX Q1ABC -05"]
//             [--decodes script.txt] [--log adif.txt] [--wait 1000] [--jtdx]
//
// --jtdx plays JTDX instead: id "JTDX", a Heartbeat without revision and a
// Status without Tx message (--tx "Q2XX Q1ABC -05" then sends DX call Q2XX
// and report -05).
//
// A decode script holds one decode per line: "hhmmss snr df message", for
// example "123015 -12 1200 CQ POTA Q2XX FN31". Lines starting with # are skipped.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QIODevice>
#include <QMap>
#include <QNetworkDatagram>
#include <QStringList>
#include <QTextStream>
#include <QUdpSocket>
#include <QtEndian>

namespace
{
bool jtdx = false;

QString clientId()
{
    return jtdx ? "JTDX" : "WSJT-X";
}

QByteArray u32(quint32 value)
{
    QByteArray out;
    QDataStream(&out, QIODevice::WriteOnly) << value;
    return out;
}

QByteArray text(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    return utf8.isEmpty() ? QByteArray::fromHex("ffffffff") : u32(quint32(utf8.size())) + utf8;
}

QByteArray header(quint32 type)
{
    return QByteArray::fromHex("adbccbda") + u32(2) + u32(type) + text(clientId());
}

QByteArray heartbeat()
{
    if (jtdx)
        return header(0) + u32(3) + text("2.2.159");
    return header(0) + u32(3) + text("2.6.1") + text("");
}

QByteArray status(const QString& txMessage)
{
    QByteArray out = header(1);
    QDataStream(&out, QIODevice::WriteOnly | QIODevice::Append) << quint64(14074000);
    // JTDX has no Tx message; its DX call and report say the same.
    const QStringList words = txMessage.split(' ');
    const bool report = jtdx && words.size() == 3;
    out += text("FT8") + text(report ? words[0] : "") + text(report ? words[2] : "") + text("FT8");
    out += char(1); // Tx enabled
    out += char(0);
    out += char(0);
    out += u32(1500) + u32(1500) + text("Q1ABC") + text("FN31") + text("");
    out += char(0); // Tx watchdog
    out += text("");
    out += char(0);
    out += char(0); // special operation mode; JTDX: Tx first
    if (jtdx)
        return out;
    out += u32(0xffffffffu) + u32(0xffffffffu) + text("Default") + text(txMessage);
    return out;
}

QByteArray decode(quint32 msecs, qint32 snr, quint32 df, const QString& message)
{
    QByteArray out = header(2);
    out += char(1);
    out += u32(msecs) + u32(quint32(snr));
    QByteArray dt;
    QDataStream stream(&dt, QIODevice::WriteOnly);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    stream << 0.1;
    out += dt + u32(df) + text("~") + text(message);
    out += char(0);
    out += char(0);
    return out;
}

QString describe(const QByteArray& d)
{
    static const QMap<quint32, QString> names{{3, "Clear"},     {4, "Reply"},     {7, "Replay"},
                                              {8, "Halt Tx"},   {9, "Free text"}, {11, "Location"},
                                              {15, "Configure"}};
    if (d.size() < 16)
        return "short datagram " + d.toHex(' ');
    const quint32 type = qFromBigEndian<quint32>(d.constData() + 8);
    // JTDX and older WSJT-X releases ignore a datagram carrying another id.
    const quint32 idLength = qFromBigEndian<quint32>(d.constData() + 12);
    const QByteArray id = idLength <= quint32(d.size() - 16) ? d.mid(16, idLength) : QByteArray();
    return QString("%1 (type %2) for %3%4: %5")
        .arg(names.value(type, "?"))
        .arg(type)
        .arg(QString::fromUtf8(id))
        .arg(id == clientId().toUtf8() ? "" : " (not us: ignored)")
        .arg(QString(d.toHex(' ')));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays WSJT-X against a running Parkbook");
    parser.addHelpOption();
    parser.addOptions({{"host", "Parkbook's address", "host", "127.0.0.1"},
                       {"port", "Parkbook's UDP port", "port", "2237"},
                       {"tx", "Tx message of the status sent", "text"},
                       {"decodes", "decode script, one decode per line", "file"},
                       {"log", "file with an ADIF record to report as logged", "file"},
                       {"wait", "milliseconds to listen after each message", "ms", "1000"},
                       {"jtdx", "play JTDX: its id, Heartbeat and 17-field Status"}});
    parser.process(app);
    jtdx = parser.isSet("jtdx");

    QTextStream out(stdout);
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    const QHostAddress host(parser.value("host"));
    const auto port = quint16(parser.value("port").toUInt());
    const int wait = parser.value("wait").toInt();

    auto send = [&](const QString& what, const QByteArray& datagram) {
        out << "-> " << what << Qt::endl;
        socket.writeDatagram(datagram, host, port);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < wait) {
            socket.waitForReadyRead(50);
            while (socket.hasPendingDatagrams())
                out << "<- " << describe(socket.receiveDatagram().data()) << Qt::endl;
        }
    };

    send("Heartbeat", heartbeat());
    if (parser.isSet("tx"))
        send("Status, Tx message \"" + parser.value("tx") + "\"", status(parser.value("tx")));
    if (parser.isSet("decodes")) {
        QFile file(parser.value("decodes"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            out << "cannot read " << file.fileName() << Qt::endl;
            return 1;
        }
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
            if (parts.size() < 4)
                continue;
            const QString t = parts[0].rightJustified(6, '0');
            const quint32 ms = quint32(
                (t.mid(0, 2).toInt() * 3600 + t.mid(2, 2).toInt() * 60 + t.mid(4, 2).toInt()) *
                1000);
            const QString message = parts.mid(3).join(' ');
            send("Decode \"" + message + "\"",
                 decode(ms, parts[1].toInt(), parts[2].toUInt(), message));
        }
    }
    if (parser.isSet("log")) {
        QFile file(parser.value("log"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            out << "cannot read " << file.fileName() << Qt::endl;
            return 1;
        }
        send("Logged ADIF", header(12) + text(QString::fromUtf8(file.readAll()).trimmed()));
    }
    return 0;
}
