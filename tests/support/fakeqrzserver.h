#pragma once

#include "fakehttpserver.h"

#include <QHash>

// A stand-in for the QRZ XML callsign service on 127.0.0.1: answers login and
// lookup requests with XML shaped like the real answers and records every
// query string it got (still percent-encoded, as sent).
class FakeQrzServer : public FakeHttpServer
{
public:
    enum class Login { Subscriber, NonSubscriber, Refused };

    FakeQrzServer() : FakeHttpServer(new QTcpServer) {}

    bool start() const { return server->isListening(); }
    QString url() const
    {
        return QString("http://127.0.0.1:%1/xml/current/").arg(server->serverPort());
    }

    // The account the login checks, and how an accepted login answers.
    QString user = "N0CALL", password = "secret";
    Login login = Login::Subscriber;
    QString count = "123";

    // Stations the lookup knows: call sign (upper case) -> the inner XML of
    // its <Callsign> block.
    QHash<QString, QString> stations;
    // The session ends: later lookups get "Session Timeout" without a key.
    bool sessionExpired = false;
    // Requests closed without an answer, as a failed network request: the
    // next `dropNext` ones, and every lookup of `dropCall`.
    int dropNext = 0;
    QString dropCall;
    // When set, every answer is exactly this body.
    QByteArray rawAnswer;
    // While set, lookup answers wait until releaseLookups() sends them, in
    // the order they were asked: a slow service.
    bool holdLookups = false;
    void releaseLookups()
    {
        holdLookups = false;
        releaseHeld();
    }

    // The query string of every request, as sent, and the decoded call signs
    // of the lookups, in order.
    QStringList queries, lookedUp;

private:
    QByteArray respond(const QString& target, bool* hold) override;
};
