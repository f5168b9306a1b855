#pragma once

#include "circulation/finebills.h"
#include "data/money.h"
#include "desk/returns.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QueryGridModel;

// "读者还书登记": the returning desk. A card is typed or scanned (or picked), its open
// loans are listed; the operator selects a loan and returns or renews it. Overdue days
// are fined on the way and the fines confirmed here add up in the status bar.
class Tdzhsdjfm : public QWidget {
    Q_OBJECT
public:
    explicit Tdzhsdjfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 8;

    // The running total of the overdue fines confirmed since the screen opened.
    Money fineTotal() const { return m_total; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void cardEntry(bool allCards);
    void cardEdited(const QString& text);
    void loadLoans(const QString& card);
    void returnClick();
    void renewClick();
    // The loan of the current list row, or 0 (with the reason shown) when there is none.
    qint64 currentLoan();
    Returns::FineDesk fineDesk(QList<FineBills::Bill>* bills);
    void showTotal();
    void resetDamage();
    void showDetails();
    QVariant loanValue(int row, const QString& column) const;

    QLineEdit* m_card = nullptr;   // Edit1
    QLineEdit* m_name = nullptr;   // Edit4
    QLineEdit* m_grade = nullptr;  // Edit6
    QLineEdit* m_loanId = nullptr; // Edit2, hidden: the current row's loan
    QTableView* m_loans = nullptr; // DBGrid1
    QueryGridModel* m_loanModel = nullptr;
    QComboBox* m_damage = nullptr;     // ComboBox1
    QCheckBox* m_print = nullptr;      // cb1
    QPushButton* m_return = nullptr;   // BitBtn1
    QPushButton* m_renew = nullptr;    // BitBtn4
    QPushButton* m_cardList = nullptr; // BitBtn5
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QString m_listedCard;
    Money m_total;
};
