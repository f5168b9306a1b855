#pragma once

#include "ui/commands.h"

// The commands of the card folder: grades, numbering, card issue, card management.
const QList<Commands::Entry>& cardsCommands();
