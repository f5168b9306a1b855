#pragma once

#include "data/money.h"

#include <QDate>
#include <QList>
#include <QString>

// What a signed-in reader sees of the library: their own card and loans, and renewal
// through the returning desk's rule. Every read names the card, so no page can show
// another reader's data.
namespace Account {

struct OpenLoan {
    qint64 id = 0;
    QString barcode, title;
    QDate lent, due;
    int renewals = 0;
    int daysOverdue = 0;
    Money fine; // owed so far, as the desk would compute it today
    bool renewedOnWeb = false;
};

struct PastLoan {
    QString barcode, title;
    QDate lent, returned;
};

struct Card {
    QString number, name, grade, cardType;
    QDate issued, validUntil;
    Money deposit;
    int onLoan = 0, maxBooks = 0, loanDays = 0, renewalsAllowed = 0;
};

Card card(const QString& number);
QList<OpenLoan> openLoans(const QString& card);
QList<PastLoan> history(const QString& card, int limit = 100);

// Renews the reader's own open loan in one transaction, through the returning desk's
// renewal. Refuses (Refused) a loan that is not the reader's, a card that can no longer
// be used, a loan that owes an overdue fine (the reader pays at the desk) and a loan at
// its grade's renewal limit. Returns the new due date; the renewal is marked as the web's.
QDate renew(const QString& card, qint64 loanId);

} // namespace Account
