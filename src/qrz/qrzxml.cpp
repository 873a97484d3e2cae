#include "qrz/qrzxml.h"

#include <QXmlStreamReader>

namespace Qrz
{
Document readDocument(const QByteArray& body)
{
    Document document;
    // A NUL is not allowed anywhere in XML and would end the reading there,
    // yet QRZ lets one slip into a text now and then: drop them (in UTF-8 a
    // zero byte is always a NUL; UTF-16 with its byte-order mark is left alone).
    QByteArray bytes = body.left(maxAnswerBytes);
    if (!bytes.startsWith("\xff\xfe") && !bytes.startsWith("\xfe\xff"))
        bytes.replace('\0', QByteArray());
    QXmlStreamReader reader(bytes);
    // Open elements: index into document.elements; only closed ones count.
    QList<qsizetype> open;
    QList<bool> closed;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            open.append(document.elements.size());
            document.elements.append({reader.name().toString(), QString()});
            closed.append(false);
        } else if (token == QXmlStreamReader::Characters && !open.isEmpty()) {
            document.elements[open.last()].text += reader.text();
        } else if (token == QXmlStreamReader::EndElement && !open.isEmpty()) {
            closed[open.takeLast()] = true;
        }
    }
    document.complete = !reader.hasError();
    if (!document.complete) {
        QList<Element> kept;
        for (qsizetype i = 0; i < document.elements.size(); ++i)
            if (closed.at(i))
                kept.append(document.elements.at(i));
        document.elements = kept;
    }
    return document;
}

Result readResult(const Document& document)
{
    Result result;
    for (const Element& element : document.elements) {
        const QString& name = element.name;
        const QString& text = element.text;
        if (name == "call")
            result.call = text.toUpper();
        else if (name == "fname")
            result.firstName = removeNULLs(camelCase(text.section(' ', 0, 0)));
        else if (name == "name")
            result.lastName = removeNULLs(camelCase(text));
        else if (name == "class")
            result.license = licenseClass(text);
        else if (name == "addr2")
            result.city = removeNULLs(camelCase(text));
        else if (name == "state")
            result.state = removeNULLs(text.toUpper());
        else if (name == "lat")
            result.lat = removeNULLs(text);
        else if (name == "lon")
            result.lon = removeNULLs(text);
        else if (name == "grid")
            result.grid = removeNULLs(text);
        else if (name == "county")
            result.county = removeNULLs(text);
        else if (name == "country")
            result.country = removeNULLs(text);
        else if (name == "dxcc")
            result.dxcc = removeNULLs(text);
        else if (name == "born")
            result.born = removeNULLs(text);
        else if (name == "expdate")
            result.expire = removeNULLs(text);
        else if (name == "Key") {
            result.key = text;
            result.hasKey = true;
        } else if (name == "Count")
            result.count = text;
        else if (name == "Error")
            result.error = removeNULLs(text);
    }
    return result;
}

namespace
{
QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

QUrl fromText(const QString& text)
{
    return QUrl::fromEncoded(text.toUtf8(), QUrl::TolerantMode);
}
} // namespace

QUrl loginUrl(const QString& endpoint, const QString& user, const QString& password)
{
    return fromText(endpoint + "?username=" + encoded(user) + "&password=" + encoded(password));
}

QUrl lookupUrl(const QString& endpoint, const QString& sessionKey, const QString& call)
{
    return fromText(endpoint + "?s=" + encoded(sessionKey) +
                    ";callsign=" + encoded(call.toUpper()));
}

QString camelCase(const QString& str)
{
    if (str.isEmpty())
        return QString();
    QStringList words = str.split(' ', Qt::KeepEmptyParts);
    for (QString& word : words)
        if (!word.isEmpty())
            word = word.left(1).toUpper() + word.mid(1).toLower();
    return words.join(' ');
}

QString removeNULLs(const QString& str)
{
    QString clean = str;
    clean.remove(QChar(0));
    return clean;
}

QString licenseClass(const QString& code)
{
    const QString upper = code.toUpper();
    if (upper == "E")
        return "Extra";
    if (upper == "A")
        return "Advanced";
    if (upper == "G")
        return "General";
    if (upper == "T")
        return "Technician";
    if (upper == "P")
        return "Technician+";
    if (upper == "N")
        return "Novice";
    if (upper == "C")
        return "Club";
    return QString();
}

QString subscriptionExpiry(const QString& subExp)
{
    if (subExp == "non-subscriber")
        return "Unsubscribed";
    if (subExp.size() < 18)
        return subExp;
    return subExp.mid(4, subExp.size() - 18) + ", " + subExp.right(4);
}
} // namespace Qrz
