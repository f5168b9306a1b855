#include "readingroom/zzqk.h"

#include "data/clock.h"
#include "data/dates.h"
#include "desk/periodicals.h"
#include "pickers/cbsxxcx.h"
#include "readingroom/zzqkcx.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/help.h"
#include "ui/screenkit.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* defaultRemarks = "重要内容与标志";
}

Tzzqkfm::Tzzqkfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("zzqkfm");
    setWindowTitle("杂志期刊报纸登记");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildScreen();
    FormShow();
    setFixedSize(sizeHint());
}

void Tzzqkfm::buildScreen()
{
    m_name = new QLineEdit(this);
    m_name->setObjectName("Edit1");
    m_name->setMinimumWidth(260);
    m_mnemonic = new QLineEdit(this);
    m_mnemonic->setObjectName("Edit7");

    auto* group = new QGroupBox("说明", this);
    m_type = new QComboBox(group);
    m_type->setObjectName("ComboBox1");
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    for (const char* type : Periodicals::types)
        m_type->addItem(type);
    m_issue = new QLineEdit(group);
    m_issue->setObjectName("Edit2");
    m_date = new QLineEdit(group);
    m_date->setObjectName("Edit3");
    auto* dateButton = new QPushButton(">>>", group);
    dateButton->setObjectName("BitBtn6");
    m_publisher = new QLineEdit(group);
    m_publisher->setObjectName("Edit4");
    m_publisherList = new QPushButton(">>>", group);
    m_publisherList->setObjectName("BitBtn7");
    m_publisherList->setFocusPolicy(Qt::NoFocus);
    m_publisherList->hide();
    m_remarks = new QPlainTextEdit(group);
    m_remarks->setObjectName("Memo1");
    m_remarks->setTabChangesFocus(true);
    m_remarks->setFixedHeight(64);

    m_dateBox = DateBox::attach(m_date, dateButton, m_publisher);
    m_dateBox->checkOnLeave("提示信息", "日期格式错误");

    auto* issueRow = new QHBoxLayout;
    issueRow->addWidget(new QLabel("第", group));
    issueRow->addWidget(m_issue);
    issueRow->addWidget(new QLabel("期", group));
    issueRow->addStretch();
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date);
    dateRow->addWidget(dateButton);
    auto* publisherRow = new QHBoxLayout;
    publisherRow->addWidget(m_publisher);
    publisherRow->addWidget(m_publisherList);

    auto* groupGrid = new QGridLayout(group);
    groupGrid->addWidget(new QLabel("类型:", group), 0, 0);
    groupGrid->addWidget(m_type, 0, 1);
    groupGrid->addLayout(issueRow, 1, 1);
    groupGrid->addWidget(new QLabel("出版日期:", group), 2, 0);
    groupGrid->addLayout(dateRow, 2, 1);
    groupGrid->addWidget(new QLabel("出版社:", group), 3, 0);
    groupGrid->addLayout(publisherRow, 3, 1);
    groupGrid->addWidget(new QLabel("备注:", group), 4, 0, Qt::AlignTop);
    groupGrid->addWidget(m_remarks, 4, 1);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel("名称:", this), 0, 0);
    top->addWidget(m_name, 0, 1);
    top->addWidget(new QLabel("书名拼音助记符", this), 1, 0);
    top->addWidget(m_mnemonic, 1, 1);

    m_save = new QPushButton("保存&S", this);
    m_save->setObjectName("BitBtn1");
    auto* clear = new QPushButton("清空&E", this);
    clear->setObjectName("BitBtn2");
    auto* query = new QPushButton("查询", this);
    query->setObjectName("BitBtn3");
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("BitBtn4");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn5");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_save, clear, query, help, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &Tzzqkfm::saveClick);
    connect(clear, &QPushButton::clicked, this, &Tzzqkfm::clearClick);
    connect(query, &QPushButton::clicked, this, &Tzzqkfm::queryClick);
    Help::attach(this, helpContext, help);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    Screen::onLeave(m_name, [this] {
        fillMnemonic();
        return true;
    });
    connect(m_publisherList, &QPushButton::clicked, this, &Tzzqkfm::pickPublisher);

    const QList<QWidget*> order = {m_name, m_mnemonic,  m_type,    m_issue,
                                   m_date, m_publisher, m_remarks, m_save};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // Enter moves on, in the remarks too (Ctrl+Enter starts a new line there).
    EnterChain::link(this, order);
    m_publisher->installEventFilter(this);
    Screen::closeOnEscape(this);
}

void Tzzqkfm::FormShow()
{
    m_type->setCurrentText("杂志");
    m_issue->setText("1");
    m_remarks->setPlainText(defaultRemarks);
    m_date->setText(Dates::toText(Clock::today()));
    m_name->setFocus();
}

bool Tzzqkfm::eventFilter(QObject* watched, QEvent* event)
{
    // The publisher list button shows while the publisher box has the focus.
    if (watched == m_publisher && event->type() == QEvent::FocusIn) {
        m_publisherList->show();
    } else if (watched == m_publisher && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_publisherList->hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Tzzqkfm::fillMnemonic()
{
    m_mnemonic->setText(Periodicals::mnemonicOf(m_name->text()));
}

void Tzzqkfm::pickPublisher()
{
    TFormcbsxxcx query(this);
    bool backedOut = false;
    if (auto* back = query.findChild<QPushButton*>("Button3"))
        connect(back, &QPushButton::clicked, this, [&backedOut] { backedOut = true; });
    query.exec();
    // "返回" empties the box; any other way out takes the publisher under the cursor.
    m_publisher->setText(backedOut ? QString() : query.name());
    m_publisher->setFocus();
}

void Tzzqkfm::saveClick()
{
    const PeriodicalEntry entry{m_name->text(),          m_mnemonic->text(), m_type->currentText(),
                                m_issue->text(),         m_date->text(),     m_publisher->text(),
                                m_remarks->toPlainText()};
    if (!Action::run(this, [&] { Periodicals::registerIssue(entry); }))
        return;
    clearClick();
    m_mnemonic->clear();
    m_date->setText(Dates::toText(Clock::today()));
}

void Tzzqkfm::clearClick()
{
    m_name->clear();
    m_issue->clear();
    m_date->clear();
    m_publisher->clear();
    m_remarks->clear();
    m_name->setFocus();
}

void Tzzqkfm::queryClick()
{
    Windows::runModal(new TFormzzqkcx(this));
}
