#include "app/rightsgate.h"

#include "data/session.h"
#include "data/sql.h"

#include <QAction>
#include <QWidget>

void RightsGate::setVisibility(QWidget* mainWindow, const QString& key, bool visible)
{
    for (QAction* action : mainWindow->findChildren<QAction*>()) {
        if (action->objectName() == key) {
            action->setVisible(visible);
            action->setEnabled(visible);
        }
    }
}

int RightsGate::loadGrants(QWidget* mainWindow, const QString& loginCode)
{
    Sql grants("select * from usergrantk where (loginuser=:tj)");
    grants.bind(loginCode).exec();
    int rows = 0;
    QSet<QString>& held = Session::current().grants;
    held.clear();
    while (grants.next()) {
        held.insert(grants.text("funename"));
        setVisibility(mainWindow, grants.text("funename"), true);
        ++rows;
    }
    return rows;
}

bool RightsGate::isGranted(QWidget* mainWindow, const QString& key)
{
    for (QAction* action : mainWindow->findChildren<QAction*>()) {
        if (action->objectName() == key)
            return action->isVisible() && action->isEnabled();
    }
    return false;
}
