#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

// "初始化编号": sets the number the next issued card receives (`jszxh`) and the card
// type of the cards numbered from it.
class Tbhcshfm : public QDialog {
    Q_OBJECT
public:
    explicit Tbhcshfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 16;

public slots:
    void reject() override; // closing by any means refuses a number already in use

private:
    void buildScreen();
    void FormShow();
    void okClick();

    QLineEdit* m_number = nullptr; // Edit1
    QRadioButton* m_icCard = nullptr;
    QRadioButton* m_libraryCard = nullptr;
};
