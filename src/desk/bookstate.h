#pragma once

#include <QString>

// A book's state code (tszk.tszt) in words, as the book lists show it.
// Any other code reads as blank.
namespace BookState {
QString word(const QString& code);
}
