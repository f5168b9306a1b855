#pragma once

#include "data/money.h"

#include <QDate>
#include <QString>
#include <QVariantList>

// Lending a book: the card at the desk, the book on the counter, and the loan written
// when both pass. The lending screen calls these inside Action::run; the returning
// screen and the fine dialog use the card look-up and the open-loan list too.

// The card that card entry accepted.
struct Reader {
    QString number;    // kno
    QString name;      // dzm
    QString grade;     // kdj
    QString cardType;  // km
    QString photoPath; // strpath, may be empty
    QDate validUntil;  // yxrq
    int maxBooks = 0;  // yjsbs of the grade and card type
};

// The book that book entry accepted.
struct LoanBook {
    QString barcode; // txm
    QString title;   // tsmc
    Money price;     // tsjg
    bool hasPrice = false;
};

// A written loan.
struct Loan {
    qint64 id = 0; // iid
    QDate lent;    // jsrq
    QDate due;     // hsrq
};

// What a look-up by prefix or fragment found: nothing, exactly one row (named here),
// or several (the screen lets the operator pick).
struct Match {
    enum Kind { None, One, Several };
    Kind kind = None;
    QString key; // the card number or barcode of the one row
};

// A statement with its values, for a list the screen shows lazily.
struct Listing {
    QString statement;
    QVariantList values;
};

namespace Loans {
// --- card entry ---
// Valid cards (sfyx "Y") whose number begins with `prefix` (case-sensitive). Refuses an
// empty prefix and a prefix that matches no valid card.
Match findCards(const QString& prefix);
// Every valid card (the card list button); refuses when there is none.
Match findAllCards();
// The valid cards behind findCards / findAllCards, in card-number order, for the picker.
Listing validCards(const QString& prefix); // a null prefix lists them all
// Accepts the card: refuses a card reported lost and a card whose grade and card type
// have no grade row. The card itself may be one the picker offered whatever its validity.
Reader acceptCard(const QString& number);

// --- the card's open loans ---
// Columns Kno, txm, tsmc, jsrq: the card's loans not yet returned whose title still exists.
Listing openLoans(const QString& cardNumber);
int openLoanCount(const QString& cardNumber);

// --- book entry ---
// Titles whose barcode begins with `text` (case-sensitive) or whose title contains it;
// refuses when there is none.
Match findBooks(const QString& text);
// Every title (the book list button); refuses an empty catalogue.
Match findAllBooks();
// The titles behind findBooks, for the book picker. A null text lists every title.
Listing matchingBooks(const QString& text);
// How the operator reached the book: typed (or scanned) as the only match, or picked
// from a list. The two ways word their notices differently and the limit refusal of a
// picked book sends the operator back to the card.
enum class Route { Typed, Picked };
// The limit of the reader's grade and a free copy of the title; refuses otherwise.
LoanBook acceptBook(const Reader& reader, const QString& barcode, Route route);

// --- Save ---
// Lends the title to the card: refuses an expired card, a title the card holds already
// or returned today and a grade without a loan period; then writes the loan (due today
// plus the loan period), counts it on the card and the title and settles the title's
// state, all together or not at all.
Loan lend(const QString& cardNumber, const QString& barcode);

// The title fragment index (a trigram index over `tszk.tsmc`) is present in this database.
bool hasTitleIndex();
} // namespace Loans
