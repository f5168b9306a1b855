#include "driver.h"

#include "ui/commands.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>

bool Driver::open(const QString& key, QWidget* parent)
{
    return Commands::open(key, parent);
}

bool Driver::whileModal(const char* className, const std::function<void(QWidget*)>& drive,
                        const std::function<void()>& start, int timeoutMs)
{
    bool seen = false;
    QElapsedTimer clock;
    clock.start();
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            poll->stop();
            seen = true;
            // Keys sent before the dialog is the active window would reach the shortcuts of
            // the screen behind it (its Esc closes the screen).
            modal->activateWindow();
            if (!QTest::qWaitForWindowActive(modal))
                qWarning("%s did not become the active window", className);
            drive(modal);
        } else if (clock.elapsed() > timeoutMs) {
            poll->stop();
            if (modal)
                modal->close(); // not the dialog we wait for: do not hang the test
        }
    });
    poll->start();
    start();
    delete poll;
    return seen;
}

QWidget* Driver::find(const QWidget* screen, const QString& name, const char* type)
{
    QWidget* widget = screen ? screen->findChild<QWidget*>(name) : nullptr;
    if (!widget || !widget->inherits(type))
        qFatal("no %s named %s on the screen", type, qPrintable(name));
    return widget;
}

QStringList Driver::shown()
{
    QStringList texts;
    for (const Messages::Shown& box : Messages::takeShown())
        texts << box.caption + ":" + box.text;
    return texts;
}

QStringList Driver::shownTexts()
{
    QStringList texts;
    for (const Messages::Shown& box : Messages::takeShown())
        texts << box.text;
    return texts;
}

void Driver::type(QWidget* box, const QString& text, bool enterAfter)
{
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(box, text);
    if (enterAfter)
        enter(box);
}

void Driver::enter(QWidget* box)
{
    QTest::keyClick(box, Qt::Key_Return);
}
