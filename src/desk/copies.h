#pragma once

#include <QString>

// Copies of a title: `bs` held, `jcs` out on loan.
namespace Copies {
// The copies of the title that are not on loan (bs - jcs, blank counting as 0);
// a barcode with no title has none.
int free(const QString& barcode);
} // namespace Copies
