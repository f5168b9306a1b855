#pragma once

#include <QStringList>

// Emptying the library's working data: cards, loans, fines, books, periodicals, the
// ledger, grades and numbering. Operators, rights, rooms, publishers, the classification
// and the photograph counter stay; the detailed classification goes back to the delivered
// list. All tables are emptied or none: call it inside one
// action (Action::run); a table that cannot be emptied fails the whole action.
namespace Initialisation {
const QStringList& clearedTables(); // in the order they are emptied
void clearAll();
} // namespace Initialisation
