#pragma once

#include <QDialog>

class ColumnsModel;
class QTableView;

// "国家标准明细分类码": the detailed national classes whose code or name contains the
// typed text. Enter or Esc closes it; the caller reads the selected row.
//
//   Tmxflfm list(typed, this);
//   if (list.count() > 1) list.exec();
//   if (list.count() > 0) box->setText(list.code());
class Tmxflfm : public QDialog {
    Q_OBJECT
public:
    explicit Tmxflfm(const QString& text, QWidget* parent = nullptr);

    int count() const;
    QString code() const; // mxflm of the selected row (the first until the operator moves)
    QString name() const; // mxflmc

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int currentRow() const;

    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
