#include "ui/windows.h"

#include "data/sql.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {
QPointer<QMdiArea>& area()
{
    static QPointer<QMdiArea> a;
    return a;
}
} // namespace

void Windows::setFrameArea(QMdiArea* frame)
{
    area() = frame;
}

QMdiArea* Windows::frameArea()
{
    return area();
}

QWidget* Windows::frameOf(QWidget* screen)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        return sub;
    return screen;
}

QWidget* Windows::findOpen(const char* className)
{
    if (area()) {
        for (QMdiSubWindow* sub : area()->subWindowList()) {
            if (sub->widget() && sub->widget()->inherits(className) &&
                qstrcmp(sub->widget()->metaObject()->className(), className) == 0)
                return sub->widget();
        }
        return nullptr;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qstrcmp(w->metaObject()->className(), className) == 0 && w->isVisible())
            return w;
    }
    return nullptr;
}

QWidget* Windows::showOrActivate(const char* className, const std::function<QWidget*()>& create)
{
    if (QWidget* open = findOpen(className)) {
        if (area()) {
            auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget());
            if (sub) {
                sub->showNormal();
                area()->setActiveSubWindow(sub);
            }
        } else {
            open->showNormal();
            open->raise();
            open->activateWindow();
        }
        // Typing goes on where the operator left off in that screen.
        if (QWidget* inner = open->focusWidget())
            inner->setFocus();
        else
            open->setFocus();
        return open;
    }
    QWidget* screen = create();
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (area()) {
        QMdiSubWindow* sub = area()->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // A screen that closes itself takes its frame with it.
        QPointer<QMdiSubWindow> frame(sub);
        QObject::connect(
            screen, &QObject::destroyed, area(),
            [frame] {
                if (frame)
                    frame->close();
            },
            Qt::QueuedConnection);
        sub->setWindowIcon(screen->windowIcon());
        sub->adjustSize();
        sub->move(0, 0); // work screens open at the top-left corner of the frame
        sub->show();
        area()->setActiveSubWindow(sub);
    } else {
        screen->show();
    }
    return screen;
}

int Windows::runModal(QDialog* dialog)
{
    Transaction::beforeWaitingForPerson(dialog->windowTitle());
    // A dialog that deletes itself on closing (Esc on some) is gone already afterwards.
    const QPointer<QDialog> open(dialog);
    const int result = dialog->exec();
    delete open.data();
    return result;
}
