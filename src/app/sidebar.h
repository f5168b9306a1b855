#pragma once

#include <QToolBox>
#include <functional>

// The side bar: headers that each open a list of large icon buttons. A button
// stands for a menu entry; what happens on a click is decided by the main window.
class SideBar : public QToolBox {
    Q_OBJECT
public:
    explicit SideBar(QWidget* parent = nullptr);

signals:
    void buttonClicked(const QString& key, const QString& refusal);
};
