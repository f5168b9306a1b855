#include "app/passw.h"

#include "data/passwords.h"
#include "data/session.h"
#include "desk/operators.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/messages.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tpasswordfm::Tpasswordfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("passwordfm");
    setWindowTitle("口令修改");

    auto* form = new QFormLayout;
    int n = 1;
    for (auto [box, label] : {std::pair{&m_old, "旧 口 令："}, std::pair{&m_new, "新 口 令："},
                              std::pair{&m_confirm, "确认口令："}}) {
        *box = new QLineEdit(this);
        (*box)->setObjectName(QString("Edit%1").arg(n++));
        (*box)->setEchoMode(QLineEdit::Password);
        (*box)->setMaxLength(Passwords::maxLength);
        form->addRow(label, *box);
    }
    m_ok = new QPushButton("确定&O", this);
    m_ok->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消&C", this);
    cancel->setObjectName("BitBtn2");
    connect(m_ok, &QPushButton::clicked, this, &Tpasswordfm::okClick);
    connect(cancel, &QPushButton::clicked, this, &Tpasswordfm::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setContentsMargins(20, 16, 20, 12);

    // Enter moves on from a box only when it holds something.
    auto* chain = EnterChain::link(this, {m_old, m_new, m_confirm, m_ok});
    for (QLineEdit* box : {m_old, m_new, m_confirm})
        chain->onEnter(box, [box] { return !box->text().isEmpty(); });

    auto* quit = new QAction("退出", this);
    quit->setShortcut(Qt::Key_Escape);
    connect(quit, &QAction::triggered, this, &Tpasswordfm::reject);
    addAction(quit);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_old->setFocus();
}

void Tpasswordfm::okClick()
{
    const bool done = Action::run(this, [this] {
        Operators::changeOwnPassword(Session::current().loginCode, m_old->text(), m_new->text(),
                                     m_confirm->text());
    });
    if (!done)
        return;
    Messages::notice(this, "修改口令", "您已成功的更改口令！");
    accept();
}
