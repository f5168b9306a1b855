#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QueryGridModel;
class QTableView;

// "用户管理": the administrator's list of operators with add, edit, delete and
// set-password. The password itself is never shown.
class Tyhglfm : public QDialog {
    Q_OBJECT
public:
    explicit Tyhglfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 26;
    enum class State { Browsing, Adding, Editing };
    State state() const { return m_state; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void reload(const QString& select = QString());
    void showCurrent();
    QString currentCode() const;
    void setEditing(State state);

    void addClick();
    void editClick();
    void cancelClick();
    void deleteClick();
    void saveClick();
    void passwordClick();

    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    QLineEdit* m_code = nullptr;  // DBEdit1
    QLineEdit* m_name = nullptr;  // DBEdit3
    QComboBox* m_grade = nullptr; // DBComboBox1
    QPushButton* m_save = nullptr;
    State m_state = State::Browsing;
    QString m_editedCode; // the row being edited, as stored
};
