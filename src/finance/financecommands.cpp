#include "finance/financecommands.h"

#include "finance/cwcx.h"
#include "ui/windows.h"

const QList<Commands::Entry>& financeCommands()
{
    static const QList<Commands::Entry> table{
        {"cwcx", [](QWidget*) { Windows::showOrActivate<Tcwcxfm>(); }, Tcwcxfm::helpContext},
    };
    return table;
}
