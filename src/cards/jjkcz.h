#pragma once

#include <QWidget>

class DateBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "充值管理": extends a card's validity to a new date, usually against a payment that is
// booked in the top-up register and the ledger.
class TFormjjkcz : public QWidget {
    Q_OBJECT
public:
    explicit TFormjjkcz(QWidget* parent = nullptr);
    ~TFormjjkcz() override;

    // The card the boxes show, or empty.
    QString lookedUp() const { return m_lookedUp; }
    int validDays() const { return m_validDays; }

private:
    void buildScreen();
    void lookUp();
    void focusChanged(QWidget* from, QWidget* to);
    void topUpClick();
    void printClick();

    QLineEdit* m_number = nullptr;     // Edit7
    QLabel* m_photo = nullptr;         // Image1
    QLineEdit* m_grade = nullptr;      // Edit9
    QLineEdit* m_name = nullptr;       // Edit1
    QLineEdit* m_identity = nullptr;   // Edit2
    QLineEdit* m_deposit = nullptr;    // Edit3
    QLineEdit* m_oldValid = nullptr;   // Edit11
    QLineEdit* m_telephone = nullptr;  // Edit4
    QLineEdit* m_address = nullptr;    // Edit5
    QLineEdit* m_workUnit = nullptr;   // Edit6
    QLineEdit* m_validUntil = nullptr; // Edit8
    QLineEdit* m_amount = nullptr;     // Edit10
    DateBox* m_validUntilBox = nullptr;
    QCheckBox* m_printPhoto = nullptr;
    QPushButton* m_topUp = nullptr;
    QString m_lookedUp;
    QString m_photoPath;
    int m_validDays = 0;
};
