#pragma once

#include <QWidget>

class DateBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "阅览登记": lends an issue of a periodical to a card holder for reading in the
// reading room, and takes it back.
class Tdyfydjfm : public QWidget {
    Q_OBJECT
public:
    explicit Tdyfydjfm(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void lookUpPeriodical();
    bool lookUpCard();
    void showPhoto(const QString& path);
    void lendClick();
    void returnClick();

    QComboBox* m_type = nullptr;     // ComboBox1
    QLineEdit* m_mnemonic = nullptr; // Edit7
    QPushButton* m_find = nullptr;   // the mnemonic box's ">>>"
    QLineEdit* m_name = nullptr;     // Edit1
    QLineEdit* m_issue = nullptr;    // Edit2
    QLineEdit* m_date = nullptr;     // Edit3
    DateBox* m_dateBox = nullptr;
    QLineEdit* m_publisher = nullptr;  // Edit6
    QLineEdit* m_card = nullptr;       // Edit4
    QLineEdit* m_readerName = nullptr; // Edit5
    QLabel* m_photo = nullptr;         // Image1
    QPushButton* m_lend = nullptr;
    QString m_cardLookedUp; // the card whose reader the name and photo boxes show
};
