#pragma once

#include <QDialog>

#include <optional>

class QSqlQueryModel;
class QTableView;

// "信息查询": the cards a number prefix matches, to choose one. Double-click, Enter in the
// list or "确定" takes the card under the cursor; Esc takes none.
class TFormjyxx : public QDialog {
    Q_OBJECT
public:
    TFormjyxx(const QString& prefix, QWidget* parent = nullptr);

    // Runs the list modally; the chosen card number, or nothing.
    static std::optional<QString> choose(const QString& prefix, QWidget* parent);

    QString current() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* m_grid = nullptr;
    QSqlQueryModel* m_model = nullptr;
};
