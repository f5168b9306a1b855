#include "ui/enterchain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

EnterChain::EnterChain(QWidget* screen) : QObject(screen)
{
    setObjectName("EnterChain");
}

EnterChain* EnterChain::link(QWidget* screen, const QList<QWidget*>& boxes)
{
    auto* chain = new EnterChain(screen);
    for (qsizetype i = 0; i + 1 < boxes.size(); ++i)
        chain->hop(boxes.at(i), boxes.at(i + 1));
    return chain;
}

EnterChain* EnterChain::hop(QWidget* from, QWidget* to)
{
    watch(from);
    m_next.insert(from, to);
    return this;
}

EnterChain* EnterChain::onEnter(QWidget* box, std::function<bool()> step)
{
    watch(box);
    m_steps.insert(box, std::move(step));
    return this;
}

void EnterChain::watch(QWidget* box)
{
    box->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
}

QWidget* EnterChain::linkOf(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return nullptr;
    if (m_next.contains(widget) || m_steps.contains(widget))
        return widget;
    // The line edit of an editable combo box stands for the combo box.
    if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget());
        combo && combo->lineEdit() == widget)
        return linkOf(combo);
    return nullptr;
}

void EnterChain::enter(QWidget* box)
{
    if (const auto step = m_steps.value(box); step && !step())
        return;
    if (QWidget* next = m_next.value(box))
        next->setFocus(Qt::TabFocusReason);
}

bool EnterChain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    // An open drop-down list takes Enter as the choice of its item.
    if (auto* combo = qobject_cast<QComboBox*>(watched); combo && combo->view()->isVisible())
        return false;
    QWidget* box = linkOf(watched);
    if (!box)
        return false;
    enter(box);
    return true;
}
