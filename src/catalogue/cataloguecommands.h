#pragma once

#include "ui/commands.h"

// The commands of cataloguing, classification, book queries, the tree search, rooms, publishers and
// disposal.
const QList<Commands::Entry>& catalogueCommands();
