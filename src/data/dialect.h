#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Turns the desk's statements into statements the store runs unchanged in meaning:
// - double-quoted literals ("Y") are string literals;
// - ":name" parameters (also ": name", "like:txm", ":3tj") become positional "?";
// - blank and null are one value: a comparison `col = ""` or `col = :p` with a blank
//   parameter matches a null and an empty stored text, `<>` the other rows; an empty
//   literal written by insert or update stores null. A comparison with a parameter that
//   is not blank stays `col = ?`, so it keeps using the column's index;
// - the columns that an insert or update writes are named for each parameter, so that
//   the text bound there can be kept to the column's width.
// Typed text never reaches this layer: it is always bound as a parameter.
namespace Dialect {
struct Translated {
    QString sql;
    int parameterCount = 0;  // the parameters written in the statement
    QList<int> placeholders; // for each "?" in sql, the parameter bound there
    QString table;           // the table an insert or update writes, else empty
    QStringList writes;      // for each parameter, the column it writes, else empty
};

// blankParameters[i]: parameter i will be bound to a blank (empty text or null).
Translated translate(const QString& statement, const QList<bool>& blankParameters = {});

// A text as a safe single-quoted literal, for the few places (model filters) where
// the store takes no parameters.
QString quoteLiteral(const QString& text);
} // namespace Dialect
