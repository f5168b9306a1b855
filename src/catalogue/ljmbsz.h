#pragma once

#include "desk/z3950.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;
class QueryGridModel;

// "联机检索目标设置": the union catalogues that "联机检索" searches (host, port, database,
// record syntax, character set, enabled). None is set up when the program is delivered.
class Tljmbszfm : public QDialog {
    Q_OBJECT
public:
    explicit Tljmbszfm(QWidget* parent = nullptr);
    static constexpr int helpContext = 42;

private:
    void reload(qint64 current = 0);
    void showRow();
    void newClick();
    void saveClick();
    void deleteClick();

    QLineEdit* m_name = nullptr;     // Edit1
    QLineEdit* m_host = nullptr;     // Edit2
    QLineEdit* m_port = nullptr;     // Edit3
    QLineEdit* m_database = nullptr; // Edit4
    QComboBox* m_syntax = nullptr;   // ComboBox1
    QComboBox* m_charset = nullptr;  // ComboBox2
    QCheckBox* m_enabled = nullptr;  // CheckBox1
    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    qint64 m_current = 0; // the target in the boxes; 0 for a new one
};
