#include "ui/halfwidth.h"

#include "data/typing.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
bool isDigitOrLetter(char16_t u)
{
    return (u >= u'０' && u <= u'９') || (u >= u'Ａ' && u <= u'Ｚ') || (u >= u'ａ' && u <= u'ｚ');
}

QString folded(const QString& text, HalfWidth::Fold fold)
{
    if (fold == HalfWidth::Fold::Everything)
        return Typing::halfWidth(text);
    QString result = text;
    for (QChar& c : result) {
        if (isDigitOrLetter(c.unicode()))
            c = Typing::halfWidth(QString(c)).at(0);
    }
    return result;
}

// Sits in front of the box: an event carrying full-width text is sent again with the
// folded text, and the original is swallowed.
class Folder : public QObject {
public:
    Folder(QLineEdit* box, HalfWidth::Fold fold) : QObject(box), m_fold(fold)
    {
        box->installEventFilter(this);
        // A paste or a drop arrives as a whole text; one character folds to one, so the
        // caret stays where it was.
        QObject::connect(box, &QLineEdit::textEdited, this, [box, fold](const QString& text) {
            const QString half = folded(text, fold);
            if (half == text)
                return;
            const int caret = box->cursorPosition();
            box->setText(half);
            box->setCursorPosition(caret);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString half = folded(key->text(), m_fold);
            if (half == key->text())
                return false;
            QKeyEvent halfKey(key->type(), key->key(), key->modifiers(), half, key->isAutoRepeat(),
                              ushort(key->count()));
            QCoreApplication::sendEvent(watched, &halfKey);
            key->setAccepted(halfKey.isAccepted());
            return true;
        }
        if (event->type() == QEvent::InputMethod) {
            auto* input = static_cast<QInputMethodEvent*>(event);
            const QString half = folded(input->commitString(), m_fold);
            if (half == input->commitString())
                return false;
            QInputMethodEvent halfInput(input->preeditString(), input->attributes());
            halfInput.setCommitString(half, input->replacementStart(), input->replacementLength());
            QCoreApplication::sendEvent(watched, &halfInput);
            return true;
        }
        return false;
    }

private:
    HalfWidth::Fold m_fold;
};
} // namespace

void HalfWidth::apply(QLineEdit* box, Fold fold)
{
    new Folder(box, fold);
}
