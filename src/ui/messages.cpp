#include "ui/messages.h"

#include "data/sql.h"

#include <QApplication>
#include <QMessageBox>
#include <QQueue>

namespace {
struct Script {
    bool scripted = false;
    QQueue<bool> answers;
    QList<Messages::Shown> shown;
};

Script& script()
{
    static Script s;
    return s;
}

QMessageBox::Icon toQt(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Information:
        return QMessageBox::Information;
    case Messages::Icon::Warning:
        return QMessageBox::Warning;
    case Messages::Icon::Critical:
        return QMessageBox::Critical;
    case Messages::Icon::Question:
        return QMessageBox::Question;
    case Messages::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QWidget* ownerFor(QWidget* parent)
{
    return parent ? parent->window() : QApplication::activeWindow();
}

int showBox(QWidget* parent, const QString& caption, const QString& text, Messages::Icon icon,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(toQt(icon), caption, text, buttons, ownerFor(parent));
    box.setDefaultButton(defaultButton);
    return box.exec();
}
} // namespace

void Messages::notice(QWidget* parent, const QString& caption, const QString& text, Icon icon)
{
    Transaction::beforeWaitingForPerson(text);
    if (script().scripted) {
        script().shown.append({caption, text, icon, false});
        return;
    }
    showBox(parent, caption, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

void Messages::plain(QWidget* parent, const QString& text)
{
    notice(parent, QString::fromUtf8(applicationTitle), text, Icon::None);
}

bool Messages::question(QWidget* parent, const QString& caption, const QString& text,
                        Buttons buttons, Icon icon)
{
    Transaction::beforeWaitingForPerson(text);
    if (script().scripted) {
        script().shown.append({caption, text, icon, true});
        return script().answers.isEmpty() ? false : script().answers.dequeue();
    }
    if (buttons == Buttons::YesNo)
        return showBox(parent, caption, text, icon, QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::Yes) == QMessageBox::Yes;
    return showBox(parent, caption, text, icon, QMessageBox::Ok | QMessageBox::Cancel,
                   QMessageBox::Ok) == QMessageBox::Ok;
}

void Messages::error(QWidget* parent, const QString& text)
{
    notice(parent, QString::fromUtf8("错误"), text, Icon::Critical);
}

void Messages::setScripted(bool scripted)
{
    script() = Script();
    script().scripted = scripted;
}

bool Messages::isScripted()
{
    return script().scripted;
}

void Messages::queueAnswer(bool yes)
{
    script().answers.enqueue(yes);
}

QList<Messages::Shown> Messages::takeShown()
{
    QList<Shown> shown = script().shown;
    script().shown.clear();
    return shown;
}

QString Messages::lastText()
{
    return script().shown.isEmpty() ? QString() : script().shown.last().text;
}
