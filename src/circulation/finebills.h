#pragma once

#include <QList>
#include <QString>

class QWidget;

// The fine bills ("罚款单") of the lending desk. Whether they are printed follows the
// returning screen's checkbox "打印罚款单" as last set (off until that screen opens).
// A bill is printed only once what it shows has been committed: the fine dialogs collect
// their bills, and the action that ran them prints them after it has committed.
namespace FineBills {
void setPrintFlag(bool print);
bool printFlag();

struct Bill {
    enum class Kind { Overdue, Damage } kind = Kind::Overdue;
    QString readerName;
    QString barcode;
    int daysOverdue = 0; // overdue bills
    QString amount;      // the amount box text
};

// Prints each bill straight to the default printer; an overdue bill first tells the
// operator "该读者的逾期罚款单已送打印！".
void print(const QList<Bill>& bills, QWidget* parent);
} // namespace FineBills
