#pragma once

#include <QString>

// A book's state code (tszk.tszt) in words, as the book lists show it.
// Any other code reads as blank.
namespace BookState {
QString word(const QString& code);
}

// After the copies held (bs) or on loan (jcs) of a title change: a title that is not
// on loan ("W") or on loan ("C") is "C" exactly when every copy is out (jcs >= bs).
// Lost ("D") and disposed-of ("L") titles keep their state. Throws StoreError.
namespace BookState {
void settle(const QString& barcode);
}
