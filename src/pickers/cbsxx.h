#pragma once

#include "desk/publishers.h"

#include <QDialog>

class ColumnsModel;
class QTableView;

// "出版社信息": cataloguing's publisher look-up. Lists the publishers whose name
// contains the typed text; Enter or Esc closes it and the caller takes the selected row;
// F8 or a double-click shows the publisher's details.
//
//   Tcbsxxfm list(typed, this);
//   if (list.isEmpty()) { ...ask whether to add a new publisher... }
//   else { list.exec(); box->setText(list.name()); }
class Tcbsxxfm : public QDialog {
    Q_OBJECT
public:
    explicit Tcbsxxfm(const QString& nameText, QWidget* parent = nullptr);

    bool isEmpty() const;
    // The selected row (the first one until the operator moves); empty when nothing is listed.
    QString name() const;
    qint64 selectedIid() const;

    void showDetails(); // "详细资料"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int currentRow() const;

    QTableView* m_grid = nullptr;
    ColumnsModel* m_model = nullptr;
};

// "出版社详细资料": one publisher's name, address, contacts and postcode, read-only.
class Tcbsxxzlfm : public QDialog {
    Q_OBJECT
public:
    explicit Tcbsxxzlfm(const Publisher& publisher, QWidget* parent = nullptr);
};
