#pragma once

#include "data/money.h"

#include <QDate>
#include <QString>
#include <QVariantList>

// The ledger rows the finance query lists: one day, or every day of a range, leaving out
// rows whose amounts are both zero or blank, in date order.
class LedgerSelection {
public:
    LedgerSelection() = default;
    // Without a valid `to` the selection is the single day `from`.
    explicit LedgerSelection(QDate from, QDate to = QDate()) : m_from(from), m_to(to) {}

    bool isRange() const { return m_to.isValid(); }
    QString statement() const; // every column of the listed rows
    QVariantList values() const;

    struct Totals {
        Money income;
        Money expenditure;
    };
    Totals totals() const; // over the listed rows; throws StoreError

private:
    QString condition() const;

    QDate m_from;
    QDate m_to;
};
