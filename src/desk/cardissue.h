#pragma once

#include "data/money.h"
#include "desk/ask.h"
#include "desk/grades.h"

#include <QString>

// Issuing a library card: what the operator typed on the card-issue screen, as typed.
struct CardApplication {
    QString number;     // Edit7, from the sequence or edited
    QString cardType;   // lx of the sequence
    QString grade;      // ComboBox1
    QString name;       // Edit1
    QString identity;   // Edit2, up to 18 characters
    QString deposit;    // Edit3
    QString telephone;  // Edit4
    QString address;    // Edit5
    QString workUnit;   // Edit6
    QString validUntil; // Edit8
    QString topUp;      // Edit9
    QString photoPath;  // the photograph taken for this reader, or empty
};

struct IssuedCard {
    qint64 number = 0;
    qint64 nextNumber = 0;
    Grade grade;
    Money deposit;
};

namespace CardIssue {
// Checks the application in the desk's order and writes everything the issue writes:
// the card, the lost-card register row, the deposit, first top-up and fee in the ledger,
// the top-up register and the next number. Call inside one action (Action::run); refuses
// with Refused (naming the box to correct), stops quietly with ActionCancelled when the
// grade is empty or the operator declines to issue without a top-up.
IssuedCard issue(const CardApplication& application, const Ask& ask);
} // namespace CardIssue
