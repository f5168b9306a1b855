#include "cards/kpgs.h"

#include "data/dates.h"
#include "desk/cancellation.h"
#include "desk/refused.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
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

namespace {
constexpr const char* noticeCaption = "提示信息";
}

Tkpgsfm::Tkpgsfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("kpgsfm");
    setWindowTitle("注销借书证");
    Help::setContext(this, helpContext);
    buildScreen();
    m_searched.clear();
    m_number->setFocus();
}

void Tkpgsfm::buildScreen()
{
    const auto box = [this](const char* name, bool readOnly) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setReadOnly(readOnly);
        if (readOnly)
            edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    };
    m_number = box("Edit1", false);
    HalfWidth::apply(m_number);
    GbkLimit::apply(m_number, 12);
    m_name = box("Edit2", false);
    GbkLimit::apply(m_name, 8);
    m_photo = new QLabel(this);
    m_photo->setObjectName("Image1");
    m_photo->setFixedSize(121, 128);
    m_photo->setFrameShape(QFrame::Box);
    m_photo->setScaledContents(true); // stretched to its frame

    auto* top = new QGridLayout;
    top->addWidget(new QLabel("借阅证编号:", this), 0, 0, Qt::AlignRight);
    top->addWidget(m_number, 0, 1);
    top->addWidget(new QLabel("读者名:", this), 1, 0, Qt::AlignRight);
    top->addWidget(m_name, 1, 1);

    const QList<QPair<const char*, const char*>> bound = {
        {"Kdj", "等级:"},    {"Sfzh", "身份证号:"}, {"Bkrq", "办卡日期:"},
        {"Yj", "已付押金:"}, {"Tel", "电话:"},      {"Dz", "现在住址:"}};
    int row = 2;
    for (const auto& [name, caption] : bound) {
        QLineEdit* edit = box(name, true);
        m_bound << edit;
        top->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight);
        top->addWidget(edit, row++, 1);
    }
    top->setColumnMinimumWidth(1, 220);

    auto* photoColumn = new QVBoxLayout;
    photoColumn->addWidget(new QLabel("相片：", this));
    photoColumn->addWidget(m_photo);
    photoColumn->addStretch();
    auto* upper = new QHBoxLayout;
    upper->addLayout(top, 1);
    upper->addSpacing(12);
    upper->addLayout(photoColumn);

    m_validUntil = box("Edit4", true);
    m_refund = box("Edit3", false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel("有效日期:", this));
    bottom->addWidget(m_validUntil);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel("退还押金:", this));
    bottom->addWidget(m_refund);

    const auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_search = button("查询&F", "query");
    QPushButton* cancel = button("注销&C", "cancelCard");
    QPushButton* close = button("关闭&X", "close");
    QPushButton* help = button("帮助&H", "help");
    help->hide(); // F1 opens the help page
    connect(m_search, &QPushButton::clicked, this, &Tkpgsfm::searchClick);
    connect(cancel, &QPushButton::clicked, this, &Tkpgsfm::cancelClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_search, cancel, close, help})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addLayout(bottom);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);

    setTabOrder(m_number, m_name);
    setTabOrder(m_name, m_search);
    setTabOrder(m_search, m_refund);
    setTabOrder(m_refund, cancel);
    setTabOrder(cancel, close);
    EnterChain::link(this, {m_number, m_name, m_search});
    Screen::onLeave(m_refund, [this] { return leaveRefund(); });
}

void Tkpgsfm::showCard(const CardRecord* card)
{
    const QStringList texts = card ? QStringList{card->grade,
                                                 card->identity,
                                                 Dates::toText(card->issued),
                                                 card->deposit.toShortest(),
                                                 card->telephone,
                                                 card->address}
                                   : QStringList{};
    for (int i = 0; i < m_bound.size(); ++i)
        m_bound[i]->setText(texts.value(i));
    m_photo->clear();
    if (card && !card->photoPath.isEmpty()) {
        const QPixmap picture(card->photoPath); // a missing or unreadable file shows nothing
        if (!picture.isNull())
            m_photo->setPixmap(picture);
    }
}

void Tkpgsfm::searchClick()
{
    std::optional<CardRecord> card;
    if (!Action::run(this, [&] { card = Cancellation::search(m_number->text(), m_name->text()); }))
        return;
    if (!card) {
        m_searched.clear();
        showCard(nullptr);
        Messages::notice(this, noticeCaption, "没有查找到所需记录!");
        return;
    }
    m_searched = card->number;
    showCard(&*card);
    m_number->setText(card->number);
    m_name->setText(card->name);
    m_refund->setText(card->deposit.toShortest()); // the deposit is proposed as the refund
    m_validUntil->setText(Dates::toText(card->validUntil));
}

bool Tkpgsfm::leaveRefund()
{
    if (m_refund->text().isEmpty())
        return true;
    try {
        m_refund->setText(Cancellation::readRefund(m_refund->text()).toShortest());
        return true;
    } catch (const Refused& refused) {
        Messages::notice(this, refused.caption(), refused.text());
        return false;
    }
}

void Tkpgsfm::cancelClick()
{
    if (!Action::run(this, [&] { Cancellation::cancel(m_searched, m_refund->text()); }))
        return;
    Messages::notice(this, noticeCaption, "注销成功!");
    for (QLineEdit* box : {m_number, m_name, m_refund, m_validUntil})
        box->clear();
    showCard(nullptr);
    m_searched.clear();
    m_number->setFocus();
}
