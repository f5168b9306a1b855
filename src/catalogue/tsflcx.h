#pragma once

#include <QDialog>

class ColumnsModel;
class QComboBox;
class QLabel;
class QTableView;

// "图书分类查询": the classification pairs of a first-level code (all pairs when the
// code is empty), in code order, printed as the classification report.
class TFormtsflcx : public QDialog {
    Q_OBJECT
public:
    explicit TFormtsflcx(QWidget* parent = nullptr);

private:
    void codeChanged(const QString& code);
    void queryClick();
    void printClick();

    QComboBox* m_code = nullptr; // ComboBox1
    QLabel* m_name = nullptr;    // lts
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
    QString m_listedCode;
    bool m_open = false;
};
