#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
struct CardRecord;

// "注销借书证": cancels a card whose reader gives it up and pays the deposit (or the amount
// the operator decides) back. A lost card or one with books out is not cancelled.
class Tkpgsfm : public QWidget {
    Q_OBJECT
public:
    explicit Tkpgsfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 4;

    // The card the last search found, or empty.
    QString searched() const { return m_searched; }

private:
    void buildScreen();
    void searchClick();
    void cancelClick();
    bool leaveRefund(); // false when the refund is not an amount
    void showCard(const CardRecord* card);

    QLineEdit* m_number = nullptr;     // Edit1
    QLineEdit* m_name = nullptr;       // Edit2
    QLineEdit* m_refund = nullptr;     // Edit3
    QLineEdit* m_validUntil = nullptr; // Edit4
    QList<QLineEdit*> m_bound;         // Kdj, Sfzh, Bkrq, Yj, Tel, Dz
    QLabel* m_photo = nullptr;         // Image1
    QPushButton* m_search = nullptr;
    QString m_searched;
};
