#pragma once

#include "ui/commands.h"

// The commands of the periodicals register and reading-room lending.
const QList<Commands::Entry>& readingroomCommands();
