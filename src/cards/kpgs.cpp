#include "cards/kpgs.h"

#include "data/dates.h"
#include "desk/cancellation.h"
#include "desk/refused.h"
#include "ui/action.h"
#include "ui/gbklimit.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
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
        {"Kdj", "等级:"}, {"Sfzh", "身份证号:"}, {"Bkrq", "办卡日期:"},
        {"Yj", "已付押金:"}, {"Tel", "电话:"},    {"Dz", "现在住址:"}};
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
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            this->close();
    });
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_search, cancel, close, help})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addLayout(bottom);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    auto* closeAction = new QAction("关闭", this);
    closeAction->setShortcut(Qt::Key_Escape);
    closeAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(closeAction, &QAction::triggered, close, &QPushButton::click);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    setTabOrder(m_number, m_name);
    setTabOrder(m_name, m_search);
    setTabOrder(m_search, m_refund);
    setTabOrder(m_refund, cancel);
    setTabOrder(cancel, close);
    m_number->installEventFilter(this);
    m_name->installEventFilter(this);
    m_refund->installEventFilter(this);
}

bool Tkpgsfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (watched == m_number || watched == m_name)) {
            (watched == m_number ? static_cast<QWidget*>(m_name) : m_search)
                ->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched == m_refund) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* to = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && to &&
            isAncestorOf(to))
            leaveRefund();
    }
    return QWidget::eventFilter(watched, event);
}

void Tkpgsfm::showCard(const CardRecord* card)
{
    const QStringList texts =
        card ? QStringList{card->grade,    card->identity,          Dates::toText(card->issued),
                           card->deposit.toShortest(), card->telephone, card->address}
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

void Tkpgsfm::leaveRefund()
{
    if (m_refund->text().isEmpty())
        return;
    try {
        m_refund->setText(Cancellation::readRefund(m_refund->text()).toShortest());
    } catch (const Refused& refused) {
        Messages::notice(this, refused.caption(), refused.text());
        QTimer::singleShot(0, m_refund, [this] { m_refund->setFocus(Qt::OtherFocusReason); });
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
