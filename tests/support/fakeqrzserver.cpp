#include "fakeqrzserver.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>

FakeQrzServer::FakeQrzServer(QObject* parent) : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                pending.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

bool FakeQrzServer::start()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QString FakeQrzServer::url() const
{
    return QString("http://127.0.0.1:%1/xml/current/").arg(server.serverPort());
}

void FakeQrzServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = pending[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n"))
        return;
    // "GET /xml/current/?query HTTP/1.1"
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffer.clear();
    const QByteArray target = requestLine.value(1);
    const QString query = QString::fromUtf8(target.mid(target.indexOf('?') + 1));
    queries << query;
    if (dropNext > 0 || (!dropCall.isEmpty() && query.endsWith("callsign=" + dropCall))) {
        dropNext = qMax(0, dropNext - 1);
        socket->abort();
        return;
    }
    const QByteArray body = rawAnswer.isNull() ? answer(query) : rawAnswer;
    const QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n"
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
    // Values are separated by "&" in a login and by ";" in a lookup.
    QHash<QString, QString> values;
    for (const QString& part : query.split(QRegularExpression("[&;]"))) {
        const qsizetype equals = part.indexOf('=');
        if (equals > 0)
            values.insert(part.left(equals),
                          QUrl::fromPercentEncoding(part.mid(equals + 1).toUtf8()));
    }
    const QString time = "<GMTime>Sun Dec 06 20:00:00 2026</GMTime>";
    const QString session = "<Key>" + key + "</Key><Count>" + count + "</Count>";
    const QString subExp = "<SubExp>Wed Jan 01 12:34:03 2031</SubExp>";
    QString body;
    if (values.contains("username")) {
        const bool accepted = login != Login::Refused && values.value("username") == user &&
                              values.value("password") == password;
        sessionExpired = sessionExpired && !accepted;
        if (!accepted)
            body = "<Session><Error>Username/password incorrect </Error>" + time + "</Session>";
        else if (login == Login::NonSubscriber)
            body = "<Session>" + session + "<SubExp>non-subscriber</SubExp>" + time + "</Session>";
        else
            body = "<Session>" + session + subExp + time + "<Remark>cpu: 0.022s</Remark></Session>";
    } else {
        const QString call = values.value("callsign");
        lookedUp << call;
        if (sessionExpired || values.value("s") != key)
            body = "<Session><Error>Session Timeout</Error>" + time + "</Session>";
        else if (stations.contains(call.toUpper()))
            body = "<Callsign>" + stations.value(call.toUpper()) + "</Callsign>\n<Session>" +
                   session + subExp + time + "</Session>";
        else
            body =
                "<Session><Error>Not found: " + call + "</Error>" + session + time + "</Session>";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<QRZDatabase version=\"1.34\" "
           "xmlns=\"http://xmldata.qrz.com\">\n" +
           body.toUtf8() + "\n</QRZDatabase>\n";
}
