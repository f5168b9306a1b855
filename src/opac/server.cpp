#include "opac/server.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>

namespace {
QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    case QHttpServerRequest::Method::Options:
        return "OPTIONS";
    case QHttpServerRequest::Method::Patch:
        return "PATCH";
    case QHttpServerRequest::Method::Connect:
        return "CONNECT";
    case QHttpServerRequest::Method::Trace:
        return "TRACE";
    default:
        return "UNKNOWN";
    }
}

WebRequest webRequest(const QHttpServerRequest& request)
{
    WebRequest r;
    r.method = methodName(request.method());
    r.path = request.url().path();
    r.rawQuery = request.url().query(QUrl::FullyEncoded).toLatin1();
    r.body = request.body();
    r.cookies = parseCookies(request.value("Cookie"));
    r.remote = request.remoteAddress();
    return r;
}
} // namespace

OpacServer::OpacServer(QObject* parent) : QObject(parent), m_server(new QHttpServer(this))
{
    // Every request goes to the Site, which answers unknown paths and methods itself.
    m_server->setMissingHandler(
        [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
            const WebRequest web = webRequest(request);
            const WebResponse answer = m_site.handle(web);
            QHttpServerResponse response(answer.contentType,
                                         web.method == "HEAD" ? QByteArray() : answer.body,
                                         QHttpServerResponse::StatusCode(answer.status));
            for (const auto& [name, value] : answer.headers)
                response.addHeader(name, value);
            response.write(std::move(responder));
        });
}

OpacServer::~OpacServer() = default;

quint16 OpacServer::listen(const QHostAddress& address, quint16 port)
{
    return m_server->listen(address, port);
}

bool parseListen(const QString& text, QHostAddress* address, quint16* port)
{
    const qsizetype colon = text.lastIndexOf(':');
    QString host = colon < 0 ? QString("127.0.0.1") : text.left(colon);
    const QString portText = colon < 0 ? text : text.mid(colon + 1);
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint number = portText.toUInt(&ok);
    if (!ok || number > 65535 || !address->setAddress(host))
        return false;
    *port = quint16(number);
    return true;
}
