#include "ui/bldbedit.h"

#include <QDataWidgetMapper>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {
// Switching windows is not entering or leaving the box.
bool onlyWindowActivation(const QFocusEvent* event)
{
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}
} // namespace

TBlDBEdit::TBlDBEdit(QWidget* parent) : QLineEdit(parent), m_createdPalette(palette()) {}

void TBlDBEdit::bindTo(QDataWidgetMapper* mapper, int column)
{
    mapper->addMapping(this, column);
}

void TBlDBEdit::setCharCase(TEditCharCase charCase)
{
    m_charCase = charCase;
    if (charCase == ecUpperCase)
        setText(text().toUpper());
    else if (charCase == ecLowerCase)
        setText(text().toLower());
}

QColor TBlDBEdit::color() const
{
    return m_background ? *m_background : m_createdPalette.color(QPalette::Base);
}

void TBlDBEdit::setColor(const QColor& color)
{
    showBackground(color);
}

void TBlDBEdit::showBackground(const std::optional<QColor>& color)
{
    m_background = color;
    // The box's own style sheet wins over the window theme, which colours boxes too.
    if (color) {
        setStyleSheet(QString("background-color: %1;").arg(color->name(QColor::HexArgb)));
        QPalette shown = palette();
        shown.setColor(QPalette::Base, *color);
        setPalette(shown);
    } else {
        setStyleSheet(QString());
        setPalette(m_createdPalette);
    }
}

QString TBlDBEdit::casedForTyping(const QString& typed) const
{
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    QString result;
    for (int i = 0; i < typed.size(); ++i) {
        QChar c = typed[i];
        switch (m_caseMode) {
        case cmProperCase: {
            const bool atStart = i == 0 && caret == 0;
            const QChar before = i > 0 ? typed[i - 1] : (caret > 0 ? text()[caret - 1] : QChar());
            if (atStart || before == u' ')
                c = c.toUpper();
            break;
        }
        case cmLowerCase:
            c = c.toLower();
            break;
        case cmUpperCase:
            c = c.toUpper();
            break;
        case cmNormal:
            break;
        }
        if (m_charCase == ecUpperCase)
            c = c.toUpper();
        else if (m_charCase == ecLowerCase)
            c = c.toLower();
        result += c;
    }
    return result;
}

void TBlDBEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_enterLikeTab) {
        focusNextChild();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QString cased = casedForTyping(typed);
        if (cased != typed) {
            QKeyEvent recased(event->type(), event->key(), event->modifiers(), cased,
                              event->isAutoRepeat(), event->count());
            QLineEdit::keyPressEvent(&recased);
            event->setAccepted(recased.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TBlDBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (onlyWindowActivation(event))
        return;
    showBackground(m_colorOnFocus);
    if (m_autoSelect) {
        selectAll();
    } else {
        deselect();
        if (m_cursorEndField)
            end(false);
    }
    emit entered();
}

void TBlDBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (onlyWindowActivation(event))
        return;
    showBackground(std::nullopt); // the colour of creation, not a colour set since
    emit exited();
}
