#pragma once

// Registers the setup-flow command ("jhzd").
void registerSetupCommands();
