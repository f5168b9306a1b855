#include "cards/bhcsh.h"

#include "data/sql.h"
#include "desk/cardsequence.h"
#include "ui/action.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {
// Card numbers are at most twelve characters wide.
constexpr int cardNumberWidth = 12;
} // namespace

Tbhcshfm::Tbhcshfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("bhcshfm");
    setWindowTitle("初始化编号");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildScreen();
    FormShow();
    setFixedSize(sizeHint());
}

void Tbhcshfm::buildScreen()
{
    auto* hintTitle = new QLabel("小提示：", this);
    auto* hint = new QLabel("编号以此为起点进行累加!", this);
    hint->setStyleSheet("color: blue;");

    auto* typeGroup = new QGroupBox("类型", this);
    m_icCard = new QRadioButton("IC卡", typeGroup);
    m_icCard->setObjectName("RadioButton1");
    m_libraryCard = new QRadioButton("借书证", typeGroup);
    m_libraryCard->setObjectName("RadioButton2");
    auto* typeLayout = new QHBoxLayout(typeGroup);
    typeLayout->addWidget(m_icCard);
    typeLayout->addWidget(m_libraryCard);

    m_number = new QLineEdit(this);
    HalfWidth::apply(m_number);
    m_number->setObjectName("Edit1");
    m_number->setMaxLength(cardNumberWidth);
    m_number->setMinimumWidth(150);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel("编号:", this));
    numberRow->addWidget(m_number);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("ok");
    auto* close = new QPushButton("关闭", this);
    close->setObjectName("close");
    // Enter presses OK, except on a focused Close, which it must not turn into a write.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tbhcshfm::okClick);
    connect(close, &QPushButton::clicked, this, &Tbhcshfm::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);

    auto* hintRow = new QHBoxLayout;
    hintRow->addWidget(hintTitle);
    hintRow->addWidget(hint);
    hintRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(hintRow);
    layout->addWidget(typeGroup);
    layout->addLayout(numberRow);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 12, 16, 12);

    Help::setContext(this, helpContext);
    Screen::closeOnEscape(this);
}

void Tbhcshfm::FormShow()
{
    // The type is not loaded: every opening starts from "IC卡".
    m_icCard->setChecked(true);
    m_number->setText(CardSequence::current().number);
    m_number->setFocus();
}

void Tbhcshfm::okClick()
{
    const QString number = m_number->text();
    const QString type = m_icCard->isChecked() ? "IC卡" : "借阅证";
    if (Action::run(this, [&] { CardSequence::start(number, type); }))
        accept();
}

void Tbhcshfm::reject()
{
    // The screen is not left with a number a reader's card already has.
    bool taken = false;
    Action::run(this, [&] { taken = CardSequence::isTaken(m_number->text()); });
    if (taken) {
        Messages::notice(this, "提示", "有读者已存在此编号，请重输！");
        return;
    }
    QDialog::reject();
}
