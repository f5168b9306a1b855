#include "circulation/dzshfk.h"

#include "desk/fines.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tdzshfkfm::Tdzshfkfm(const QString& readerName, const QString& barcode, QWidget* parent)
    : QDialog(parent), m_readerName(readerName), m_loanBarcode(barcode)
{
    setObjectName("dzshfkfm");
    setWindowTitle("读者损坏罚款");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildScreen();
    setFixedSize(sizeHint());
}

void Tdzshfkfm::buildScreen()
{
    m_amount = new QLineEdit(this);
    m_amount->setObjectName("Edit1");
    m_amount->setMinimumWidth(160);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("读者损坏罚款", this));
    row->addWidget(m_amount);

    auto* ok = new QPushButton("确定&O", this);
    ok->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消&X", this);
    cancel->setObjectName("BitBtn2");
    for (QPushButton* b : {ok, cancel})
        b->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tdzshfkfm::confirmClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 12, 16, 12);

    EnterChain::link(this, {m_amount, ok});
    Screen::closeOnEscape(this);
    m_amount->setFocus();
}

void Tdzshfkfm::confirmClick()
{
    const QString typed = m_amount->text();
    const bool booked = Action::run(this, [&] { Fines::confirmDamage(typed); });
    if (!booked)
        return;
    Messages::notice(this, Fines::hintCaption, Fines::damageSaved);
    // The bill shows only an amount that was booked.
    if (FineBills::printFlag())
        m_bills << FineBills::Bill{FineBills::Bill::Kind::Damage, m_readerName, m_loanBarcode, 0,
                                   typed};
}
