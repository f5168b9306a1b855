#pragma once

#include "desk/disposal.h"

#include <QWidget>

class DateBox;
class QLineEdit;
class QTableView;
class QueryGridModel;

// "旧书处理查询": the disposals of a day or a range of days, by barcode, title or
// mnemonic, printed as the disposal report.
class Tjsclcxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tjsclcxfm(QWidget* parent = nullptr);

    bool isPrintable() const { return m_printable; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildScreen();
    void checkRange();
    void queryClick();
    void requeryClick();
    void printClick();

    QLineEdit* m_from = nullptr; // Edit1
    QLineEdit* m_to = nullptr;   // Edit2
    QLineEdit* m_text = nullptr; // Edit3
    DateBox* m_fromBox = nullptr;
    DateBox* m_toBox = nullptr;
    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    Disposal::Selection m_listed;
    bool m_printable = false;
};
