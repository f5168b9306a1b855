#pragma once

#include "circulation/finebills.h"

#include <QDialog>

class QLineEdit;

// "读者损坏罚款": the fine for a book returned damaged, opened by the returning screen
// inside the return. Each confirm books the amount typed; the dialog stays open until
// the operator closes it.
class Tdzshfkfm : public QDialog {
    Q_OBJECT
public:
    // The reader and the barcode of the loan being returned, for the bill.
    Tdzshfkfm(const QString& readerName, const QString& barcode, QWidget* parent = nullptr);

    // The bills to print once the return has been committed, one per booked amount.
    QList<FineBills::Bill> bills() const { return m_bills; }

private:
    void buildScreen();
    void confirmClick();

    QString m_readerName;
    QString m_loanBarcode;
    QLineEdit* m_amount = nullptr; // Edit1
    QList<FineBills::Bill> m_bills;
};
