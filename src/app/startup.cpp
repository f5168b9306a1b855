#include "app/startup.h"

#include "app/login.h"
#include "app/mainwindow.h"
#include "app/rightsgate.h"
#include "data/database.h"
#include "data/log.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/desks.h"
#include "ui/messages.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

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

namespace {
// This desk is in the library from login to exit, so that restore and initialisation on
// another desk know about it; its row is refreshed while it runs.
void enterLibrary(Tmainfm* window, const QString& operatorName)
{
    try {
        Desks::enter(operatorName);
    } catch (const StoreError& e) {
        Log::write("start-up: could not enter the desk list: " + e.message());
    }
    auto* timer = new QTimer(window);
    QObject::connect(timer, &QTimer::timeout, window, [] {
        try {
            Desks::refresh();
        } catch (const StoreError& e) {
            Log::write("desk list: " + e.message());
        } catch (const LibraryReplaced&) {
            Log::write("desk list: the library was replaced; entering the new one");
            if (Database::open())
                Desks::refresh();
        }
    });
    timer->start(Desks::refreshSeconds * 1000);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
        try {
            Desks::leave();
        } catch (...) {
        }
    });
}
} // namespace

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
        enterLibrary(window, session.name);
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
