#include "cards/gs.h"

#include "desk/cardrecord.h"
#include "desk/refused.h"
#include "ui/action.h"
#include "ui/gbklimit.h"
#include "ui/messages.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

LostCardScreen::LostCardScreen(LostCards::Change change, QWidget* parent)
    : QWidget(parent), m_change(change)
{
    buildScreen();
    m_number->setFocus();
}

void LostCardScreen::buildScreen()
{
    const auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMinimumWidth(200);
        return edit;
    };
    m_number = box("Edit1");
    GbkLimit::apply(m_number, 12);
    m_identity = box("Edit2");
    m_identity->setMaxLength(CardRecords::identityLength);
    m_name = box("Edit3");
    m_name->setReadOnly(true);
    m_name->setFocusPolicy(Qt::NoFocus);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel("借书证编号", this), 0, 0, Qt::AlignRight);
    form->addWidget(m_number, 0, 1);
    form->addWidget(new QLabel("身份证号", this), 1, 0, Qt::AlignRight);
    form->addWidget(m_identity, 1, 1);
    form->addWidget(new QLabel("读者姓名", this), 2, 0, Qt::AlignRight);
    form->addWidget(m_name, 2, 1);

    m_ok = new QPushButton("确定", this);
    m_ok->setObjectName("ok");
    m_ok->setAutoDefault(true);
    m_cancel = new QPushButton("取消", this);
    m_cancel->setObjectName("cancel");
    m_cancel->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &LostCardScreen::okClick);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    setTabOrder(m_number, m_identity);
    setTabOrder(m_identity, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_number->installEventFilter(this);
    m_identity->installEventFilter(this);
}

bool LostCardScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_number)
                m_identity->setFocus(Qt::TabFocusReason);
            else if (watched == m_identity)
                m_ok->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched == m_identity) {
        // Leaving for another box of this screen, not for another window or for Cancel.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* to = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && to &&
            isAncestorOf(to) && to != m_cancel)
            lookUp();
    }
    return QWidget::eventFilter(watched, event);
}

void LostCardScreen::lookUp()
{
    if (m_identity->text().isEmpty())
        return;
    QString name;
    if (Action::run(this, [&] { name = LostCards::lookUp(m_number->text(), m_identity->text()); }))
        m_name->setText(name);
    else
        m_name->clear();
}

void LostCardScreen::okClick()
{
    const bool done = Action::run(this, [&] {
        LostCards::change(m_change, m_number->text(), m_identity->text(), Action::askWith(this),
                          [&](const QString& name) { m_name->setText(name); });
    });
    if (!done)
        return;
    Messages::plain(this, m_change == LostCards::Change::Report ? "挂失成功！" : "解挂失成功！");
    for (QLineEdit* box : {m_number, m_identity, m_name})
        box->clear();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

TFormgs::TFormgs(QWidget* parent) : LostCardScreen(LostCards::Change::Report, parent)
{
    setObjectName("Formgs");
    setWindowTitle("挂失信息");
}
