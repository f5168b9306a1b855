#pragma once

#include "data/money.h"

#include <QString>
#include <QStringList>

#include <optional>

// A card grade (`jykdjk`) with the rules the desk applies to its cards.
struct Grade {
    QString code;      // kdj
    QString cardName;  // km
    Money fee;         // gbf, the card fee
    Money maxAmount;   // yjje
    int loanDays = 0;  // jyqx
    int maxBooks = 0;  // yjsbs
    Money deposit;     // jsyj
    int renewals = 0;  // yxxjcs
    Money finePerDay;  // yqfkje
    int validDays = 0; // yxts
};

namespace Grades {
// The grade of this code, or nothing.
std::optional<Grade> find(const QString& code);
// Every grade code in code order.
QStringList codes();
} // namespace Grades
