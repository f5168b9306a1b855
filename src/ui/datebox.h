#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/messages.h"

class QLineEdit;
class QPushButton;
class QWidget;

// A date box: a text box for a date with a small ">>>" button beside it that opens
// the date picker. Every date box of the desk is one of these.
//
// A screen creates its own controls (with their objectNames) and attaches them:
//
//   auto* from = DateBox::attach(m_edit3, m_bitBtn4, m_edit4);   // Edit3 -> Edit4
//   from->checkOnLeave("提示信息", "日期格式错误!");                // optional
//   connect(from, &DateBox::leftWithDate, this, [](QDate d) { ... }); // e.g. range checks
//
// or lets the box create them: DateBox::create(this, "Edit3", "BitBtn4", m_edit4).
//
// Behaviour:
// - The button is visible only while the box or the button has the focus.
// - Clicking it opens the picker (on today's date). OK writes the date as
//   "yyyy-MM-dd" into the box and moves the focus to `next`; Close keeps the text and
//   returns the focus to the box (without a new entered()). The button hides either
//   way and shows again when the box is next entered.
// - With checkOnLeave, leaving the box for another control of the window checks the
//   text: empty is left alone; a date ("2026/3/5", "2026-3-5") is rewritten as
//   "2026-03-05" and leftWithDate is emitted; anything else shows the notice with the
//   screen's caption and wording and returns the focus to the box (the text is kept, or
//   emptied with OnInvalid::Clear). Moving to the box's own button, or to another
//   window, checks nothing.
class DateBox : public QObject {
    Q_OBJECT
public:
    enum class OnInvalid { Keep, Clear };

    // `next` receives the focus after a picked date; it may be set later with setNext.
    static DateBox* attach(QLineEdit* edit, QPushButton* button, QWidget* next = nullptr);
    static DateBox* create(QWidget* parent, const QString& editName, const QString& buttonName,
                           QWidget* next = nullptr);
    // The date box attached to an edit, or null.
    static DateBox* of(const QLineEdit* edit);

    void setNext(QWidget* next) { m_next = next; }
    void checkOnLeave(const QString& caption, const QString& message,
                      OnInvalid onInvalid = OnInvalid::Keep,
                      Messages::Icon icon = Messages::Icon::Information);

    QLineEdit* edit() const { return m_edit; }
    QPushButton* button() const { return m_button; }
    QDate date() const; // invalid when the box is empty or holds no date

    // Gives the focus back to the box once the current focus change is over
    // (a handler of leftWithDate that refuses the date calls this).
    void refocus();

    // Opens the picker as a click on the button does.
    void pick();

signals:
    void entered();                       // the box received the focus (after showing the button)
    void picked(const QDate& date);       // a date was picked and written into the box
    void leftWithDate(const QDate& date); // left with a valid date (already rewritten)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DateBox(QLineEdit* edit, QPushButton* button, QWidget* next);
    void checkText(Qt::FocusReason reason);

    QLineEdit* m_edit;
    QPushButton* m_button;
    QPointer<QWidget> m_next;
    bool m_returning = false; // the focus comes back from the picker
    bool m_check = false;
    QString m_caption;
    QString m_message;
    OnInvalid m_onInvalid = OnInvalid::Keep;
    Messages::Icon m_icon = Messages::Icon::Information;
};
