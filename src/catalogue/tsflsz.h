#pragma once

#include <QDialog>

class ColumnsModel;
class QLineEdit;
class QPushButton;
class QTableView;

// "图书分类设置": the classification pairs and their tree, the only place that writes
// either. Save adds a pair (and the nodes its codes lack); Delete removes one (and the
// nodes no pair uses any more).
class TFormtsflsz : public QDialog {
    Q_OBJECT
public:
    explicit TFormtsflsz(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload();
    void clearClick();
    void saveClick();
    void deleteClick();
    void queryClick();

    QList<QLineEdit*> m_boxes; // Edit1..Edit4
    QPushButton* m_save = nullptr;
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
