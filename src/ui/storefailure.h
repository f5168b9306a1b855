#pragma once

#include <QString>

class StoreError;

// What the operator is told about a store error that ended an action.
namespace StoreFailure {
// A lock another desk or program held past the busy timeout is explained in words first;
// the engine's own text always follows (the log and any support call need it).
QString explain(const StoreError& error);
bool isLock(const StoreError& error);
} // namespace StoreFailure
