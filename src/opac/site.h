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

    WebResponse home(Session* s);
    WebResponse search(const WebFields& f, Session* s);
    WebResponse advanced(Session* s);
    WebResponse browse(Session* s);
    WebResponse title(const WebFields& f, Session* s);
    WebResponse newest(Session* s);
    WebResponse help(Session* s);
    WebResponse signInForm(const QString& error, const QString& card);
    WebResponse signIn(const WebRequest& request, const WebFields& f);
    WebResponse pinForm(Session* s, const QString& error);
    WebResponse changePin(Session* s, const WebFields& f);
    WebResponse myLibrary(Session* s);
    WebResponse history(Session* s);
    WebResponse renew(Session* s, const WebFields& f);
    WebResponse signOut(const QByteArray& id);

    WebResponse page(int status, const QString& title, const QString& body, Session* s);
    QDateTime now() const { return m_now(); }

    QHash<QByteArray, Session> m_sessions;
    QHash<QString, Address> m_addresses;
    std::function<QDateTime()> m_now;
};
