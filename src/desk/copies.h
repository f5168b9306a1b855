#pragma once

#include <QString>

// Copies of a title: `bs` held, `jcs` out on loan, and the state that follows from them.
namespace Copies {
// After any change of `jcs` or `bs`: a title that is "W" or "C" becomes "C" exactly when
// every copy is out (jcs >= bs) and "W" otherwise. Lost ("D") and disposed-of ("L")
// titles, and titles in any other state, are left as they are.
void settleState(const QString& barcode);
// The copies of the title that are not on loan (bs - jcs, blank counting as 0);
// a barcode with no title has none.
int free(const QString& barcode);
} // namespace Copies
