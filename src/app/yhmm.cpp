#include "app/yhmm.h"

#include "data/passwords.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

TFormyhmm::TFormyhmm(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formyhmm");
    setWindowTitle("操作员密码");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_operator = new QLabel(this);
    m_operator->setObjectName("lts");
    m_first = new QLineEdit(this);
    m_first->setObjectName("Edit1");
    m_second = new QLineEdit(this);
    m_second->setObjectName("Edit2");
    for (QLineEdit* box : {m_first, m_second}) {
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(Passwords::maxLength);
    }
    auto* form = new QFormLayout;
    form->addRow("请输入操作员密码：", m_first);
    form->addRow("请输入确认密码：", m_second);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("BitBtn1");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("BitBtn2");
    connect(ok, &QPushButton::clicked, this, &TFormyhmm::okClick);
    connect(back, &QPushButton::clicked, this, [this] {
        m_result.clear();
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    auto* first = new QLabel("提示", status);
    first->setObjectName("panel0");
    auto* second = new QLabel(status);
    second->setObjectName("panel1");
    status->addWidget(first);
    status->addWidget(second, 1);
    second->setText(QString("密码最大长度为%1位").arg(Passwords::maxLength));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_operator);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(status);
    layout->setContentsMargins(16, 12, 16, 0);
    // Enter in the second box is "确定".
    EnterChain::link(this, {m_first, m_second, ok})->onEnter(m_second, [this] {
        okClick();
        return false;
    });
    m_first->setFocus();
}

QString TFormyhmm::ask(QWidget* parent, const QString& name)
{
    auto* dialog = new TFormyhmm(parent);
    dialog->m_operator->setText("当前操作员名为:" + name);
    QString result;
    connect(dialog, &QDialog::finished, dialog, [dialog, &result] { result = dialog->result(); });
    Windows::runModal(dialog);
    return result;
}

void TFormyhmm::okClick()
{
    if (m_first->text().isEmpty() || m_second->text().isEmpty()) {
        Messages::plain(this, "密码不能为空！");
        return;
    }
    if (m_first->text() != m_second->text()) {
        Messages::plain(this, "两次输入的密码不一样！");
        return;
    }
    m_result = m_first->text();
    accept();
}
