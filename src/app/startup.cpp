#include "app/startup.h"

#include "app/login.h"
#include "app/mainwindow.h"
#include "app/rightsgate.h"
#include "data/database.h"
#include "data/log.h"
#include "data/session.h"
#include "data/sql.h"
#include "ui/messages.h"

#include <QApplication>
#include <QFile>

bool Startup::connectStore(Tmainfm* window)
{
    QString reason;
    if (Database::open(&reason)) {
        const QString recovered = Database::takeRecoveryNote();
        if (!recovered.isEmpty())
            Messages::notice(window, "提示", recovered);
        return true;
    }
    Log::write("start-up: cannot connect the database: " + reason);
    Messages::plain(window, "1error\n" + reason);
    return false;
}

Startup::Outcome Startup::run(Tmainfm* window)
{
    Outcome outcome;
    outcome.connected = connectStore(window);
    {
        Tloginfm login(window);
        login.exec();
        outcome.quit = login.quitRequested();
    }
    if (outcome.quit)
        return outcome;
    const OperatorSession& session = Session::current();
    if (session.loggedIn()) {
        outcome.loggedIn = true;
        try {
            RightsGate::loadGrants(window, session.loginCode);
        } catch (const StoreError& e) {
            // The window stays open with whatever was granted so far.
            Log::write("start-up: loading grants failed: " + e.message());
        }
    }
    QApplication::restoreOverrideCursor();
    return outcome;
}

void Startup::applyTheme(int number)
{
    QFile sheet(QString(":/themes/theme%1.qss").arg(number));
    if (sheet.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
}
