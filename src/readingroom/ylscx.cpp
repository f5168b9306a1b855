#include "readingroom/ylscx.h"

#include "desk/readingroom.h"
#include "readingroom/periodicalgrid.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

Tylscxfm::Tylscxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("ylscxfm");
    setWindowTitle("阅览室查询");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    Help::setContext(this, helpContext);
    buildScreen();
    clearClick();
}

void Tylscxfm::buildScreen()
{
    auto* heading = new QLabel("查询条件", this);
    heading->setStyleSheet("color: blue;");
    m_name = new QLineEdit(this);
    m_name->setObjectName("Edit1");
    m_type = new QComboBox(this);
    m_type->setObjectName("ComboBox1");
    m_type->addItem("");
    m_type->addItems({"杂志", "期刊", "报纸"});
    m_issue = new QLineEdit(this);
    m_issue->setObjectName("Edit2");
    m_date = new QLineEdit(this);
    m_date->setObjectName("Edit3");
    auto* dateButton = new QPushButton(">>>", this);
    dateButton->setObjectName("BitBtn5");
    m_mnemonic = new QLineEdit(this);
    m_mnemonic->setObjectName("Edit4");
    m_publisher = new QLineEdit(this);
    m_publisher->setObjectName("Edit5");
    m_dateBox = DateBox::attach(m_date, dateButton, m_mnemonic);
    m_dateBox->checkOnLeave("提示信息", "日期格式错误!");

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date);
    dateRow->addWidget(dateButton);
    auto* mnemonicRow = new QHBoxLayout;
    mnemonicRow->addWidget(m_mnemonic);
    mnemonicRow->addWidget(new QLabel("区分大小写", this));
    auto* conditions = new QGridLayout;
    conditions->addWidget(heading, 0, 0, 1, 4);
    conditions->addWidget(new QLabel("名  称", this), 1, 0);
    conditions->addWidget(m_name, 1, 1);
    conditions->addWidget(new QLabel("类型", this), 1, 2);
    conditions->addWidget(m_type, 1, 3);
    conditions->addWidget(new QLabel("报纸期刊号:", this), 2, 0);
    conditions->addWidget(m_issue, 2, 1);
    conditions->addWidget(new QLabel("出版时间:", this), 2, 2);
    conditions->addLayout(dateRow, 2, 3);
    conditions->addWidget(new QLabel("拼音助记符", this), 3, 0);
    conditions->addLayout(mnemonicRow, 3, 1);
    conditions->addWidget(new QLabel("出版社名称:", this), 3, 2);
    conditions->addWidget(m_publisher, 3, 3);

    m_model = new QSqlQueryModel(this);
    m_grid = PeriodicalGrid::create(this, m_model, "DBGrid1");

    auto* prior = new QPushButton("上一条", this);
    prior->setObjectName("prior");
    auto* next = new QPushButton("下一条", this);
    next->setObjectName("next");
    m_query = new QPushButton("查询&F", this);
    m_query->setObjectName("BitBtn1");
    auto* clear = new QPushButton("重查&R", this);
    clear->setObjectName("BitBtn2");
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("BitBtn3");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn4");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prior);
    buttons->addWidget(next);
    buttons->addStretch();
    for (QPushButton* b : {m_query, clear, help, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(conditions);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(820, 480);

    connect(prior, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_query, &QPushButton::clicked, this, &Tylscxfm::queryClick);
    connect(clear, &QPushButton::clicked, this, &Tylscxfm::clearClick);
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    connect(close, &QPushButton::clicked, this, &Tylscxfm::closeScreen);

    m_enterNext = {{m_name, m_type},      {m_type, m_issue},      {m_issue, m_date},
                   {m_date, m_publisher}, {m_publisher, m_query}, {m_mnemonic, m_publisher}};
    for (QObject* box : m_enterNext.keys())
        box->installEventFilter(this);
    const QList<QWidget*> order = {m_name,     m_type,      m_issue, m_date,
                                   m_mnemonic, m_publisher, m_query};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    auto* closeAction = new QAction("关闭", this);
    closeAction->setShortcut(Qt::Key_Escape);
    closeAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(closeAction, &QAction::triggered, this, &Tylscxfm::closeScreen);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool Tylscxfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_enterNext.contains(watched)) {
            m_enterNext.value(watched)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tylscxfm::queryClick()
{
    const ReadingRoom::Conditions conditions{m_name->text(),      m_type->currentText(),
                                             m_issue->text(),     m_date->text(),
                                             m_publisher->text(), m_mnemonic->text()};
    const bool done = Action::run(this, [&] {
        PeriodicalGrid::show(m_grid, m_model, ReadingRoom::issuesOut(conditions),
                             {{"mc", "名称"},
                              {"kh", "刊号"},
                              {"cbrq", "出版日期"},
                              {"lx", "类型"},
                              {"dzm", "读者姓名"},
                              {"kno", "借书证编号"},
                              {"cbsmc", "出版社名称"},
                              {"jyrq", "借阅日期"}});
    });
    if (done && m_model->rowCount() == 0)
        Messages::notice(this, "提示信息", ReadingRoom::nothingFoundText(conditions));
}

void Tylscxfm::clearClick()
{
    for (QLineEdit* box : {m_name, m_date, m_publisher, m_issue, m_mnemonic})
        box->clear();
    m_type->setCurrentIndex(0);
    m_name->setFocus();
}

void Tylscxfm::step(int delta)
{
    const int row = m_grid->currentIndex().row() + delta;
    if (row < 0)
        return;
    if (row >= m_model->rowCount() && m_model->canFetchMore())
        m_model->fetchMore();
    if (row < m_model->rowCount())
        m_grid->selectRow(row);
}

void Tylscxfm::closeScreen()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
