#include "cards/jjkcz.h"

#include "cards/jyxx.h"
#include "data/clock.h"
#include "data/dates.h"
#include "desk/cardrecord.h"
#include "desk/refused.h"
#include "desk/topups.h"
#include "reports/reportoutput.h"
#include "reports/tszprint.h"
#include "ui/action.h"
#include "ui/commands.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr QSize photoSize(121, 128);
}

TFormjjkcz::TFormjjkcz(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formjjkcz");
    setWindowTitle("充值管理");
    buildScreen();
    m_validDays = 0;
    connect(qApp, &QApplication::focusChanged, this, &TFormjjkcz::focusChanged);
    m_number->setFocus();
}

TFormjjkcz::~TFormjjkcz()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TFormjjkcz::buildScreen()
{
    const auto box = [this](QWidget* parent, const char* name, bool readOnly) {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(name);
        edit->setReadOnly(readOnly);
        if (readOnly)
            edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    };

    auto* numberGroup = new QGroupBox("借书证号", this);
    m_number = box(numberGroup, "Edit7", false);
    HalfWidth::apply(m_number);
    m_number->setToolTip("[输入完回车]");
    GbkLimit::apply(m_number, 12);
    m_photo = new QLabel(numberGroup);
    m_photo->setObjectName("Image1");
    m_photo->setFixedSize(photoSize);
    m_photo->setFrameShape(QFrame::Box);
    m_photo->setAlignment(Qt::AlignCenter);
    auto* numberLayout = new QGridLayout(numberGroup);
    numberLayout->addWidget(new QLabel("编号(顺序):", numberGroup), 0, 0);
    numberLayout->addWidget(m_number, 1, 0);
    numberLayout->addWidget(m_photo, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    numberLayout->setRowStretch(3, 1);

    auto* infoGroup = new QGroupBox("借书证信息", this);
    m_grade = box(infoGroup, "Edit9", true);
    m_name = box(infoGroup, "Edit1", true);
    m_identity = box(infoGroup, "Edit2", true);
    m_deposit = box(infoGroup, "Edit3", true);
    m_oldValid = box(infoGroup, "Edit11", true);
    m_telephone = box(infoGroup, "Edit4", true);
    m_address = box(infoGroup, "Edit5", true);
    m_workUnit = box(infoGroup, "Edit6", true);
    m_validUntilBox = DateBox::create(infoGroup, "Edit8", "dateButton");
    m_validUntil = m_validUntilBox->edit();
    m_amount = box(infoGroup, "Edit10", false);
    m_validUntilBox->setNext(m_amount);

    auto* info = new QGridLayout(infoGroup);
    int row = 0;
    const auto addRow = [&](const char* caption, QWidget* widget) {
        info->addWidget(new QLabel(caption, infoGroup), row, 0, Qt::AlignRight);
        info->addWidget(widget, row++, 1);
    };
    addRow("等级:", m_grade);
    addRow("读者姓名:", m_name);
    addRow("身份证号(学生证):", m_identity);
    addRow("押金:", m_deposit);
    addRow("原有效期到:", m_oldValid);
    auto* dateRow = new QWidget(infoGroup);
    auto* dateLayout = new QHBoxLayout(dateRow);
    dateLayout->setContentsMargins(0, 0, 0, 0);
    dateLayout->setSpacing(2);
    dateLayout->addWidget(m_validUntil, 1);
    dateLayout->addWidget(m_validUntilBox->button());
    addRow("有效日期:", dateRow);
    addRow("充值金额:", m_amount);
    addRow("电话:", m_telephone);
    addRow("地址:", m_address);
    addRow("工作单位:", m_workUnit);
    info->setColumnMinimumWidth(1, 200);

    m_printPhoto = new QCheckBox("同时打印照片", this);
    m_printPhoto->setObjectName("CheckBox1");
    m_printPhoto->setChecked(true);

    const auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_topUp = button("充值", "topUp");
    QPushButton* print = button("打印&P", "print");
    QPushButton* query = button("充值查询", "topUpQuery");
    QPushButton* close = button("关闭&X", "close");
    connect(m_topUp, &QPushButton::clicked, this, &TFormjjkcz::topUpClick);
    connect(print, &QPushButton::clicked, this, &TFormjjkcz::printClick);
    connect(query, &QPushButton::clicked, this,
            [this] { Commands::open("N19", this, "您没有操作此权限"); });
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printPhoto);
    buttons->addStretch();
    for (QPushButton* b : {m_topUp, print, query, close})
        buttons->addWidget(b);

    auto* groups = new QHBoxLayout;
    groups->addWidget(numberGroup);
    groups->addWidget(infoGroup, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    setTabOrder(m_number, m_validUntil);
    setTabOrder(m_validUntil, m_amount);
    setTabOrder(m_amount, m_topUp);
    // After the look-up the focus rests on the old date; Enter goes on to the new one.
    EnterChain::link(this, {m_oldValid, m_validUntil, m_amount, m_topUp})
        ->onEnter(m_number, [this] {
            lookUp();
            return false; // the look-up moves the focus itself
        });
    Screen::closeOnEscape(this);
}

void TFormjjkcz::focusChanged(QWidget* from, QWidget* to)
{
    // Only coming from another control of this screen is entering the box: not this
    // window being activated again, nor the focus coming back after the date picker.
    if (to != m_validUntil || !from || from == m_validUntilBox->button() || !isAncestorOf(from))
        return;
    if (m_validDays != 0)
        m_validUntil->setText(Dates::toText(Clock::today().addDays(m_validDays)));
}

void TFormjjkcz::lookUp()
{
    const QString prefix = m_number->text();
    QStringList matches;
    if (!Action::run(this, [&] {
            matches = TopUps::firstMatches(prefix);
            if (matches.isEmpty())
                throw Refused::plain("没有找到您需要的数据！");
        }))
        return;
    QString number = matches.first();
    if (matches.size() > 1) {
        const std::optional<QString> chosen = TFormjyxx::choose(prefix, this);
        if (!chosen)
            return;
        number = *chosen;
    }
    std::optional<CardRecord> card;
    int days = 0;
    if (!Action::run(this, [&] {
            card = CardRecords::find(number);
            if (!card)
                throw Refused::plain("没有找到您需要的数据！");
            days = TopUps::validDays(card->grade);
        }))
        return;
    m_lookedUp = card->number;
    m_number->setText(card->number);
    m_grade->setText(card->grade);
    m_name->setText(card->name);
    m_identity->setText(card->identity);
    m_deposit->setText(card->deposit.toFixed2());
    m_telephone->setText(card->telephone);
    m_address->setText(card->address);
    m_workUnit->setText(card->workUnit);
    m_oldValid->setText(Dates::toText(card->validUntil));
    m_photo->clear();
    m_photoPath.clear();
    if (!card->photoPath.isEmpty() && QFile::exists(card->photoPath)) {
        const QPixmap picture(card->photoPath);
        if (!picture.isNull()) {
            m_photoPath = card->photoPath;
            m_photo->setPixmap(
                picture.scaled(m_photo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
    }
    // The grade's days are known before the focus moves on towards the new date.
    m_validDays = days;
    m_oldValid->setFocus(Qt::OtherFocusReason);
}

void TFormjjkcz::topUpClick()
{
    if (!m_number->text().isEmpty() && m_lookedUp == m_number->text() &&
        Dates::isDate(m_validUntil->text()) && m_amount->text().isEmpty())
        m_amount->setText("0");
    const TopUps::Request request{m_lookedUp, m_number->text(), m_name->text(),
                                  m_validUntil->text(), m_amount->text()};
    if (!Action::run(this, [&] { TopUps::extend(request, Action::askWith(this)); }))
        return;
    Messages::plain(this, "充值完成！");
    for (QLineEdit* box : {m_number, m_name, m_grade, m_identity, m_deposit, m_amount, m_telephone,
                           m_address, m_workUnit})
        box->clear();
    m_photo->clear();
    m_photoPath.clear();
    m_lookedUp.clear();
    m_number->setFocus();
}

void TFormjjkcz::printClick()
{
    Ttszprintfm card;
    card.setGrade(m_grade->text());
    card.setCardNumber(m_number->text());
    card.setName(m_name->text());
    card.setIdentityNumber(m_identity->text());
    card.setAddress(m_address->text());
    card.setWorkUnit(m_workUnit->text());
    card.setCardDate(Dates::toText(Clock::today()));
    card.setValidUntil(m_validUntil->text());
    if (m_printPhoto->isChecked() && !m_photoPath.isEmpty())
        card.setPhoto(QImage(m_photoPath));
    // The card printed here is used at the desk like an issued one: its scanner reads the
    // number off it.
    card.setNumberBarcode(true);
    ReportOutput::preview(card.report(), this);
    m_topUp->setFocus();
}
