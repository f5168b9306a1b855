#pragma once

#include <QDate>

// A large library written by the store itself, for the desk's benchmarks: grade "A"
// (30 days, 5 books), `titles` titles T1… of two copies, `cards` cards K100001… and
// `closedLoans` returned loans spread over them; each card holds two open loans of its
// own titles (T1, T2 for the first card…), the first due ten days before `today`, the
// second nineteen days after it.
namespace BigLibrary {
void build(int cards, int titles, int closedLoans, const QDate& today);
QString cardNumber(int index); // 0-based: "K100001"…
} // namespace BigLibrary
