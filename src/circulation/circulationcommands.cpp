#include "circulation/circulationcommands.h"

#include "circulation/dzjsdj.h"
#include "ui/windows.h"

const QList<Commands::Entry>& circulationCommands()
{
    static const QList<Commands::Entry> table{
        {"dzjsdj", [](QWidget*) { Windows::showOrActivate<Tdzjsdjfm>(); }, Tdzjsdjfm::helpContext},
    };
    return table;
}
