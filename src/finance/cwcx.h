#pragma once

#include "desk/ledgerselection.h"

#include <QWidget>

class DateBox;
class QLineEdit;
class QPushButton;
class QueryGridModel;
class QTableView;

// "财务查询": the ledger of a day or a range of days with its income and expenditure
// totals, printed as the finance report or exported to a spreadsheet.
class Tcwcxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tcwcxfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 25;
    // The export lists every row of the range, zero amounts included.
    static constexpr const char* exportStatement =
        "select fsrq as 日期,srje as 收入金额,zcje as 支出金额,szyy as 备注 from cwk WHERE "
        "fsrq>=:rq1 and fsrq<=:rq2 order by fsrq";

    bool isPrintable() const { return m_printable; }

private:
    void buildScreen();
    void FormShow();
    void queryClick();
    void printClick();
    void exportClick();
    void closeQuery();
    void checkRange();
    bool readDate(QLineEdit* box, QDate* date);

    QLineEdit* m_from = nullptr; // Edit1
    QLineEdit* m_to = nullptr;   // Edit2
    DateBox* m_fromBox = nullptr;
    DateBox* m_toBox = nullptr;
    QLineEdit* m_income = nullptr;      // Edit3
    QLineEdit* m_expenditure = nullptr; // Edit4
    QPushButton* m_query = nullptr;
    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    LedgerSelection m_listed; // what the last query listed, for the report
    bool m_printable = false; // a query has listed rows since the screen opened
};
