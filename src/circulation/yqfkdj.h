#pragma once

#include "circulation/finebills.h"
#include "desk/fines.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "读者逾期罚款登记": takes one overdue fine. The returning screen opens it for an overdue
// loan with the fine worked out; from the menu it starts empty and the operator enters
// the card and the book.
class Tyqfkdjfm : public QDialog {
    Q_OBJECT
public:
    explicit Tyqfkdjfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 9;

    // Opened inside the returning screen's action for this loan: the boxes are filled and
    // the bill waits until the return or renewal has been committed.
    void offer(const QString& card, const QString& grade, const QString& barcode, int days,
               const QString& amount);

    // What the operator did: confirmed (with the amount), declined, or found today's fine.
    Fines::OverdueOutcome outcome() const { return m_outcome; }
    // The bill to print once the action has been committed (inside a return only).
    QList<FineBills::Bill> bills() const { return m_bills; }

private:
    void buildScreen();
    bool cardEntry();
    bool barcodeEntry();
    void confirmClick();

    QLineEdit* m_card = nullptr;    // Edit1
    QLineEdit* m_grade = nullptr;   // Edit2
    QLineEdit* m_barcode = nullptr; // Edit4
    QLineEdit* m_amount = nullptr;  // Edit3
    QPushButton* m_confirm = nullptr;
    bool m_inAction = false;
    int m_days = 0;
    Fines::OverdueOutcome m_outcome;
    QList<FineBills::Bill> m_bills;
};
