#include "catalogue/cataloguecommands.h"

#include "ui/windows.h"

const QList<Commands::Entry>& catalogueCommands()
{
    static const QList<Commands::Entry> table{};
    return table;
}
