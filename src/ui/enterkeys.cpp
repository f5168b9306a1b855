#include "ui/enterkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace {
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        if (button->window()->property(EnterKeys::ownRulesProperty).toBool())
            return false;
        button->click();
        return true;
    }
};
} // namespace

void EnterKeys::install(QApplication* application)
{
    application->installEventFilter(new EnterPressesButton(application));
}
