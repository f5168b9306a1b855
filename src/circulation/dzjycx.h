#pragma once

#include "desk/loanqueries.h"

#include <QWidget>

class QTableView;
class QueryGridModel;

// "读者借阅查询": loans past and open with reader and title, sorted by a click on a column
// title, narrowed through the condition dialog; a book's details on double-click or Enter.
class Tdzjycxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tdzjycxfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 18;

    // The menu command: the screen brought to the front (or opened) and maximised.
    static Tdzjycxfm* open();
    // The fine dialog's look-up: the card's open loans whose barcode begins with `prefix`,
    // in a narrow window without the returning columns, with the barcode column beside
    // the card number to read the full barcodes.
    static Tdzjycxfm* openMatching(const QString& card, const QString& prefix);

    int rowCount() const;
    // The condition dialog has handed a query over since the screen opened.
    bool conditionsUsed() const { return m_conditionsUsed; }

private:
    void show(const LoanSelection& selection);
    void showColumns(bool narrowed); // the fine dialog's columns, or the screen's own
    void conditionsClick();
    void sortBy(int section);
    void showDetails();

    QTableView* m_grid = nullptr; // DBGrid1
    QueryGridModel* m_model = nullptr;
    LoanSelection m_selection = LoanSelection::all(); // what sorting re-orders
    bool m_conditionsUsed = false;
    bool m_narrowed = false; // opened by the fine dialog's look-up
};
