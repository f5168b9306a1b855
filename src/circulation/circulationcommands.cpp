#include "circulation/circulationcommands.h"

#include "ui/windows.h"

const QList<Commands::Entry>& circulationCommands()
{
    static const QList<Commands::Entry> table{};
    return table;
}
