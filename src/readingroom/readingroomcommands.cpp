#include "readingroom/readingroomcommands.h"

#include "ui/windows.h"

const QList<Commands::Entry>& readingroomCommands()
{
    static const QList<Commands::Entry> table{};
    return table;
}
