#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message box of the program goes through here. Tests switch on scripted mode:
// nothing is shown, each box is recorded, and questions take queued answers.
namespace Messages {
enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { YesNo, OkCancel };

// The application title, used as the caption of plain messages.
inline constexpr const char* applicationTitle = "图书馆管理系统";

// A modal box with the given caption and icon and an OK button.
void notice(QWidget* parent, const QString& caption, const QString& text,
            Icon icon = Icon::Information);
// A modal box captioned with the application title, OK button, no icon.
void plain(QWidget* parent, const QString& text);
// A question; true for Yes or OK.
bool question(QWidget* parent, const QString& caption, const QString& text,
              Buttons buttons = Buttons::YesNo, Icon icon = Icon::Question);
// A failure the operator must know about (store errors, files that could not be written).
void error(QWidget* parent, const QString& text);

// --- scripted mode for tests ---
struct Shown {
    QString caption;
    QString text;
    Icon icon = Icon::None;
    bool isQuestion = false;
};
void setScripted(bool scripted);
bool isScripted();
void queueAnswer(bool yes);        // next question's answer; unanswered questions answer No
QList<Shown> takeShown();          // everything shown since the last call
QString lastText();                // text of the last box shown, or empty
} // namespace Messages
