#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

// The desk's book information query: which books the library holds, in which room,
// with how many copies and how many on loan. Every condition is an exact match on the
// typed text (bound, never pasted into the statement); an empty condition is left out.
// Only books stored in a known room are found.
struct BookSearchConditions {
    QString barcode;   // txm
    QString room;      // a room's name or number
    QString author;    // zz
    QString series;    // xlm
    QString title;     // tsmc
    QString publisher; // cbsmc
    QDate published;   // cbsj; invalid: no condition
    QString language;  // yz
    QString className; // flmc
};

struct BookSearchStatement {
    QString text;
    QVariantList values;
};

namespace BookSearch {
inline constexpr const char* baseStatement =
    "select tszk.*,tssxxk.tssmc from tssxxk,tszk where tszk.scddbh=tssxxk.tssbh";

BookSearchStatement statement(const BookSearchConditions& conditions);
} // namespace BookSearch
