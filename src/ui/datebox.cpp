#include "ui/datebox.h"

#include "data/dates.h"
#include "ui/pickdate.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
// A focus change that only switches windows (a dialog or another program came to
// the front) is not the operator leaving the box.
bool movedWithinWindow(const QFocusEvent* event, const QWidget* from)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return false;
    const QWidget* to = QApplication::focusWidget();
    return to && to->window() == from->window();
}
} // namespace

DateBox::DateBox(QLineEdit* edit, QPushButton* button, QWidget* next)
    : QObject(edit), m_edit(edit), m_button(button), m_next(next)
{
    setObjectName("DateBox");
    m_button->setVisible(m_edit->hasFocus());
    m_edit->installEventFilter(this);
    m_button->installEventFilter(this);
    connect(m_button, &QPushButton::clicked, this, &DateBox::pick);
}

DateBox* DateBox::attach(QLineEdit* edit, QPushButton* button, QWidget* next)
{
    Q_ASSERT(edit && button && !of(edit));
    return new DateBox(edit, button, next);
}

DateBox* DateBox::create(QWidget* parent, const QString& editName, const QString& buttonName,
                         QWidget* next)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(editName);
    auto* button = new QPushButton(">>>", parent);
    button->setObjectName(buttonName);
    button->setAutoDefault(false);
    // Room for the themes' button padding; the row keeps its place while the button hides.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(">>>") + 36);
    QSizePolicy keepPlace = button->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    button->setSizePolicy(keepPlace);
    return attach(edit, button, next);
}

DateBox* DateBox::of(const QLineEdit* edit)
{
    return edit ? edit->findChild<DateBox*>("DateBox", Qt::FindDirectChildrenOnly) : nullptr;
}

void DateBox::checkOnLeave(const QString& caption, const QString& message, OnInvalid onInvalid,
                           Messages::Icon icon)
{
    m_check = true;
    m_caption = caption;
    m_message = message;
    m_onInvalid = onInvalid;
    m_icon = icon;
}

QDate DateBox::date() const
{
    return Dates::parse(m_edit->text());
}

void DateBox::refocus()
{
    QTimer::singleShot(0, m_edit, [edit = m_edit] { edit->setFocus(Qt::OtherFocusReason); });
}

void DateBox::pick()
{
    const std::optional<QDate> chosen = TBrDateForm::pick(m_edit->window());
    if (chosen) {
        m_edit->setText(Dates::toText(*chosen));
        emit picked(*chosen);
    }
    // The button hides either way. After a pick the focus goes on to the next control;
    // after Close it returns to the box, which is staying in the box, not entering it.
    if (chosen && m_next) {
        m_next->setFocus(Qt::OtherFocusReason);
    } else if (!m_edit->hasFocus()) {
        m_returning = true;
        m_edit->setFocus(Qt::OtherFocusReason);
    }
    m_button->hide();
}

bool DateBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == m_edit) {
        if (m_returning) {
            m_returning = false;
        } else {
            m_button->show();
            emit entered();
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto* focus = static_cast<QFocusEvent*>(event);
        auto* from = static_cast<QWidget*>(watched);
        const QWidget* to = QApplication::focusWidget();
        const QWidget* partner = watched == m_edit ? static_cast<QWidget*>(m_button) : m_edit;
        if (movedWithinWindow(focus, from) && to != partner) {
            m_button->hide();
            if (watched == m_edit && m_check)
                checkText(focus->reason());
        }
    }
    return QObject::eventFilter(watched, event);
}

void DateBox::checkText(Qt::FocusReason reason)
{
    const QString text = m_edit->text();
    if (text.trimmed().isEmpty())
        return;
    const QDate date = Dates::parse(text);
    if (date.isValid()) {
        m_edit->setText(Dates::toText(date));
        emit leftWithDate(date);
        return;
    }
    Messages::notice(m_edit, m_caption, m_message, m_icon);
    if (m_onInvalid == OnInvalid::Clear)
        m_edit->clear();
    Screen::refuseLeave(m_edit, reason);
}
