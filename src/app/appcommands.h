#pragma once

#include "ui/commands.h"

// The commands of the application shell (help, support, exit, operator management by
// grade, the setup flow), and the registration of every folder's command table.
namespace AppCommands {
const QList<Commands::Entry>& table();
void registerAll(); // the shell's own commands and every screen folder's
} // namespace AppCommands
