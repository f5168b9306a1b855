#include "circulation/circulationcommands.h"

#include "circulation/xssj.h"
#include "ui/windows.h"

const QList<Commands::Entry>& circulationCommands()
{
    static const QList<Commands::Entry> table{
        {"xssj", [](QWidget*) { Windows::showOrActivate<Txssjfm>(); }, Txssjfm::helpContext},
    };
    return table;
}
