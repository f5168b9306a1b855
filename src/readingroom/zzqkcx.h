#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QueryGridModel;
class QTableView;

// "杂志查询信息": the register by type, mnemonic and publisher prefix, and the whole
// register exported to a spreadsheet.
class TFormzzqkcx : public QDialog {
    Q_OBJECT
public:
    explicit TFormzzqkcx(QWidget* parent = nullptr);

    int rowCount() const;

private:
    void queryClick();
    void exportClick();

    QComboBox* m_type = nullptr;      // ComboBox1
    QLineEdit* m_mnemonic = nullptr;  // Edit1
    QLineEdit* m_publisher = nullptr; // Edit2
    QTableView* m_grid = nullptr;     // DBGrid1
    QueryGridModel* m_model = nullptr;
};
