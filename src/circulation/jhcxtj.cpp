#include "circulation/jhcxtj.h"

#include "data/dates.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* noticeCaption = "提示信息";
constexpr const char* badDateText = "日期格式错误！";

QComboBox* editableChoice(QWidget* parent, const char* name, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setMinimumWidth(120);
    return box;
}
} // namespace

Tjhcxtjfm::Tjhcxtjfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("jhcxtjfm");
    setWindowTitle("读者借还图书查询条件");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    const auto edit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        return box;
    };
    m_card = edit("Edit1");
    HalfWidth::apply(m_card);
    m_name = edit("Edit2");
    m_title = edit("Edit3");
    m_barcode = edit("Edit4");
    HalfWidth::apply(m_barcode);
    m_damaged = editableChoice(this, "ComboBox1", {"Y", "N"});
    m_lentFrom = DateBox::create(this, "Edit5", "BitBtn3");
    m_lentTo = DateBox::create(this, "Edit6", "BitBtn4");
    QStringList operators{"Y", "N"};
    Action::run(this, [&] { operators << LoanQueries::operatorNames(); });
    m_lender = editableChoice(this, "ComboBox2", operators);
    m_returner = editableChoice(this, "ComboBox3", operators);
    m_returnFrom = DateBox::create(this, "Edit9", "BitBtn5");
    m_returnTo = DateBox::create(this, "Edit10", "BitBtn6");

    auto* ok = new QPushButton("确定&O", this);
    ok->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消&X", this);
    cancel->setObjectName("BitBtn2");

    // A picked date moves on as the desk's order has it.
    m_lentFrom->setNext(m_lentTo->edit());
    m_lentTo->setNext(m_lender);
    m_returnFrom->setNext(m_returnTo->edit());
    m_returnTo->setNext(ok);
    for (DateBox* box : {m_lentFrom, m_lentTo, m_returnFrom})
        box->checkOnLeave(noticeCaption, badDateText, DateBox::OnInvalid::Clear);
    m_returnTo->checkOnLeave(noticeCaption, badDateText, DateBox::OnInvalid::Keep);
    connect(m_lentTo, &DateBox::leftWithDate, this, [this] { checkRange(m_lentFrom, m_lentTo); });
    connect(m_returnTo, &DateBox::leftWithDate, this,
            [this] { checkRange(m_returnFrom, m_returnTo); });

    auto* form = new QGridLayout;
    const auto row = [&](int r, const char* label, QWidget* box, QWidget* button = nullptr,
                         int column = 0) {
        form->addWidget(new QLabel(label, this), r, column);
        form->addWidget(box, r, column + 1);
        if (button)
            form->addWidget(button, r, column + 2);
    };
    row(0, "借阅证号", m_card);
    row(0, "读者姓名", m_name, nullptr, 3);
    row(1, "图书名称", m_title);
    row(1, "图书条码", m_barcode, nullptr, 3);
    row(2, "是否损坏", m_damaged);
    row(3, "借书日期", m_lentFrom->edit(), m_lentFrom->button());
    row(3, "到", m_lentTo->edit(), m_lentTo->button(), 3);
    row(4, "借书经手人", m_lender);
    row(4, "还书经手人", m_returner, nullptr, 3);
    row(5, "还书日期", m_returnFrom->edit(), m_returnFrom->button());
    row(5, "到", m_returnTo->edit(), m_returnTo->button(), 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    EnterChain::link(this, {m_card, m_name, m_title, m_barcode, m_damaged, m_lentFrom->edit(),
                            m_lentTo->edit(), m_lender, m_returner, m_returnFrom->edit(),
                            m_returnTo->edit(), ok});
    connect(ok, &QPushButton::clicked, this, &Tjhcxtjfm::okClick);
    // Cancel, Esc and the close button all hand over the loans without conditions.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Screen::closeOnEscape(this);
    m_card->setFocus();
}

LoanSelection Tjhcxtjfm::ask(QWidget* parent)
{
    auto* dialog = new Tjhcxtjfm(parent);
    dialog->exec();
    const LoanSelection chosen =
        dialog->result() == QDialog::Accepted ? dialog->selection() : LoanSelection::matching({});
    delete dialog;
    return chosen;
}

void Tjhcxtjfm::checkRange(DateBox* from, DateBox* to)
{
    if (from->date().isValid() && to->date() < from->date()) {
        Messages::notice(this, noticeCaption, "前一日期比后一日期大，请重输！");
        to->refocus();
    }
}

bool Tjhcxtjfm::readDates(LoanConditions* c)
{
    // A box typed into and never left has not been checked yet.
    const QList<std::pair<DateBox*, QDate*>> boxes{{m_lentFrom, &c->lentFrom},
                                                   {m_lentTo, &c->lentTo},
                                                   {m_returnFrom, &c->returnFrom},
                                                   {m_returnTo, &c->returnTo}};
    for (const auto& [box, date] : boxes) {
        const QString text = box->edit()->text().trimmed();
        if (text.isEmpty())
            continue;
        *date = Dates::parse(text);
        if (!date->isValid()) {
            Messages::notice(this, noticeCaption, badDateText);
            box->edit()->setFocus();
            return false;
        }
    }
    return true;
}

void Tjhcxtjfm::okClick()
{
    LoanConditions c;
    c.card = m_card->text();
    c.name = m_name->text();
    c.title = m_title->text();
    c.barcode = m_barcode->text();
    c.damaged = m_damaged->currentText();
    c.lender = m_lender->currentText();
    c.returner = m_returner->currentText();
    if (!readDates(&c))
        return;
    if (!Action::run(this, [&] { LoanQueries::check(c); }))
        return;
    m_selection = LoanSelection::matching(c);
    accept();
}
