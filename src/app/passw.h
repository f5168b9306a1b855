#pragma once

#include <QDialog>

class QLineEdit;

// "口令修改": the logged-in operator changes his own password.
class Tpasswordfm : public QDialog {
    Q_OBJECT
public:
    explicit Tpasswordfm(QWidget* parent = nullptr);

private:
    void okClick();

    QLineEdit* m_old = nullptr;     // Edit1
    QLineEdit* m_new = nullptr;     // Edit2
    QLineEdit* m_confirm = nullptr; // Edit3
    class QPushButton* m_ok = nullptr;
};
