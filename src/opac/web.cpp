#include "opac/web.h"

#include <QStringDecoder>

namespace {
int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes one form component ('+' is a space); false on a broken escape or bad UTF-8.
bool decode(const QByteArray& in, QString* out)
{
    QByteArray bytes;
    bytes.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in.at(i);
        if (c == '+') {
            bytes.append(' ');
        } else if (c == '%') {
            if (i + 2 >= in.size())
                return false;
            const int high = hexDigit(in.at(i + 1));
            const int low = hexDigit(in.at(i + 2));
            if (high < 0 || low < 0)
                return false;
            bytes.append(char(high * 16 + low));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    // Stateless: a sequence cut off at the end is an error, not a wait for more bytes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *out = utf8.decode(bytes);
    return !utf8.hasError();
}
} // namespace

WebResponse WebResponse::redirect(const QString& to)
{
    WebResponse r;
    r.status = 303;
    r.addHeader("Location", to.toUtf8());
    return r;
}

WebFields WebFields::parse(const QByteArray& encoded)
{
    WebFields fields;
    for (const QByteArray& pair : encoded.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        QString name;
        QString value;
        if (!decode(eq < 0 ? pair : pair.left(eq), &name) ||
            !decode(eq < 0 ? QByteArray() : pair.mid(eq + 1), &value)) {
            fields.m_valid = false;
            fields.m_values.clear();
            return fields;
        }
        if (!fields.m_values.contains(name))
            fields.m_values.insert(name, value);
    }
    return fields;
}

QMap<QByteArray, QByteArray> parseCookies(const QByteArray& header)
{
    QMap<QByteArray, QByteArray> cookies;
    for (const QByteArray& part : header.split(';')) {
        const QByteArray item = part.trimmed();
        const qsizetype eq = item.indexOf('=');
        if (eq > 0)
            cookies.insert(item.left(eq), item.mid(eq + 1));
    }
    return cookies;
}
