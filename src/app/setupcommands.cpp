#include "app/setupcommands.h"

#include "app/cshlc.h"
#include "ui/commands.h"
#include "ui/windows.h"

void registerSetupCommands()
{
    Commands::add("jhzd", [](QWidget*) { Windows::showOrActivate<TFormcshlc>(); });
}
