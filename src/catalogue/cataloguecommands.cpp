#include "catalogue/cataloguecommands.h"

#include "catalogue/ljmbsz.h"
#include "catalogue/tsbm.h"
#include "ui/windows.h"

const QList<Commands::Entry>& catalogueCommands()
{
    static const QList<Commands::Entry> table{
        {"tsbm", [](QWidget*) { Windows::showOrActivate<Ttsbmfm>(); }, Ttsbmfm::helpContext},
        {"ljmb", [](QWidget* parent) { Windows::runModal(new Tljmbszfm(parent)); },
         Tljmbszfm::helpContext},
    };
    return table;
}
