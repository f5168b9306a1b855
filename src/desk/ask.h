#pragma once

#include <QString>

#include <functional>

// A desk operation that must ask the operator something on the way (a question with
// Yes/No) is handed the asking as a function: the screen passes its message seam,
// tests and the benchmark pass a fixed answer.
using Ask = std::function<bool(const QString& caption, const QString& text)>;

// Thrown by an operation (or a screen's action) that stops without a notice, for
// instance after the operator answered No: Action::run rolls back quietly.
struct ActionCancelled {};
