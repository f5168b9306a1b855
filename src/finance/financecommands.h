#pragma once

#include "ui/commands.h"

// The finance commands ("cwcx").
const QList<Commands::Entry>& financeCommands();
