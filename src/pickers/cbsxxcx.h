#pragma once

#include <QDialog>

class ColumnsModel;
class QLineEdit;
class QTableView;

// "出版社信息查询": the periodicals register's publisher look-up. Typing lists the
// publishers whose name begins with the text; "删除" deletes the selected one at once.
// "确定", Enter or a double-click in the grid answer with the selected row; "返回" backs out.
//
//   TFormcbsxxcx query(this);
//   query.exec();
//   if (query.confirmed()) box->setText(query.name());
class TFormcbsxxcx : public QDialog {
    Q_OBJECT
public:
    explicit TFormcbsxxcx(QWidget* parent = nullptr);

    bool confirmed() const { return result() == QDialog::Accepted; }
    // The selected row; empty when nothing is listed.
    QString name() const;
    QString mnemonic() const;
    qint64 iid() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void list(const QString& prefix); // empty: every publisher
    void textChanged(const QString& text);
    void queryClick();
    void deleteClick();
    int currentRow() const;

    QLineEdit* m_text = nullptr; // Edit1
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
