#include "fakeqrzserver.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>

namespace
{
const char* header = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
                     "<QRZDatabase version=\"1.34\" xmlns=\"http://xmldata.qrz.com\">\n";
const char* footer = "</QRZDatabase>\n";
const char* gmTime = "<GMTime>Sun Dec 06 20:00:00 2026</GMTime>";
} // namespace

FakeQrzServer::FakeQrzServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, &FakeQrzServer::onNewConnection);
}

bool FakeQrzServer::start()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QString FakeQrzServer::url() const
{
    return QString("http://127.0.0.1:%1/xml/current/").arg(server.serverPort());
}

QString FakeQrzServer::decode(const QString& value)
{
    return QUrl::fromPercentEncoding(value.toUtf8());
}

QString FakeQrzServer::subscriberLogin(const QString& key, const QString& count,
                                       const QString& subExp)
{
    return QString(header) + "  <Session>\n    <Key>" + key + "</Key>\n    <Count>" + count +
           "</Count>\n    <SubExp>" + subExp + "</SubExp>\n    " + gmTime +
           "\n    <Remark>cpu: 0.022s</Remark>\n  </Session>\n" + footer;
}

void FakeQrzServer::onNewConnection()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeQrzServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = pending[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    // "GET /xml/current/?query HTTP/1.1"
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffer.clear();
    const QByteArray target = requestLine.size() >= 2 ? requestLine.at(1) : QByteArray();
    const qsizetype mark = target.indexOf('?');
    const QString query = mark < 0 ? QString() : QString::fromUtf8(target.mid(mark + 1));
    queries.append(query);
    Q_EMIT requestSeen(query);

    if (dropNext > 0) {
        --dropNext;
        socket->abort();
        return;
    }
    const QByteArray body = rawAnswer.isNull() ? answer(query) : rawAnswer;
    QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
                       "Connection: close\r\nContent-Length: " +
                       QByteArray::number(body.size()) + "\r\n\r\n" + body;
    if (holdLookups && query.contains("callsign=")) {
        held.append({socket, reply});
        return;
    }
    socket->write(reply);
    socket->disconnectFromHost();
}

void FakeQrzServer::releaseLookups()
{
    holdLookups = false;
    for (const auto& [socket, reply] : std::as_const(held)) {
        if (!pending.contains(socket))
            continue; // the client gave up on it
        socket->write(reply);
        socket->disconnectFromHost();
    }
    held.clear();
}

QByteArray FakeQrzServer::answer(const QString& query)
{
    // Parameters are separated by "&" in a login and by ";" in a lookup.
    QHash<QString, QString> values;
    for (const QString& part : query.split(QRegularExpression("[&;]"))) {
        const qsizetype equals = part.indexOf('=');
        if (equals > 0)
            values.insert(part.left(equals), decode(part.mid(equals + 1)));
    }

    QString xml;
    if (values.contains("username")) {
        lastPassword = values.value("password");
        if (login == Login::Refused || values.value("username") != user ||
            values.value("password") != password) {
            xml = QString(header) + "  <Session><Error>Username/password incorrect </Error>" +
                  gmTime + "</Session>\n" + footer;
        } else {
            sessionExpired = false;
            xml = subscriberLogin(key, count,
                                  login == Login::NonSubscriber ? "non-subscriber" : subExp);
        }
    } else {
        const QString call = values.value("callsign");
        lookedUp.append(call);
        const QString session = "<Session><Key>" + key + "</Key><Count>" + count +
                                "</Count><SubExp>" + subExp + "</SubExp>" + gmTime + "</Session>\n";
        if (sessionExpired || values.value("s") != key)
            xml = QString(header) + "  <Session><Error>Session Timeout</Error>" + gmTime +
                  "</Session>\n" + footer;
        else if (stations.contains(call.toUpper()))
            xml = QString(header) + "  <Callsign>" + stations.value(call.toUpper()) +
                  "</Callsign>\n  " + session + footer;
        else
            xml = QString(header) + "  <Session><Error>Not found: " + call + "</Error><Key>" + key +
                  "</Key><Count>" + count + "</Count>" + gmTime + "</Session>\n" + footer;
    }
    return xml.toUtf8();
}
