#include "driver.h"

#include "pickers/jsxxzl.h"
#include "ui/commands.h"
#include "ui/pickdate.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>

bool Driver::open(const QString& key, QWidget* parent)
{
    return Commands::open(key, parent);
}

bool Driver::whileModal(const char* className, const std::function<void(QWidget*)>& drive,
                        const std::function<void()>& start, int timeoutMs)
{
    bool seen = false;
    const QPointer<QWidget> before = QApplication::activeWindow();
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
    // What the window manager does when a dialog closes: the window under it is active again.
    if (seen && before && before->isVisible() && !QApplication::activeModalWidget()) {
        QApplication::setActiveWindow(before);
        if (!QTest::qWaitForWindowActive(before, 1000))
            qWarning("the window under %s did not become active again", className);
    }
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

QStringList Driver::columnTexts(QAbstractItemView* grid, int column)
{
    QAbstractItemModel* model = grid->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

bool Driver::choose(QAbstractItemView* grid, const QString& text, int column)
{
    const int row = columnTexts(grid, column).indexOf(text);
    if (row < 0)
        return false;
    grid->setCurrentIndex(grid->model()->index(row, column));
    return true;
}

QString Driver::bookDetailsShown(const std::function<void()>& start)
{
    QString barcode;
    whileModal(
        "BookDetails",
        [&](QWidget* details) {
            barcode = static_cast<BookDetails*>(details)->boxText("图书条码");
            QTest::keyClick(details, Qt::Key_Escape);
        },
        start);
    return barcode;
}

bool Driver::pickDate(std::optional<QDate> date, const std::function<void()>& start)
{
    return whileModal(
        "TBrDateForm",
        [date](QWidget* dialog) {
            auto* form = static_cast<TBrDateForm*>(dialog);
            if (date)
                form->setDate(*date);
            form->findChild<QAbstractButton*>(date ? "OkButton" : "CloseButton")->click();
        },
        start);
}
