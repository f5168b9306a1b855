#pragma once

#include <QString>

// Turns the desk's statements into statements the store runs unchanged in meaning:
// - double-quoted literals ("Y") are string literals;
// - ":name" parameters (also ": name", "like:txm", ":3tj") become positional "?";
// - blank and null are one value: a comparison with the empty literal becomes an
//   IS [NOT] NULL test, and an empty literal written by insert or update stores null.
// Typed text never reaches this layer: it is always bound as a parameter.
namespace Dialect {
struct Translated {
    QString sql;
    int parameterCount = 0;
};

Translated translate(const QString& statement);

// A text as a safe single-quoted literal, for the few places (model filters) where
// the store takes no parameters.
QString quoteLiteral(const QString& text);
} // namespace Dialect
