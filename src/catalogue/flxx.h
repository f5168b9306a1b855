#pragma once

#include <QDialog>

class ColumnsModel;
class QTableView;

// "图书分类代码": chooses one of the second-level classes whose code begins with the
// typed text. "确定", Enter or a double-click take the selected row (exec() returns
// Accepted); "返回" backs out.
//
//   TFormflxx chooser(typed, this);
//   if (chooser.count() == 1 || (chooser.count() > 1 && chooser.exec() == QDialog::Accepted))
//       { codeBox->setText(chooser.code()); nameBox->setText(chooser.name()); }
class TFormflxx : public QDialog {
    Q_OBJECT
public:
    explicit TFormflxx(const QString& typedCode, QWidget* parent = nullptr);

    int count() const;
    QString code() const; // mxldm of the selected row (the first until the operator moves)
    QString name() const; // mxlmc

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int currentRow() const;

    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
