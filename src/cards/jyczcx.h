#pragma once

#include <QWidget>

class DateBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QueryGridModel;

// "充值查询": the top-up register by card number prefix, exact name and top-up dates,
// with the total of the listed amounts; the whole register exports to a spreadsheet.
class TFormjyczcx : public QWidget {
    Q_OBJECT
public:
    explicit TFormjyczcx(QWidget* parent = nullptr);

private:
    void buildScreen();
    void queryClick();
    void exportClick();
    bool readDate(QLineEdit* box, QDate* date);

    QLineEdit* m_number = nullptr; // Edit1
    QLineEdit* m_name = nullptr;   // Edit2
    QLineEdit* m_from = nullptr;   // Edit3
    QLineEdit* m_to = nullptr;     // Edit4
    QPushButton* m_query = nullptr;
    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    QLabel* m_total = nullptr;
};
