#pragma once

#include <QString>

// The card number sequence (`jszxh`, one row): the number the next card gets and the
// card type. Card issue takes the number and advances it by one.
namespace CardSequence {
struct Next {
    QString number; // the next card number as stored (may be blank)
    QString type;   // `lx`
};

// The sequence has been set up: its row holds a number or a type.
bool ready();
// The stored row; both texts empty when there is none.
Next current();
// Stores a new start number and type (the numbering screen): refuses an empty number, one
// that is not all digits (card issue counts on from it) and one a reader's card already has.
void start(const QString& number, const QString& type);
// A reader's card already has this number.
bool isTaken(const QString& number);
// After a card was issued under `number`: the next card gets the number after it.
void advancePast(qint64 number);
// A card number is a decimal integer of at most twelve digits.
bool numberValue(const QString& text, qint64* value);
} // namespace CardSequence
