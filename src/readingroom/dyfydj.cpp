#include "readingroom/dyfydj.h"

#include "data/dates.h"
#include "desk/periodicals.h"
#include "desk/readingroom.h"
#include "readingroom/qkcx.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

Tdyfydjfm::Tdyfydjfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("dyfydjfm");
    setWindowTitle("阅览登记");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildScreen();
    m_type->setCurrentText("杂志");
    setFixedSize(sizeHint());
    m_type->setFocus();
}

void Tdyfydjfm::buildScreen()
{
    auto* what = new QGroupBox("阅览内容", this);
    m_type = new QComboBox(what);
    m_type->setObjectName("ComboBox1");
    for (const char* type : Periodicals::types)
        m_type->addItem(type);
    m_mnemonic = new QLineEdit(what);
    m_mnemonic->setObjectName("Edit7");
    m_find = new QPushButton(">>>", what);
    m_find->setObjectName("BitBtn4");
    m_find->setFocusPolicy(Qt::NoFocus);
    m_find->hide();
    m_name = new QLineEdit(what);
    m_name->setObjectName("Edit1");
    m_name->setMinimumWidth(240);
    m_issue = new QLineEdit(what);
    m_issue->setObjectName("Edit2");
    m_date = new QLineEdit(what);
    m_date->setObjectName("Edit3");
    auto* dateButton = new QPushButton(">>>", what);
    dateButton->setObjectName("BitBtn5");
    m_publisher = new QLineEdit(what);
    m_publisher->setObjectName("Edit6");
    m_dateBox = DateBox::attach(m_date, dateButton, m_issue);
    m_dateBox->checkOnLeave("提示信息", "日期格式错误");

    auto* mnemonicRow = new QHBoxLayout;
    mnemonicRow->addWidget(m_mnemonic);
    mnemonicRow->addWidget(m_find);
    mnemonicRow->addWidget(new QLabel("区分大小写", what));
    auto* issueRow = new QHBoxLayout;
    issueRow->addWidget(new QLabel("第", what));
    issueRow->addWidget(m_issue);
    issueRow->addWidget(new QLabel("期", what));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date);
    dateRow->addWidget(dateButton);
    auto* whatGrid = new QGridLayout(what);
    whatGrid->addWidget(new QLabel("类型", what), 0, 0);
    whatGrid->addWidget(m_type, 0, 1);
    whatGrid->addWidget(new QLabel("书名拼音助记符", what), 1, 0);
    whatGrid->addLayout(mnemonicRow, 1, 1);
    whatGrid->addWidget(new QLabel("书   名", what), 2, 0);
    whatGrid->addWidget(m_name, 2, 1);
    whatGrid->addLayout(issueRow, 3, 1);
    whatGrid->addWidget(new QLabel("出版日期", what), 4, 0);
    whatGrid->addLayout(dateRow, 4, 1);
    whatGrid->addWidget(new QLabel("出版社名称", what), 5, 0);
    whatGrid->addWidget(m_publisher, 5, 1);

    auto* who = new QGroupBox("阅览人信息", this);
    m_card = new QLineEdit(who);
    HalfWidth::apply(m_card);
    m_card->setObjectName("Edit4");
    m_readerName = new QLineEdit(who);
    m_readerName->setObjectName("Edit5");
    m_photo = new QLabel(who);
    m_photo->setObjectName("Image1");
    m_photo->setFixedSize(96, 120);
    m_photo->setFrameShape(QFrame::Box);
    m_photo->setAlignment(Qt::AlignCenter);
    auto* hint = new QLabel("[输入借阅证编号后回车]", who);
    hint->setStyleSheet("color: blue;");
    auto* whoGrid = new QGridLayout(who);
    whoGrid->addWidget(new QLabel("借书证编号", who), 0, 0);
    whoGrid->addWidget(m_card, 0, 1);
    whoGrid->addWidget(hint, 1, 1);
    whoGrid->addWidget(new QLabel("借阅人姓名", who), 2, 0);
    whoGrid->addWidget(m_readerName, 2, 1);
    whoGrid->addWidget(m_photo, 0, 2, 4, 1);
    whoGrid->setRowStretch(3, 1);

    m_lend = new QPushButton("借阅&O", this);
    m_lend->setObjectName("BitBtn1");
    auto* giveBack = new QPushButton("归还&H", this);
    giveBack->setObjectName("BitBtn2");
    auto* cancel = new QPushButton("取消&C", this);
    cancel->setObjectName("BitBtn3");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_lend);
    buttons->addWidget(giveBack);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(who);
    layout->addLayout(buttons);

    connect(m_lend, &QPushButton::clicked, this, &Tdyfydjfm::lendClick);
    connect(giveBack, &QPushButton::clicked, this, &Tdyfydjfm::returnClick);
    connect(cancel, &QPushButton::clicked, this, [this] { Screen::close(this); });
    connect(m_find, &QPushButton::clicked, this, &Tdyfydjfm::lookUpPeriodical);
    connect(m_card, &QLineEdit::textEdited, this, [this] { m_cardLookedUp.clear(); });

    const QList<QWidget*> order = {m_type,      m_mnemonic, m_name,       m_date, m_issue,
                                   m_publisher, m_card,     m_readerName, m_lend};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    EnterChain::link(this, order)->onEnter(m_mnemonic, [this] {
        lookUpPeriodical();
        return false;
    });
    // Leaving the card box (Enter goes on to the reader's name) looks the card up.
    Screen::onLeave(m_card, [this] { return m_card->text().isEmpty() || lookUpCard(); });
    m_mnemonic->installEventFilter(this);
    Screen::closeOnEscape(this);
}

bool Tdyfydjfm::eventFilter(QObject* watched, QEvent* event)
{
    // The look-up button shows while the mnemonic box has the focus.
    if (watched == m_mnemonic && event->type() == QEvent::FocusIn) {
        m_find->show();
    } else if (watched == m_mnemonic && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_find->hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Tdyfydjfm::lookUpPeriodical()
{
    Periodical found;
    bool several = false;
    Selection rows;
    const bool done = Action::run(this, [&] {
        rows = Periodicals::matching(m_type->currentText(), m_mnemonic->text());
        several = Periodicals::countUpTo(rows, 2) > 1;
        if (!several)
            found = Periodicals::first(rows);
    });
    if (!done)
        return;
    if (several)
        found = TFormqkcx::choose(rows, this);
    // No row empties the boxes, the date box too.
    m_name->setText(found.name);
    m_issue->setText(found.issue);
    m_mnemonic->setText(found.mnemonic);
    m_date->setText(Dates::toText(found.date));
    m_publisher->setText(found.publisher);
    m_card->setFocus();
}

bool Tdyfydjfm::lookUpCard()
{
    const QString card = m_card->text();
    ReadingRoom::Reader reader;
    if (!Action::run(this, [&] { reader = ReadingRoom::lookUpCard(card); })) {
        // Lost or not registered: nobody's picture stays up, and the card box starts again.
        m_cardLookedUp.clear();
        m_photo->clear();
        m_card->clear();
        m_card->setFocus();
        return false;
    }
    m_cardLookedUp = card;
    showPhoto(reader.photoPath);
    m_readerName->setText(reader.name);
    m_lend->setFocus();
    return true;
}

void Tdyfydjfm::showPhoto(const QString& path)
{
    const QImage picture = path.isEmpty() ? QImage() : QImage(path);
    if (picture.isNull()) { // no photograph, or a file that cannot be read
        m_photo->clear();
        return;
    }
    m_photo->setPixmap(QPixmap::fromImage(picture).scaled(m_photo->size(), Qt::KeepAspectRatio,
                                                          Qt::SmoothTransformation));
}

void Tdyfydjfm::lendClick()
{
    // Alt+O from the card box skips leaving it: the reader shown must be that card's.
    if (!m_card->text().isEmpty() && m_card->text() != m_cardLookedUp && !lookUpCard())
        return;
    const ReadingRoom::Loan loan{m_name->text(),        m_issue->text(), m_date->text(),
                                 m_type->currentText(), m_card->text(),  m_readerName->text(),
                                 m_publisher->text()};
    if (!Action::run(this, [&] { ReadingRoom::lend(loan); }))
        return;
    Messages::plain(this, "借阅完成！");
    for (QLineEdit* box : {m_name, m_issue, m_date, m_card, m_readerName})
        box->clear();
    m_type->setCurrentIndex(-1);
    m_photo->clear();
    m_cardLookedUp.clear();
}

void Tdyfydjfm::returnClick()
{
    const QString name = m_name->text();
    const QString issue = m_issue->text();
    const QString card = m_card->text();
    if (!Action::run(this, [&] { ReadingRoom::giveBack(name, issue, card); }))
        return;
    Messages::notice(this, "提示信息", "归还完成!");
    m_type->setCurrentIndex(-1);
    for (QLineEdit* box : {m_mnemonic, m_name, m_date, m_issue, m_publisher, m_card, m_readerName})
        box->clear();
    m_photo->clear();
    m_cardLookedUp.clear();
}
