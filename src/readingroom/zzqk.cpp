#include "readingroom/zzqk.h"

#include "data/clock.h"
#include "data/dates.h"
#include "desk/periodicals.h"
#include "readingroom/zzqkcx.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/help.h"
#include "ui/windows.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
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
    Help::setContext(this, helpContext);
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
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    connect(close, &QPushButton::clicked, this, &Tzzqkfm::closeScreen);
    connect(m_name, &QLineEdit::editingFinished, this, &Tzzqkfm::fillMnemonic);
    connect(m_publisherList, &QPushButton::clicked, this, &Tzzqkfm::pickPublisher);

    const QList<QWidget*> order = {m_name, m_mnemonic,  m_type,    m_issue,
                                   m_date, m_publisher, m_remarks, m_save};
    for (int i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(order[i], order[i + 1]);
        m_enterNext.insert(order[i], order[i + 1]);
        order[i]->installEventFilter(this);
    }
    m_type->lineEdit()->installEventFilter(this);
    m_enterNext.insert(m_type->lineEdit(), m_issue);
    m_publisher->installEventFilter(this);

    auto* closeAction = new QAction("关闭", this);
    closeAction->setShortcut(Qt::Key_Escape);
    closeAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(closeAction, &QAction::triggered, this, &Tzzqkfm::closeScreen);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
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
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Several lines of remarks: Ctrl+Enter starts a new one, Enter moves on.
        if (enter && m_enterNext.contains(watched) &&
            !(watched == m_remarks && key->modifiers() & Qt::ControlModifier)) {
            m_enterNext.value(watched)->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (watched == m_publisher) {
        // The publisher list button shows while the publisher box has the focus.
        if (event->type() == QEvent::FocusIn)
            m_publisherList->show();
        else if (event->type() == QEvent::FocusOut &&
                 static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
                 static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
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
    // Wired to the publisher query once it is available.
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

void Tzzqkfm::closeScreen()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
