#include "cards/gs.h"

#include "desk/cardrecord.h"
#include "desk/refused.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
    HalfWidth::apply(m_number);
    GbkLimit::apply(m_number, 12);
    m_identity = box("Edit2");
    HalfWidth::apply(m_identity);
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
    connect(m_cancel, &QPushButton::clicked, this, [this] { Screen::close(this); });
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
    EnterChain::link(this, {m_number, m_identity, m_ok});
    // Leaving the identity box shows whose card it is; Cancel needs no look-up.
    Screen::onLeave(m_identity,
                    [this] { return QApplication::focusWidget() == m_cancel || lookUp(); });
    Screen::closeOnEscape(this);
}

bool LostCardScreen::lookUp()
{
    if (m_identity->text().isEmpty())
        return true;
    QString name;
    const bool found =
        Action::run(this, [&] { name = LostCards::lookUp(m_number->text(), m_identity->text()); });
    m_name->setText(found ? name : QString());
    return found;
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
    Screen::close(this);
}

TFormgs::TFormgs(QWidget* parent) : LostCardScreen(LostCards::Change::Report, parent)
{
    setObjectName("Formgs");
    setWindowTitle("挂失信息");
}
