#pragma once

#include "desk/loanqueries.h"

#include <QDialog>

class DateBox;
class QComboBox;
class QLineEdit;

// "读者借还图书查询条件": the loan query's conditions. OK hands over the loans meeting the
// filled conditions; Cancel, Esc and the window's close button hand over all loans.
class Tjhcxtjfm : public QDialog {
    Q_OBJECT
public:
    explicit Tjhcxtjfm(QWidget* parent = nullptr);

    // Runs the dialog and answers with what the loan query shows next.
    static LoanSelection ask(QWidget* parent);

    LoanSelection selection() const { return m_selection; }

private:
    void okClick();
    bool readDates(LoanConditions* conditions);
    void checkRange(DateBox* from, DateBox* to);

    QLineEdit* m_card = nullptr;     // Edit1
    QLineEdit* m_name = nullptr;     // Edit2
    QLineEdit* m_title = nullptr;    // Edit3
    QLineEdit* m_barcode = nullptr;  // Edit4
    QComboBox* m_damaged = nullptr;  // ComboBox1
    DateBox* m_lentFrom = nullptr;   // Edit5
    DateBox* m_lentTo = nullptr;     // Edit6
    QComboBox* m_lender = nullptr;   // ComboBox2
    QComboBox* m_returner = nullptr; // ComboBox3
    DateBox* m_returnFrom = nullptr; // Edit9
    DateBox* m_returnTo = nullptr;   // Edit10
    LoanSelection m_selection = LoanSelection::matching({});
};
