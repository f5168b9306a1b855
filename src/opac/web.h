#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// One request as the catalogue's pages see it, independent of the HTTP library: the
// server turns what arrives into this, and tests build it directly.
struct WebRequest {
    QByteArray method = "GET";
    QString path = "/";
    QByteArray rawQuery; // percent-encoded, as sent
    QByteArray body;     // a form's fields, percent-encoded
    QMap<QByteArray, QByteArray> cookies;
    QHostAddress remote = QHostAddress::LocalHost;
};

struct WebResponse {
    int status = 200;
    QByteArray contentType = "text/html; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    void addHeader(const QByteArray& name, const QByteArray& value)
    {
        headers.append({name, value});
    }
    static WebResponse redirect(const QString& to);
};

// Form and query fields. Percent-decoding is strict: a '%' not followed by two hex digits,
// or bytes that are not UTF-8, make the whole field list invalid (answered 400).
class WebFields {
public:
    static WebFields parse(const QByteArray& encoded);
    bool valid() const { return m_valid; }
    QString value(const QString& name) const { return m_values.value(name); }
    bool has(const QString& name) const { return m_values.contains(name); }

private:
    QMap<QString, QString> m_values; // first value of each name
    bool m_valid = true;
};

// Cookie header: "a=1; b=2".
QMap<QByteArray, QByteArray> parseCookies(const QByteArray& header);
