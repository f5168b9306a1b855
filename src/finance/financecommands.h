#pragma once

// Registers the finance commands ("cwcx").
void registerFinanceCommands();
