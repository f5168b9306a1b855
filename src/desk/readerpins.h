#pragma once

#include <QDateTime>
#include <QString>

// Readers' PINs for the web catalogue. A card's first PIN is the last six characters of
// its identity number; a card without one gets its first PIN at the desk. A first PIN
// must be changed at the first sign-in. PINs are stored as Argon2id hashes in `dzmmk`.
// Five wrong PINs in a row lock the card for fifteen minutes.
//
// Every operation writes at once; call each inside one transaction.
namespace ReaderPins {

inline constexpr int maxFailures = 5;
inline constexpr int lockMinutes = 15;
inline constexpr int minimumLength = 6;

struct SignIn {
    enum class Kind {
        Accepted,   // the PIN is right
        MustChange, // the PIN is right and is a first PIN
        Wrong,      // wrong card number or PIN (the reader is not told which)
        Locked,     // too many wrong PINs; try again after lockedUntil
        NoPin,      // the card has no identity number and no PIN from the desk yet
        CardBarred, // the card is cancelled or reported lost
    } kind = Kind::Wrong;
    QDateTime lockedUntil; // UTC
};

// Checks a sign-in at `now` (UTC) and counts a wrong PIN against the card.
SignIn signIn(const QString& card, const QString& pin, const QDateTime& now);

// Whether the card can be used on the web at all: it exists, is valid and is not lost.
bool cardUsable(const QString& card);

// Sets a new PIN chosen by the reader. Refuses a PIN shorter than six characters, one
// that is the card's first PIN, and a wrong current PIN.
void change(const QString& card, const QString& currentPin, const QString& newPin);

// At the desk: the card's PIN goes back to a first PIN, unlocked. Returns the PIN to hand
// to the reader: the last six characters of the identity number, or, for a card without
// one, six random digits.
QString reset(const QString& card);

} // namespace ReaderPins
