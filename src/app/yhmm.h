#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// "操作员密码": asks for an operator's new password twice.
class TFormyhmm : public QDialog {
    Q_OBJECT
public:
    explicit TFormyhmm(QWidget* parent = nullptr);

    // Shows the dialog for the operator named `name`; the password accepted, or empty.
    static QString ask(QWidget* parent, const QString& name);

    QString result() const { return m_result; }

private:
    void okClick();

    QLabel* m_operator = nullptr;  // lts
    QLineEdit* m_first = nullptr;  // Edit1
    QLineEdit* m_second = nullptr; // Edit2
    QString m_result;
};
