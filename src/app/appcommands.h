#pragma once

class QWidget;

// The commands of the application shell: help, support, exit, operator management
// by grade, and card issue behind its numbering check.
namespace AppCommands {
void registerAll(); // the shell's own commands and every screen library's
} // namespace AppCommands
