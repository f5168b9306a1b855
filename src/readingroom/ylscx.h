#pragma once

#include <QWidget>

class DateBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QueryGridModel;
class QTableView;

// "阅览室查询": the issues out in the reading room and their readers.
class Tylscxfm : public QWidget {
    Q_OBJECT
public:
    explicit Tylscxfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 21;

private:
    void buildScreen();
    void queryClick();
    void clearClick();

    QLineEdit* m_name = nullptr;  // Edit1
    QComboBox* m_type = nullptr;  // ComboBox1
    QLineEdit* m_issue = nullptr; // Edit2
    QLineEdit* m_date = nullptr;  // Edit3
    DateBox* m_dateBox = nullptr;
    QLineEdit* m_mnemonic = nullptr;  // Edit4
    QLineEdit* m_publisher = nullptr; // Edit5
    QPushButton* m_query = nullptr;
    QTableView* m_grid = nullptr; // DBGrid1
    QueryGridModel* m_model = nullptr;
};
