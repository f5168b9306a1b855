#include "circulation/yqfkdj.h"

#include "circulation/dzjycx.h"
#include "data/sql.h"
#include "pickers/dzjykxx.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tyqfkdjfm::Tyqfkdjfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("yqfkdjfm");
    setWindowTitle("读者逾期罚款登记");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildScreen();
    setFixedSize(sizeHint());
}

void Tyqfkdjfm::buildScreen()
{
    auto box = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMinimumWidth(180);
        return edit;
    };
    m_card = box("Edit1");
    HalfWidth::apply(m_card);
    m_card->setMaxLength(12);
    m_grade = box("Edit2");
    m_barcode = box("Edit4");
    HalfWidth::apply(m_barcode);
    m_barcode->setMaxLength(20);
    m_amount = box("Edit3");

    auto* form = new QGridLayout;
    form->addWidget(new QLabel("借阅卡号", this), 0, 0);
    form->addWidget(m_card, 0, 1);
    form->addWidget(new QLabel("卡等级", this), 1, 0);
    form->addWidget(m_grade, 1, 1);
    form->addWidget(new QLabel("图书条码", this), 2, 0);
    form->addWidget(m_barcode, 2, 1);
    form->addWidget(new QLabel("此本罚款金额", this), 3, 0);
    form->addWidget(m_amount, 3, 1);

    auto* hint = new QLabel("提示:系统自动算出逾期罚款金额!", this);
    hint->setStyleSheet("color: blue;");

    m_confirm = new QPushButton("确定罚款", this);
    m_confirm->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消罚款", this);
    cancel->setObjectName("BitBtn2");
    for (QPushButton* b : {m_confirm, cancel})
        b->setAutoDefault(true); // Enter presses the focused button
    connect(m_confirm, &QPushButton::clicked, this, &Tyqfkdjfm::confirmClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirm);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 12, 16, 12);

    EnterChain::link(this, {m_card, m_barcode, m_amount, m_confirm})
        ->onEnter(m_card, [this] { return cardEntry(); })
        ->onEnter(m_barcode, [this] { return barcodeEntry(); })
        ->hop(m_grade, m_barcode);
    setTabOrder(m_card, m_grade);
    setTabOrder(m_grade, m_barcode);
    setTabOrder(m_barcode, m_amount);
    setTabOrder(m_amount, m_confirm);
    Help::attach(this, helpContext);
    Screen::closeOnEscape(this);
}

void Tyqfkdjfm::offer(const QString& card, const QString& grade, const QString& barcode, int days,
                      const QString& amount)
{
    m_inAction = true;
    m_card->setText(card);
    m_grade->setText(grade);
    m_barcode->setText(barcode);
    m_amount->setText(amount);
    m_days = days;
    m_amount->setFocus();
}

bool Tyqfkdjfm::cardEntry()
{
    Fines::CardMatch match;
    if (!Action::run(this, [&] { match = Fines::findCard(m_card->text()); }))
        return false;
    if (match.count > 1) {
        // The card chosen from the list is the card of the fine.
        const QString number = Tdzjykxxfm::pick(Fines::matchingCards(m_card->text()), this);
        if (number.isEmpty())
            return false;
        match.number = number;
        Action::run(this, [&] { match.grade = Fines::gradeOf(number); });
    }
    m_card->setText(match.number);
    m_grade->setText(match.grade);
    m_barcode->setFocus();
    return false;
}

bool Tyqfkdjfm::barcodeEntry()
{
    if (m_card->text().isEmpty() || m_barcode->text().isEmpty())
        return false;
    Fines::LoanMatch match;
    if (!Action::run(this, [&] { match = Fines::findOpenLoan(m_card->text(), m_barcode->text()); }))
        return false;
    if (match.count > 1) {
        // The loan query shows the full barcodes to choose from.
        Tdzjycxfm::openMatching(m_card->text(), m_barcode->text());
        return false;
    }
    m_barcode->setText(match.barcode);
    if (!m_inAction)
        m_days = match.daysOverdue;
    m_amount->setFocus();
    return false;
}

void Tyqfkdjfm::confirmClick()
{
    const Fines::OverdueEntry entry{m_card->text(), m_grade->text(), m_barcode->text(),
                                    m_amount->text()};
    bool failed = false;
    Fines::OverdueOutcome outcome;
    QString reader;
    const bool done = Action::run(this, [&] {
        try {
            outcome = Fines::confirmOverdue(entry, Action::askWith(this));
        } catch (const StoreError&) {
            // Only this confirm is undone (the store has logged why); the dialog stays.
            failed = true;
            return;
        }
        if (FineBills::printFlag())
            reader = Fines::readerName(entry.card);
    });
    if (failed) {
        Messages::notice(this, Fines::saveCaption, Fines::overdueNotSaved);
        return;
    }
    if (!done)
        return;
    m_outcome = outcome;
    if (FineBills::printFlag()) {
        const FineBills::Bill bill{FineBills::Bill::Kind::Overdue, reader, entry.barcode, m_days,
                                   entry.amount};
        if (m_inAction)
            m_bills << bill; // printed once the return or renewal has been committed
        else
            FineBills::print({bill}, this);
    }
    accept();
}
