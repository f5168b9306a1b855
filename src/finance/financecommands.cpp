#include "finance/financecommands.h"

#include "finance/cwcx.h"
#include "ui/commands.h"
#include "ui/windows.h"

void registerFinanceCommands()
{
    Commands::add("cwcx", [](QWidget*) { Windows::showOrActivate<Tcwcxfm>(); });
}
