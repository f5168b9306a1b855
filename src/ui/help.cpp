#include "ui/help.h"

#include <QAbstractButton>

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
class HelpWindow : public QDialog {
public:
    explicit HelpWindow(QWidget* parent) : QDialog(parent)
    {
        setObjectName("HelpWindow");
        setWindowTitle(QString::fromUtf8("帮助"));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        setAttribute(Qt::WA_DeleteOnClose);
        resize(720, 560);
        browser = new QTextBrowser(this);
        browser->setObjectName("helpBrowser");
        browser->setOpenExternalLinks(false);
        // One look for every page.
        QFile css(":/help/help.css");
        if (css.open(QIODevice::ReadOnly))
            browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
        auto* contents = new QPushButton(QString::fromUtf8("目录"), this);
        auto* close = new QPushButton(QString::fromUtf8("关闭"), this);
        connect(contents, &QPushButton::clicked, this,
                [this] { browser->setSource(QUrl(QString("qrc") + Help::contentsPage())); });
        connect(close, &QPushButton::clicked, this, &QDialog::close);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(browser);
        layout->addLayout(buttons);
    }
    QTextBrowser* browser;
};

// Answers F1 inside one screen with that screen's page.
class ContextKey : public QObject {
public:
    ContextKey(QWidget* screen, int context) : QObject(screen), m_context(context) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
                event->accept();
                if (type == QEvent::KeyPress)
                    Help::showContext(m_context, qobject_cast<QWidget*>(watched));
                return true;
            }
        }
        return false;
    }

private:
    int m_context;
};

QPointer<HelpWindow>& window()
{
    static QPointer<HelpWindow> w;
    return w;
}

void showPage(const QString& resource, QWidget* parent)
{
    if (!window())
        window() = new HelpWindow(parent ? parent->window() : nullptr);
    window()->browser->setSource(QUrl("qrc" + resource));
    window()->show();
    window()->raise();
    window()->activateWindow();
}
} // namespace

const char* Help::contentsPage()
{
    return ":/help/index.html";
}

void Help::showContents(QWidget* parent)
{
    showPage(contentsPage(), parent);
}

void Help::setContext(QWidget* screen, int context)
{
    screen->installEventFilter(new ContextKey(screen, context));
}

void Help::showContext(int context, QWidget* parent)
{
    const QString page = QString(":/help/%1.html").arg(context);
    showPage(QFile::exists(page) ? page : QString(contentsPage()), parent);
}

void Help::attach(QWidget* screen, int context, QAbstractButton* button)
{
    setContext(screen, context);
    if (button)
        QObject::connect(button, &QAbstractButton::clicked, screen,
                         [screen, context] { showContext(context, screen); });
}
