#pragma once

#include <QDialog>

class ColumnsModel;
class QTableView;

// "图书室信息": the rooms by number, shown for reference while cataloguing. Enter, Esc
// and the pop-up items close it.
//
//   Ttssxxfm rooms(this);
//   if (rooms.isEmpty()) { ...no room yet... } else { rooms.exec();
//   box->setText(rooms.firstNumber()); }
class Ttssxxfm : public QDialog {
    Q_OBJECT
public:
    explicit Ttssxxfm(QWidget* parent = nullptr);

    bool isEmpty() const;
    QString firstNumber() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};
