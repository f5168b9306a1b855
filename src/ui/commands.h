#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every menu command key (the grant key, e.g. "blxk") maps to what it opens.
// Each screen library registers its commands in one function that start-up calls;
// the main window and the side bar open commands only through here.
namespace Commands {
using Opener = std::function<void(QWidget* parent)>;

void add(const QString& key, Opener opener);
bool has(const QString& key);
// Runs the command; false when no screen is registered for the key.
bool open(const QString& key, QWidget* parent);
void clear(); // tests
} // namespace Commands
