#include "fakeqrzserver.h"

#include <QUrlQuery>

QByteArray FakeQrzServer::respond(const QString& target, bool* hold)
{
    const QString query = target.mid(target.indexOf('?') + 1);
    queries << query;
    if (dropNext > 0 || (!dropCall.isEmpty() && query.endsWith("callsign=" + dropCall))) {
        dropNext = qMax(0, dropNext - 1);
        return {};
    }
    *hold = holdLookups && query.contains("callsign=");
    if (!rawAnswer.isNull())
        return response("200 OK", "text/xml; charset=utf-8", rawAnswer, rawAnswer.size());
    // Values are separated by "&" in a login and by ";" in a lookup; as any
    // web server does, the service reads a "+" as a space.
    const QUrlQuery values(QString(query).replace(';', '&').replace('+', "%20"));
    const auto value = [&values](const QString& name) {
        return values.queryItemValue(name, QUrl::FullyDecoded);
    };
    const QString key = "2331uf894c4bd29f3923f3bacf02c532d7bd9";
    const QString time = "<GMTime>Sun Dec 06 20:00:00 2026</GMTime>";
    const QString session = "<Key>" + key + "</Key><Count>" + count + "</Count>";
    const QString subExp = "<SubExp>Wed Jan 01 12:34:03 2031</SubExp>";
    QString body;
    if (values.hasQueryItem("username")) {
        const bool accepted =
            login != Login::Refused && value("username") == user && value("password") == password;
        sessionExpired = sessionExpired && !accepted;
        if (!accepted)
            body = "<Session><Error>Username/password incorrect </Error>" + time + "</Session>";
        else if (login == Login::NonSubscriber)
            body = "<Session>" + session + "<SubExp>non-subscriber</SubExp>" + time + "</Session>";
        else
            body = "<Session>" + session + subExp + time + "<Remark>cpu: 0.022s</Remark></Session>";
    } else {
        const QString call = value("callsign");
        lookedUp << call;
        if (sessionExpired || value("s") != key)
            body = "<Session><Error>Session Timeout</Error>" + time + "</Session>";
        else if (stations.contains(call.toUpper()))
            body = "<Callsign>" + stations.value(call.toUpper()) + "</Callsign>\n<Session>" +
                   session + subExp + time + "</Session>";
        else
            body =
                "<Session><Error>Not found: " + call + "</Error>" + session + time + "</Session>";
    }
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<QRZDatabase "
                           "version=\"1.34\" xmlns=\"http://xmldata.qrz.com\">\n" +
                           body.toUtf8() + "\n</QRZDatabase>\n";
    return response("200 OK", "text/xml; charset=utf-8", xml, xml.size());
}
