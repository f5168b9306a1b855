#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

// "图书上架登记管理": the shelf number of a newly catalogued book. Scan the barcode,
// pick or type the shelf and press Enter.
class Txssjfm : public QWidget {
    Q_OBJECT
public:
    explicit Txssjfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 29;

private:
    void buildScreen();
    void lookUp();
    void save();

    QLineEdit* m_barcode = nullptr; // Edit1
    QLineEdit* m_title = nullptr;   // Edit2
    QComboBox* m_shelf = nullptr;   // ComboBox1
    QString m_found;                // barcode of the book looked up, shown in the boxes
};
