#include "app/cshlc.h"

#include "cards/bhcsh.h"
#include "cards/kpsz.h"
#include "data/session.h"
#include "ui/commands.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QEvent>
#include <QGridLayout>
#include <QMdiSubWindow>
#include <QPushButton>

TFormcshlc::TFormcshlc(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formcshlc");
    setWindowTitle("系统流程设置");

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setHorizontalSpacing(32);
    layout->setVerticalSpacing(18);
    layout->addWidget(addButton("借阅室管理", "rooms"), 0, 0);
    layout->addWidget(addButton("图书分类设置", "classification"), 1, 0);
    layout->addWidget(addButton("借阅证起始号码", "numbering"), 2, 0);
    layout->addWidget(addButton("借书等级设置", "grades"), 0, 1);
    layout->addWidget(addButton("操作员管理", "operators"), 1, 1);
    layout->addWidget(addButton("操作员权限管理", "rights"), 2, 1);

    connect(findChild<QPushButton*>("rooms"), &QPushButton::clicked, this,
            [this] { openCommand(roomsKey); });
    connect(findChild<QPushButton*>("classification"), &QPushButton::clicked, this,
            [this] { openCommand(classificationKey); });
    connect(findChild<QPushButton*>("numbering"), &QPushButton::clicked, this,
            [this] { Windows::runModal(new Tbhcshfm(this)); });
    connect(findChild<QPushButton*>("grades"), &QPushButton::clicked, this,
            [this] { Windows::runModal(new Tkpszfm(this)); });
    // Operator management applies the grade rule itself: all operators for an
    // administrator, one's own password for everyone else.
    connect(findChild<QPushButton*>("operators"), &QPushButton::clicked, this,
            [this] { openCommand(operatorsKey); });
    connect(findChild<QPushButton*>("rights"), &QPushButton::clicked, this,
            &TFormcshlc::openRights);

    setFixedSize(sizeHint());
}

void TFormcshlc::changeEvent(QEvent* event)
{
    // A fixed-size screen in the frame area: minimise and close, but nothing to maximise.
    if (event->type() == QEvent::ParentChange) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    }
    QWidget::changeEvent(event);
}

QPushButton* TFormcshlc::addButton(const QString& caption, const char* name)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumSize(170, 44);
    button->setAutoDefault(true); // Enter presses the focused button
    return button;
}

void TFormcshlc::openCommand(const char* key)
{
    Commands::open(key, this);
}

void TFormcshlc::openRights()
{
    // Only an administrator grants rights; anyone else gets the password change, which
    // is what operator management offers a non-administrator.
    openCommand(Session::current().isAdministrator() ? rightsKey : operatorsKey);
}
