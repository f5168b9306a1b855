#pragma once

#include "desk/lostcards.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The report-lost and withdraw screens share this layout: card number, identity number,
// the reader's name found in the lost-card register, OK and Cancel.
class LostCardScreen : public QWidget {
    Q_OBJECT
public:
    LostCardScreen(LostCards::Change change, QWidget* parent);

private:
    void buildScreen();
    bool lookUp(); // false when the two numbers do not belong together
    void okClick();

    LostCards::Change m_change;
    QLineEdit* m_number = nullptr;   // Edit1
    QLineEdit* m_identity = nullptr; // Edit2
    QLineEdit* m_name = nullptr;     // Edit3
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// "挂失信息": reports a card lost.
class TFormgs : public LostCardScreen {
    Q_OBJECT
public:
    explicit TFormgs(QWidget* parent = nullptr);
};
