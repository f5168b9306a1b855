#pragma once

#include <QByteArray>
#include <QString>

// Building the catalogue's pages. Every text that came from a reader or from the store
// goes through escape() before it is part of a page.
namespace Html {
QString escape(const QString& text);
// A query-string component (for links that carry a search).
QString urlPart(const QString& text);

// A whole page: head, the site's bar, the body. A signed-in reader's bar carries the
// sign-out form with the session's form token; an empty token means nobody is signed in.
QByteArray page(const QString& title, const QString& body, const QString& formToken);
// The hidden field that carries the form token.
QString tokenField(const QString& formToken);

// The style sheet served at /style.css.
QByteArray styleSheet();
} // namespace Html
