#pragma once

#include <QString>

#include <functional>

// A part of an action that may fail on its own without undoing the rest: a fine taken
// in a dialog while a return is under way. Inside a running transaction it is a
// savepoint of that transaction; on its own it is a transaction of its own.
namespace Savepoint {
// Runs `work`; when it throws, everything it wrote is undone and the exception goes on
// to the caller, while what the surrounding action wrote before stays. Should the undo
// itself fail, its StoreError is thrown instead, so the surrounding action fails as a
// whole rather than keep half of the part.
void run(const QString& name, const std::function<void()>& work);
} // namespace Savepoint
