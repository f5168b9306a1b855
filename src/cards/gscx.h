#pragma once

#include <QWidget>

class QComboBox;
class QueryGridModel;
class QLineEdit;
class QTableView;

// "挂失查询": the lost-card register by card number prefix, exact name and lost flag.
class TFormgscx : public QWidget {
    Q_OBJECT
public:
    explicit TFormgscx(QWidget* parent = nullptr);

private:
    void buildScreen();
    void queryClick();

    QLineEdit* m_number = nullptr; // Edit1
    QLineEdit* m_name = nullptr;   // Edit2
    QComboBox* m_status = nullptr; // ComboBox1
    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
};
