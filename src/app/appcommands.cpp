#include "app/appcommands.h"

#include "app/cshlc.h"
#include "app/passw.h"
#include "app/support.h"
#include "app/xtbf.h"
#include "app/xtcsh.h"
#include "app/yhgl.h"
#include "app/yhsqgl.h"
#include "cards/cardscommands.h"
#include "catalogue/cataloguecommands.h"
#include "circulation/circulationcommands.h"
#include "data/session.h"
#include "finance/financecommands.h"
#include "readingroom/readingroomcommands.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/windows.h"

#include <QWidget>

namespace {
void openOperatorManagement(QWidget* parent)
{
    // Administrators manage every operator; others may only change their own password.
    const char* screen = Session::current().isAdministrator() ? "Tyhglfm" : "Tpasswordfm";
    Commands::open(screen, parent);
}

// Only an administrator reaches the list of all operators, however the screen is asked for.
void openOperators(QWidget* parent)
{
    if (Session::current().isAdministrator())
        Windows::runModal(new Tyhglfm(parent));
    else
        Windows::runModal(new Tpasswordfm(parent));
}

void quit(QWidget* parent)
{
    if (parent)
        parent->window()->close();
}
} // namespace

const QList<Commands::Entry>& AppCommands::table()
{
    constexpr bool everyone = false; // the help menu is there for every operator
    static const QList<Commands::Entry> entries{
        {"N4", [](QWidget* parent) { Windows::runModal(new Taboutfm(parent)); }, 0, everyone},
        {"N2", [](QWidget* parent) { Help::showContents(parent); }, 0, everyone},
        {"N22", [](QWidget* parent) { Windows::runModal(new TFormzxbz(parent)); }, 0, everyone},
        {"N5", quit, 0, everyone},
        {"ydjhcx", openOperatorManagement},
        {"jhzd", [](QWidget*) { Windows::showOrActivate<TFormcshlc>(); }},
        {"N13", [](QWidget* parent) { Windows::runModal(new Tyhsqglfm(parent)); },
         Tyhsqglfm::helpContext},
        {"N20", [](QWidget* parent) { Windows::runModal(new TFormxtbf(parent)); }},
        {"N15", [](QWidget* parent) { Windows::runModal(new TFormxtcsh(parent)); }},
        // Screens that operator management opens by the operator's grade.
        {"Tyhglfm", openOperators, Tyhglfm::helpContext, false},
        {"Tpasswordfm", [](QWidget* parent) { Windows::runModal(new Tpasswordfm(parent)); }, 0,
         false},
    };
    return entries;
}

void AppCommands::registerAll()
{
    for (const auto* table : {&AppCommands::table(), &cardsCommands(), &financeCommands(),
                              &catalogueCommands(), &circulationCommands(), &readingroomCommands()})
        Commands::add(*table);
}
