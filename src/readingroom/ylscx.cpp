#include "readingroom/ylscx.h"

#include "data/sql.h"
#include "desk/readingroom.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

    m_model = new QueryGridModel({{"mc", "名称"},
                                  {"kh", "刊号"},
                                  {"cbrq", "出版日期"},
                                  {"lx", "类型"},
                                  {"dzm", "读者姓名"},
                                  {"kno", "借书证编号"},
                                  {"cbsmc", "出版社名称"},
                                  {"jyrq", "借阅日期"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_query = new QPushButton("查询&F", this);
    m_query->setObjectName("BitBtn1");
    auto* clear = new QPushButton("重查&R", this);
    clear->setObjectName("BitBtn2");
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("BitBtn3");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn4");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Navigator::forGrid(this, m_grid));
    buttons->addStretch();
    for (QPushButton* b : {m_query, clear, help, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(conditions);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(820, 480);

    connect(m_query, &QPushButton::clicked, this, &Tylscxfm::queryClick);
    connect(clear, &QPushButton::clicked, this, &Tylscxfm::clearClick);
    Help::attach(this, helpContext, help);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });

    const QList<QWidget*> order = {m_name,     m_type,      m_issue, m_date,
                                   m_mnemonic, m_publisher, m_query};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // The mnemonic is filled after a picked date; Enter goes on from there as from the date.
    EnterChain::link(this, {m_name, m_type, m_issue, m_date, m_publisher, m_query})
        ->hop(m_mnemonic, m_publisher);
    Screen::closeOnEscape(this);
}

void Tylscxfm::queryClick()
{
    const ReadingRoom::Conditions conditions{m_name->text(),      m_type->currentText(),
                                             m_issue->text(),     m_date->text(),
                                             m_publisher->text(), m_mnemonic->text()};
    const bool done = Action::run(this, [&] {
        const Selection rows = ReadingRoom::issuesOut(conditions);
        Sql query(rows.statement);
        query.bindAll(rows.values).exec();
        m_model->show(query);
        if (m_model->rowCount() > 0)
            m_grid->selectRow(0);
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
