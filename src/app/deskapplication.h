#pragma once

#include <QApplication>

// The program's application object. A failure that escapes a screen's handler ends
// that operator action only: it is logged and shown, and the program runs on.
// (Actions that write run inside Action::run, which has already rolled them back.)
class DeskApplication : public QApplication {
    Q_OBJECT
public:
    DeskApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
