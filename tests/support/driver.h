#pragma once

#include "ui/messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

// Drives screens as an operator does: opens them by command key through the command
// registry (grants checked), finds their controls by objectName, reads back the messages.
namespace Driver {
// Opens the command; true when it opened (a refusal or notice is in shown()).
bool open(const QString& key, QWidget* parent = nullptr);

// The open child screen of this class, opened by `key` first.
template <typename Screen> Screen* openScreen(const QString& key)
{
    open(key);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* screen = qobject_cast<Screen*>(widget); screen && screen->isVisible())
            return screen;
        if (auto* screen = widget->findChild<Screen*>(); screen && screen->isVisible())
            return screen;
    }
    return nullptr;
}

// Runs `drive` on the modal dialog of this class once it is up; `start` opens it (and
// blocks until `drive` closes it). Returns false when no such dialog came up.
bool whileModal(const char* className, const std::function<void(QWidget*)>& drive,
                const std::function<void()>& start, int timeoutMs = 5000);

// The texts of one column of a grid, every row fetched (a picker's list).
QStringList columnTexts(QAbstractItemView* grid, int column = 0);
// Makes the row whose `column` reads `text` the grid's current one; false when none does.
bool choose(QAbstractItemView* grid, const QString& text, int column = 0);

// Runs `start`; the book details popup it opens is read and closed. Answers the barcode
// it showed, or "" when no popup came up.
QString bookDetailsShown(const std::function<void()>& start);

// Runs `start`; the date picker it opens answers `date` with OK, or closes without a date
// (std::nullopt). False when no picker came up.
bool pickDate(std::optional<QDate> date, const std::function<void()>& start);

// A control of the screen by objectName; a missing control ends the test program with
// its name, instead of a crash further on.
QWidget* find(const QWidget* screen, const QString& name, const char* type);
template <typename T> T* box(const QWidget* screen, const QString& name)
{
    return static_cast<T*>(find(screen, name, T::staticMetaObject.className()));
}

// Every message shown since the last call, as "caption:text".
QStringList shown();
// Only the texts.
QStringList shownTexts();

// Types into the box as the keyboard does (with focus), optionally pressing Enter.
void type(QWidget* box, const QString& text, bool enter = false);
void enter(QWidget* box);
} // namespace Driver
