#pragma once

#include <functional>

class QWidget;

// Runs one operator action in one transaction. A store error (or any other failure)
// rolls the whole action back, is written to the log and shown to the operator;
// the program carries on. Returns true when the action completed and was committed.
//
// A screen that stops an action after its own validation message simply returns
// from the lambda; to undo what it wrote it throws ActionCancelled.
struct ActionCancelled {};

namespace Action {
bool run(QWidget* parent, const std::function<void()>& work);
}
