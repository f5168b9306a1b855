#include "catalogue/jscl.h"

#include "catalogue/cxxxts.h"
#include "data/money.h"
#include "data/sql.h"
#include "desk/disposal.h"
#include "pickers/tsxx.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/enterkeys.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr const char* noBarcodeText = "您必须输入被处理的图书的条形码后，才能处理该图书。";
} // namespace

Tjsclfm::Tjsclfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("jsclfm");
    setWindowTitle("旧书处理");
    // Enter on the close and help buttons moves on instead of pressing them.
    setProperty(EnterKeys::ownRulesProperty, true);
    buildScreen();
    move(0, 0);
    m_barcode->setFocus();
}

void Tjsclfm::buildScreen()
{
    const auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMinimumWidth(220);
        return box;
    };
    m_barcode = lineEdit("Edit1");
    HalfWidth::apply(m_barcode, HalfWidth::Fold::DigitsAndLetters);
    m_title = lineEdit("Edit2");
    m_quantity = lineEdit("Edit3");
    HalfWidth::apply(m_quantity);
    m_method = new QComboBox(this);
    m_method->setObjectName("ComboBox1");
    m_method->addItems({Disposal::scrap, Disposal::sale});
    m_method->setCurrentIndex(-1);
    m_amount = lineEdit("Edit4");
    m_amount->setReadOnly(true);
    m_remark = lineEdit("Edit5");

    m_pick = new QPushButton(">>>", this);
    m_pick->setObjectName("BitBtn5");
    m_pick->setAutoDefault(false);
    m_pick->setFocusPolicy(Qt::ClickFocus);
    QSizePolicy keep = m_pick->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_pick->setSizePolicy(keep);
    m_pick->hide();

    auto* boxes = new QGridLayout;
    boxes->setVerticalSpacing(8);
    const QList<QPair<const char*, QWidget*>> rows{{"图书条码/拼音助记符", m_barcode},
                                                   {"图书名称", m_title},
                                                   {"处理本数", m_quantity},
                                                   {"处理方式", m_method},
                                                   {"处理金额", m_amount},
                                                   {"备注", m_remark}};
    for (int i = 0; i < rows.size(); ++i) {
        boxes->addWidget(new QLabel(rows[i].first, this), i, 0, Qt::AlignRight);
        boxes->addWidget(rows[i].second, i, 1);
    }
    boxes->addWidget(m_pick, 0, 2);

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_ok = button("确定&O", "ok");
    m_cancel = button("取消&C", "cancel");
    m_close = button("关闭&X", "close");
    m_help = button("帮助&H", "help");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_ok, m_cancel, m_close, m_help})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &Tjsclfm::disposeClick);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        clearBoxes();
        m_barcode->setFocus();
    });
    connect(m_close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    connect(m_pick, &QPushButton::clicked, this, &Tjsclfm::pickAll);
    connect(m_method, &QComboBox::activated, this, &Tjsclfm::methodChosen);
    Help::attach(this, helpContext, m_help);
    Screen::closeOnEscape(this);

    const QList<QWidget*> order{m_barcode, m_title, m_quantity, m_method, m_amount,
                                m_remark,  m_ok,    m_cancel,   m_close,  m_help};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
    EnterChain::link(this, {m_title, m_quantity, m_method, m_amount, m_remark})
        ->hop(m_close, m_help)
        ->hop(m_help, m_barcode)
        ->onEnter(m_barcode, [this] { return lookUp(); });

    Screen::onLeave(m_amount, [this] { return checkAmount(); });
    Screen::onLeave(m_quantity, [this] { return checkQuantity(); });

    // ">>>" shows while the barcode box has the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == m_barcode)
            m_pick->show();
        else if (now != m_pick && now && isAncestorOf(now))
            m_pick->hide();
    });
}

bool Tjsclfm::lookUp()
{
    const QString text = m_barcode->text();
    if (text.isEmpty()) {
        Messages::notice(this, Disposal::caption, noBarcodeText);
        return false;
    }
    const QString statement =
        "select * from tszk where ((txm like:txm) or (tsmc like:tsmc)) and bs>0";
    const QVariantList values{"%" + text + "%", "%" + text + "%"};
    int found = 0;
    QString barcode;
    QString title;
    int held = 0;
    if (!Action::run(this, [&] {
            Sql q(statement, Sql::Reading::ForwardOnly);
            q.bindAll(values).exec();
            while (found < 2 && q.next()) {
                ++found;
                barcode = q.text("txm");
                title = q.text("tsmc");
                held = q.integer("bs");
            }
        }))
        return false;
    if (found == 0) {
        Messages::notice(this, Disposal::caption, "图书总库不存在该条形码！请确定后重新输入。");
        m_barcode->setFocus();
        return false;
    }
    if (found == 1) {
        take(barcode, title, held);
        return false;
    }
    Ttsxxfm picker(statement, values, this);
    picker.exec();
    if (!picker.isEmpty())
        take(picker.barcode(), picker.value("tsmc").toString(), picker.value("bs").toInt());
    return false;
}

void Tjsclfm::pickAll()
{
    Ttsxxfm picker("select * from tszk where  bs>0", {}, this);
    picker.exec();
    if (!picker.isEmpty())
        take(picker.barcode(), picker.value("tsmc").toString(), picker.value("bs").toInt());
}

void Tjsclfm::take(const QString& barcode, const QString& title, int held)
{
    m_barcode->setText(barcode);
    m_title->setText(title);
    m_held = held;
    m_quantity->setFocus();
}

void Tjsclfm::setAmountEditable(bool editable)
{
    m_amount->setReadOnly(!editable);
    // The themes colour read-only boxes: the box takes its new look at once.
    m_amount->style()->unpolish(m_amount);
    m_amount->style()->polish(m_amount);
}

void Tjsclfm::methodChosen(int index)
{
    if (m_method->itemText(index) == Disposal::sale) {
        setAmountEditable(true);
        m_amount->setFocus();
    } else {
        // A scrapped book brings in nothing: an amount typed before is dropped.
        m_amount->clear();
        setAmountEditable(false);
        m_remark->setFocus();
    }
}

bool Tjsclfm::checkAmount()
{
    if (m_amount->text().isEmpty())
        return true;
    bool ok = false;
    const Money amount = Money::fromText(m_amount->text(), &ok);
    if (!ok || amount < Money()) {
        Messages::notice(this, "提示", "金额格式错误，请重新输入！");
        return false;
    }
    m_amount->setText(amount.toShortest());
    return true;
}

bool Tjsclfm::checkQuantity()
{
    if (m_quantity->text().isEmpty())
        return true;
    // Leaving for close, cancel or help checks nothing.
    QWidget* to = QApplication::focusWidget();
    if (to == m_close || to == m_cancel || to == m_help)
        return true;
    const std::optional<int> quantity = Disposal::quantity(m_quantity->text());
    if (!quantity) {
        Messages::notice(this, "提示", Disposal::notANumberText);
        return false;
    }
    if (*quantity > m_held) {
        Messages::notice(this, "提示", Disposal::moreThanHeldText);
        return false;
    }
    return true;
}

void Tjsclfm::disposeClick()
{
    DisposalRequest request;
    request.barcode = m_barcode->text();
    request.title = m_title->text();
    request.quantity = m_quantity->text();
    request.method = m_method->currentText();
    request.amount = m_amount->text();
    request.remark = m_remark->text();
    Disposal::Outcome outcome;
    if (!Action::run(this, [&] { outcome = Disposal::dispose(request); }))
        return;
    if (!outcome.done) {
        Tcxxxtsfm::open(outcome.shortage, this);
        return;
    }
    Messages::notice(this, "保存提示", "您的旧书处理已经成功！");
    clearBoxes();
    m_barcode->setFocus();
}

void Tjsclfm::clearBoxes()
{
    for (QLineEdit* box : {m_barcode, m_title, m_quantity, m_amount, m_remark})
        box->clear();
    m_method->setCurrentIndex(-1);
    setAmountEditable(false);
}
