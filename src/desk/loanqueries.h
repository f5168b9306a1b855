#pragma once

#include "desk/loans.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The loan query and the overdue list: read-only looks into the loan table, joined with
// the title and the card. Every typed condition is bound as a parameter.

// What the condition dialog was filled with; empty texts and invalid dates are not used.
struct LoanConditions {
    QString card;    // the exact card number
    QString name;    // the reader's name begins with it
    QString title;   // the title contains it
    QString barcode; // the barcode contains it
    QString damaged; // "Y" or "N"
    QDate lentFrom;  // loan date bounds, inclusive
    QDate lentTo;
    QDate returnFrom; // return date bounds (an open loan's due date), inclusive
    QDate returnTo;
    QString lender;   // the lending operator's name
    QString returner; // the returning operator's name
};

// The rows of the loan query screen: all loans, or those meeting the conditions, in a
// chosen order. Columns Kno, Dzm, Tsmc, Txm, Jsrq, Jsjsr, Hsrq, Hsjsr, Sfsh, Xjcs.
class LoanSelection {
public:
    // Every loan whose book and card still exist, in the store's order.
    static LoanSelection all();
    // The loans meeting the conditions, ordered by card number.
    static LoanSelection matching(const LoanConditions& conditions);
    // The fine dialog's look-up: the card's open loans whose barcode begins with `prefix`.
    static LoanSelection openLoansOf(const QString& card, const QString& prefix);

    // The same loans ordered by one of the listed columns (Kno, Dzm, Tsmc, Jsrq, Jsjsr,
    // Hsrq, Hsjsr, Sfsh, Xjcs); an unknown column keeps the order.
    LoanSelection sortedBy(const QString& column) const;

    Listing listing() const;

private:
    void add(const QString& condition, const QVariant& value);

    QString m_where; // " and …" conditions, each with one parameter
    QVariantList m_values;
    QString m_order;
};

namespace LoanQueries {
// The operators the condition dialog offers: every account but "SA", in the store's order.
QStringList operatorNames();

// Refuses conditions the dialog must not hand over: a damage flag other than "Y" or "N",
// an operator name no account (but "SA") has. Refusals name the box to correct
// (ComboBox1, ComboBox2, ComboBox3).
void check(const LoanConditions& conditions);

// Open loans due before `today` of the cards whose number begins with `cardPrefix` (all
// cards when it is empty), ordered by card number.
Listing overdue(const QString& cardPrefix, const QDate& today);
// The same loans for the spreadsheet, ordered by due date, the aliases as headings.
Listing overdueExport(const QString& cardPrefix, const QDate& today);
} // namespace LoanQueries
