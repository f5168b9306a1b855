#pragma once

#include "opac/site.h"

#include <QHostAddress>
#include <QObject>
#include <QThreadPool>

class QHttpServer;

// The catalogue on the network: Qt's HTTP server hands every request to the Site.
class OpacServer : public QObject {
    Q_OBJECT
public:
    explicit OpacServer(QObject* parent = nullptr);
    ~OpacServer() override; // waits for the searches under way
    // Listens on the address and port; returns the port (0 on failure).
    quint16 listen(const QHostAddress& address, quint16 port);
    Site& site() { return m_site; }

private:
    QHttpServer* m_server;
    Site m_site;
    QThreadPool m_pool;
};

// "ADDR:PORT", "PORT" or "[v6]:PORT"; false when it is not one of those.
bool parseListen(const QString& text, QHostAddress* address, quint16* port);
