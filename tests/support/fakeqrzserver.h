#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A stand-in for the QRZ XML callsign service on 127.0.0.1: answers login and
// lookup requests with XML shaped like the real answers and records every
// query string it got (still percent-encoded, as sent).
class FakeQrzServer : public QObject
{
    Q_OBJECT

public:
    enum class Login { Subscriber, NonSubscriber, Refused };

    explicit FakeQrzServer(QObject* parent = nullptr);

    bool start();
    QString url() const; // "http://127.0.0.1:<port>/xml/current/"

    // The account the login checks, and how an accepted login answers.
    QString user = "N0CALL";
    QString password = "secret";
    Login login = Login::Subscriber;
    QString count = "123";
    QString key = "2331uf894c4bd29f3923f3bacf02c532d7bd9";

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
    void releaseLookups();

    QStringList queries;  // every query string received
    QStringList lookedUp; // decoded call signs of lookups, in order

private:
    void onReadyRead(QTcpSocket* socket);
    QByteArray answer(const QString& query);

    // Declared before the server: the server's sockets, destroyed with it,
    // still report their disconnection into this table.
    QHash<QTcpSocket*, QByteArray> pending;
    QList<QPair<QTcpSocket*, QByteArray>> held;
    QTcpServer server;
};
