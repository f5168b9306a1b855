#pragma once

#include <QMainWindow>

class QMdiArea;
class SideBar;

// The main window: the menu of commands, the frame area holding the child screens,
// and the side bar. Menu entries start hidden until the operator's grants show them.
class Tmainfm : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmainfm(QWidget* parent = nullptr);
    ~Tmainfm() override;

    QMdiArea* frameArea() const { return m_area; }
    SideBar* sideBar() const { return m_sideBar; }

    // Runs the command of a menu key as the menu does.
    void runCommand(const QString& key);
    // A side-bar button: runs its command when its own menu entry is granted,
    // otherwise shows the refusal.
    void runSideBarButton(const QString& key, const QString& refusal);

private:
    void buildMenus();

    QMdiArea* m_area;
    SideBar* m_sideBar;
};
