#pragma once

#include "opac/web.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <functional>

// The readers' catalogue as pages: turns one request into one response. Holds the
// signed-in readers' sessions and the sign-in throttle per address. Runs on the thread
// that owns the library's connection.
class Site {
public:
    static constexpr int sessionMinutes = 30;
    static constexpr int maxKeyword = 100;     // characters of a search term
    static constexpr int addressFailures = 10; // failed sign-ins before an address is slowed

    Site();
    WebResponse handle(const WebRequest& request);

    // The catalogue's own pages (search, titles, new titles, classes) need no session but
    // its form token: the server renders them on worker threads, each with its own
    // read-only connection, while the sessions stay on the server's thread.
    static bool isCatalogueRead(const WebRequest& request);
    QString formTokenFor(const WebRequest& request);
    WebResponse handleCatalogueRead(const WebRequest& request, const QString& formToken) const;

    // Tests move time on.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

private:
    struct Session {
        QString card;
        QString formToken;
        QDateTime expires;
        bool mustChange = false;
        QString flash; // a note shown once on the next page
    };
    struct Address {
        int failures = 0;
        QDateTime lastFailure;
        QDateTime blockedUntil;
    };

    WebResponse route(const WebRequest& request, Session* session, const QByteArray& sessionId);
    Session* sessionOf(const WebRequest& request, QByteArray* id);

    WebResponse guarded(const WebRequest& request, const std::function<WebResponse()>& work) const;
    WebResponse badRequest(Session* s) const;
    WebResponse home(Session* s) const;
    WebResponse search(const WebFields& f, Session* s) const;
    WebResponse advanced(Session* s) const;
    WebResponse browse(Session* s) const;
    WebResponse title(const WebFields& f, Session* s) const;
    WebResponse newest(Session* s) const;
    WebResponse help(Session* s) const;
    WebResponse signInForm(const QString& error, const QString& card);
    WebResponse signIn(const WebRequest& request, const WebFields& f);
    WebResponse pinForm(Session* s, const QString& error);
    WebResponse changePin(Session* s, const WebFields& f);
    WebResponse myLibrary(Session* s);
    WebResponse history(Session* s);
    WebResponse renew(Session* s, const WebFields& f);
    WebResponse signOut(const QByteArray& id);

    WebResponse page(int status, const QString& title, const QString& body, Session* s) const;
    QDateTime now() const { return m_now(); }

    QHash<QByteArray, Session> m_sessions;
    QHash<QString, Address> m_addresses;
    std::function<QDateTime()> m_now;
};
