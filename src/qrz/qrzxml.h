#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// The QRZ XML callsign service: request addresses and the reading of its
// answers. Nothing here touches a window or the network.
namespace Qrz
{
// One element of an answer: its local name and its own text.
struct Element {
    QString name;
    QString text;
};

// Every element of an answer in document order (by start tag), matched by
// local name whatever the namespace. `complete` is false when the body is
// not well-formed XML or ends before the document does; the elements closed
// before that point are still listed.
struct Document {
    QList<Element> elements;
    bool complete = false;
};

// Answers are a few kilobytes; anything past this many bytes is not read.
inline constexpr qsizetype maxAnswerBytes = 1024 * 1024;

Document readDocument(const QByteArray& body);

// What a callsign lookup answer tells about a station, already in the shape
// the windows and the log show it.
struct Result {
    QString call;
    QString firstName;
    QString lastName;
    QString license;
    QString city;
    QString state;
    QString lat;
    QString lon;
    QString grid;
    QString county;
    QString country;
    QString dxcc;
    QString born;
    QString expire;
    QString error;
    // Session part of the same answer; the has* flags tell whether the
    // element was there at all.
    QString key;
    bool hasKey = false;
    QString count;
};

Result readResult(const Document& document);

// Login and lookup addresses. `endpoint` ends in "/xml/current/"; every value
// is percent-encoded, so "&", "#", ";" or "+" in a password arrive intact.
QUrl loginUrl(const QString& endpoint, const QString& user, const QString& password);
QUrl lookupUrl(const QString& endpoint, const QString& sessionKey, const QString& call);

// Each space-separated word with a capital first letter and the rest in lower
// case; runs of spaces are kept.
QString camelCase(const QString& str);
QString removeNULLs(const QString& str);
// Licence class code ("E", "g", ...) to its name; "" for an unknown code.
QString licenseClass(const QString& code);
// QRZ sends the expiry as "Www Mmm dd hh:mm:ss yyyy"; the Station window shows
// "Mmm dd, yyyy". A non-subscriber gets "Unsubscribed"; a text too short for
// that layout is shown as it came.
QString subscriptionExpiry(const QString& subExp);
} // namespace Qrz
