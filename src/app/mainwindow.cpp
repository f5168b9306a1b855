#include "app/mainwindow.h"

#include "app/commandtable.h"
#include "app/rightsgate.h"
#include "app/sidebar.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPixmap>

Tmainfm::Tmainfm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Tmainfm");
    setWindowTitle(QString::fromUtf8("管理系统"));
    setWindowIcon(QIcon(":/images/app.png"));

    m_area = new QMdiArea(this);
    m_area->setObjectName("frameArea");
    // The background picture is tiled over the empty frame area.
    const QPixmap tile(":/images/background.png");
    if (!tile.isNull())
        m_area->setBackground(QBrush(tile));
    setCentralWidget(m_area);
    Windows::setFrameArea(m_area);

    m_sideBar = new SideBar;
    auto* dock = new QDockWidget(this);
    dock->setObjectName("sideBarDock");
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setTitleBarWidget(new QWidget(dock));
    dock->setWidget(m_sideBar);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    connect(m_sideBar, &SideBar::buttonClicked, this, &Tmainfm::runSideBarButton);

    buildMenus();
}

Tmainfm::~Tmainfm()
{
    if (Windows::frameArea() == m_area)
        Windows::setFrameArea(nullptr);
}

void Tmainfm::buildMenus()
{
    for (const MenuEntry& menu : CommandTable::menus()) {
        const QString menuKey = QString::fromUtf8(menu.key);
        QAction* top = nullptr;
        if (menu.items.isEmpty()) {
            // A top-level entry that is itself the command.
            top = menuBar()->addAction(QString::fromUtf8(menu.caption));
            connect(top, &QAction::triggered, this, [this, menuKey] { runCommand(menuKey); });
        } else {
            QMenu* sub = menuBar()->addMenu(QString::fromUtf8(menu.caption));
            sub->setObjectName(menuKey + "_menu");
            top = sub->menuAction();
            for (const MenuItemEntry& item : menu.items) {
                const QString key = QString::fromUtf8(item.key);
                QAction* action = sub->addAction(QString::fromUtf8(item.caption));
                action->setObjectName(key);
                if (item.shortcut) {
                    action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
                    action->setShortcutContext(Qt::ApplicationShortcut);
                }
                action->setVisible(item.startsVisible);
                action->setEnabled(item.startsVisible);
                connect(action, &QAction::triggered, this, [this, key] { runCommand(key); });
            }
        }
        top->setObjectName(menuKey);
        top->setVisible(menu.startsVisible);
        top->setEnabled(menu.startsVisible);
    }
}

void Tmainfm::runCommand(const QString& key)
{
    Commands::open(key, this);
}

void Tmainfm::runSideBarButton(const QString& key, const QString& refusal)
{
    Commands::open(key, this, refusal);
}
