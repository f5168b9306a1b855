#pragma once

#include "desk/loans.h"

#include <QWidget>

#include <optional>

class QueryGridModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// "读者借书登记": the lending desk. A card is typed or scanned (or picked), the reader and
// the open loans show; a book is typed, scanned or picked, the limit and a free copy are
// checked; Save lends it and keeps the card for the next book.
class Tdzjsdjfm : public QWidget {
    Q_OBJECT
public:
    explicit Tdzjsdjfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 7;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void cardEntry(bool allCards);
    void bookEntry(bool allBooks);
    void save();
    void showReader(const Reader& reader);
    void clearReader();
    void clearBook();
    void loadOpenLoans();
    void showDetails();
    void cardEdited(const QString& text);
    void barcodeEdited();

    QLineEdit* m_card = nullptr;    // Edit1
    QLineEdit* m_name = nullptr;    // Edit4
    QLineEdit* m_grade = nullptr;   // Edit6
    QLineEdit* m_allowed = nullptr; // Edit7
    QLineEdit* m_barcode = nullptr; // Edit2
    QLineEdit* m_price = nullptr;   // Edit3
    QLineEdit* m_title = nullptr;   // Edit5
    QLabel* m_photo = nullptr;      // Image1
    QTableView* m_loans = nullptr;  // DBGrid1
    QueryGridModel* m_loanModel = nullptr;
    QPushButton* m_save = nullptr;     // BitBtn1
    QPushButton* m_close = nullptr;    // BitBtn2
    QPushButton* m_help = nullptr;     // BitBtn3
    QPushButton* m_cardList = nullptr; // BitBtn4
    QPushButton* m_bookList = nullptr; // BitBtn5

    std::optional<Reader> m_reader; // the card that card entry accepted
    std::optional<LoanBook> m_book; // the book that book entry accepted
    bool m_inBookEntry = false;
};
