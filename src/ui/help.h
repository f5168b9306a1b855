#pragma once

class QAbstractButton;
class QWidget;

// The program's help: one page per help context number, and a contents page.
// Pages ship inside the program; one help window is reused.
namespace Help {
void showContents(QWidget* parent);
void showContext(int context, QWidget* parent);
// F1 anywhere inside the screen opens the screen's own page, ahead of the main
// window's F1 (the contents).
void setContext(QWidget* screen, int context);
// The screen's help in one call: F1 inside it and a click on its help button (if any)
// open its page.
void attach(QWidget* screen, int context, QAbstractButton* button = nullptr);
// The page a context opens (":/help/<n>.html", or the contents when there is none).
const char* contentsPage();
} // namespace Help
