#include "readingroom/readingroomcommands.h"

#include "readingroom/dyfydj.h"
#include "readingroom/ylscx.h"
#include "readingroom/zzqk.h"
#include "ui/windows.h"

const QList<Commands::Entry>& readingroomCommands()
{
    static const QList<Commands::Entry> table{
        {"zzqk", [](QWidget*) { Windows::showOrActivate<Tzzqkfm>(); }, Tzzqkfm::helpContext},
        {"dyfydj", [](QWidget*) { Windows::showOrActivate<Tdyfydjfm>(); }},
        {"ylscx", [](QWidget*) { Windows::showOrActivate<Tylscxfm>(); }, Tylscxfm::helpContext},
    };
    return table;
}
