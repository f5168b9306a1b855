#pragma once

#include "desk/ask.h"

#include <functional>

class QWidget;

// Runs one operator action in one transaction. A store error (or any other failure)
// rolls the whole action back, is written to the log and shown to the operator;
// the program carries on. Returns true when the action completed and was committed.
//
// A desk operation that refuses throws Refused: the action is rolled back, its notice
// is shown and the box it names (a child of `parent` by objectName) gets the focus.
// ActionCancelled rolls back without a word.
namespace Action {
bool run(QWidget* parent, const std::function<void()>& work);
// The screen's way of answering an operation's question: the message seam.
Ask askWith(QWidget* parent);
} // namespace Action
