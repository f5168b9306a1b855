#include "opac/server.h"

#include <QFutureWatcher>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QPointer>
#include <QTcpSocket>
#include <QtConcurrent>

#include <memory>

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

void send(const WebResponse& answer, bool head, QHttpServerResponder&& responder)
{
    QHttpServerResponse response(answer.contentType, head ? QByteArray() : answer.body,
                                 QHttpServerResponse::StatusCode(answer.status));
    for (const auto& [name, value] : answer.headers)
        response.addHeader(name, value);
    response.write(std::move(responder));
}
} // namespace

OpacServer::OpacServer(QObject* parent) : QObject(parent), m_server(new QHttpServer(this))
{
    // Worker threads keep their read-only connections for the life of the server.
    m_pool.setExpiryTimeout(-1);
    m_pool.setMaxThreadCount(qMax(2, QThread::idealThreadCount()));
    // Every request goes to the Site, which answers unknown paths and methods itself.
    m_server->setMissingHandler(
        [this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
            const WebRequest web = webRequest(request);
            const bool head = web.method == "HEAD";
            if (!Site::isCatalogueRead(web)) {
                send(m_site.handle(web), head, std::move(responder));
                return;
            }
            // Searches run on the pool, so a slow one does not hold up the readers' pages and
            // both processor cores serve; the answer is written back on this thread.
            const QString formToken = m_site.formTokenFor(web);
            auto pending = std::make_shared<QHttpServerResponder>(std::move(responder));
            QPointer<QTcpSocket> socket = pending->socket();
            auto* watcher = new QFutureWatcher<WebResponse>(this);
            connect(watcher, &QFutureWatcher<WebResponse>::finished, this,
                    [watcher, pending, socket, head] {
                        if (socket) // the reader may have gone meanwhile
                            send(watcher->result(), head, std::move(*pending));
                        watcher->deleteLater();
                    });
            watcher->setFuture(QtConcurrent::run(&m_pool, [this, web, formToken] {
                return m_site.handleCatalogueRead(web, formToken);
            }));
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
