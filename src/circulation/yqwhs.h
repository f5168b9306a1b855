#pragma once

#include <QWidget>

class QLineEdit;
class QTableView;
class QueryGridModel;

// "读者逾期未还书查询": the open loans whose due date has passed, for one card-number prefix
// or all cards, and their export to a spreadsheet.
class TFormyqwhs : public QWidget {
    Q_OBJECT
public:
    explicit TFormyqwhs(QWidget* parent = nullptr);

    int rowCount() const;

private:
    void queryClick();
    void exportClick();

    QLineEdit* m_card = nullptr;  // Edit1
    QTableView* m_grid = nullptr; // DBGrid1
    QueryGridModel* m_model = nullptr;
};
