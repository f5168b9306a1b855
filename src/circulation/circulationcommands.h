#pragma once

#include "ui/commands.h"

// The commands of lending, returns, fines, loan queries and shelving.
const QList<Commands::Entry>& circulationCommands();
