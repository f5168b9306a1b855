#pragma once

#include <QString>
#include <functional>

class QDialog;
class QMdiArea;
class QWidget;

// How screens open. Child screens live inside the main window's frame area, one
// instance per screen class: opening one again brings the open one to the front.
// Modal screens are created, run and destroyed.
namespace Windows {
void setFrameArea(QMdiArea* area); // set by the main window; null in most tests
QMdiArea* frameArea();

// Shows the open instance of the class, or creates one with `create` and shows it.
// Without a frame area (tests) the screen is shown as a top-level window.
QWidget* showOrActivate(const char* className, const std::function<QWidget*()>& create);

template <typename Screen> Screen* showOrActivate()
{
    return static_cast<Screen*>(
        showOrActivate(Screen::staticMetaObject.className(), [] { return new Screen; }));
}

// What to size, maximise or move for a screen: its frame in the frame area, else the
// screen itself.
QWidget* frameOf(QWidget* screen);

// The open instance of a child screen class, or null.
QWidget* findOpen(const char* className);

// Runs a modal dialog and deletes it; returns the dialog's result code.
int runModal(QDialog* dialog);
} // namespace Windows
