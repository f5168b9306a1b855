#include "app/xtcsh.h"

#include "desk/initialisation.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormxtcsh::TFormxtcsh(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formxtcsh");
    setWindowTitle("系统初始化");

    auto* warning = new QVBoxLayout;
    auto* attention = new QLabel("注意：", this);
    attention->setStyleSheet("color: red; font-weight: bold;");
    warning->addWidget(attention);
    for (const char* line : {"系统如果被初始化，则原有的", "数据将被清空，且不可恢复！"}) {
        auto* label = new QLabel(line, this);
        label->setStyleSheet("color: red;");
        warning->addWidget(label);
    }
    auto* initialise = new QPushButton("初始化", this);
    initialise->setObjectName("BitBtn1");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("BitBtn2");
    for (QPushButton* button : {initialise, back})
        button->setAutoDefault(true);
    back->setFocus();
    connect(initialise, &QPushButton::clicked, this, &TFormxtcsh::initialiseClick);
    connect(back, &QPushButton::clicked, this, &TFormxtcsh::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(initialise);
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(warning);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 18, 24, 14);
}

void TFormxtcsh::initialiseClick()
{
    if (!Messages::question(this, "询问", "您确定要清除所有数据吗？"))
        return;
    if (Action::run(this, [] { Initialisation::clearAll(); }))
        Messages::plain(this, "系统初始化完成！");
}
