#include "circulation/yqwhs.h"

#include "data/clock.h"
#include "data/sql.h"
#include "desk/loanqueries.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/export.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormyqwhs::TFormyqwhs(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formyqwhs");
    setWindowTitle("读者逾期未还书查询");

    auto* heading = new QLabel("查询条件", this);
    heading->setStyleSheet("color: blue;");
    m_card = new QLineEdit(this);
    HalfWidth::apply(m_card);
    m_card->setObjectName("Edit1");
    m_card->setFixedWidth(120);
    auto* query = new QPushButton("查询", this);
    query->setObjectName("BitBtn1");
    auto* exportButton = new QPushButton("导出Excel", this);
    exportButton->setObjectName("BitBtn2");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("BitBtn3");

    m_model = new QueryGridModel({{"kno", "借阅卡号"},
                                  {"tsmc", "图书名"},
                                  {"jsrq", "借书日期"},
                                  {"jsjsr", "操作员"},
                                  {"hsrq", "应还书日期"},
                                  {"xjcs", "续借次数"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    const QList<int> widths{100, 260, 90, 80, 90, 70};
    for (int i = 0; i < widths.size(); ++i)
        m_grid->setColumnWidth(i, widths[i]);
    m_grid->setMinimumSize(720, 300);

    auto* conditions = new QHBoxLayout;
    conditions->addWidget(new QLabel("借阅卡号", this));
    conditions->addWidget(m_card);
    conditions->addStretch();
    conditions->addWidget(query);
    conditions->addWidget(exportButton);
    conditions->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(conditions);
    layout->addWidget(m_grid, 1);

    connect(query, &QPushButton::clicked, this, &TFormyqwhs::queryClick);
    connect(exportButton, &QPushButton::clicked, this, &TFormyqwhs::exportClick);
    connect(back, &QPushButton::clicked, this, [this] { Screen::close(this); });
    // A scanned card and its Enter run the query.
    EnterChain::link(this, {m_card, query})->onEnter(m_card, [this] {
        queryClick();
        return false;
    });
    Screen::closeOnEscape(this);
    m_card->setFocus();
}

int TFormyqwhs::rowCount() const
{
    return m_model->rowCount();
}

void TFormyqwhs::queryClick()
{
    const Listing rows = LoanQueries::overdue(m_card->text(), Clock::today());
    const bool done = Action::run(this, [&] {
        Sql query(rows.statement);
        query.bindAll(rows.values).exec();
        m_model->show(query);
    });
    if (!done) {
        m_model->closeQuery();
        return;
    }
    if (m_model->rowCount() == 0)
        Messages::plain(this, "没有找到您需要的数据，请重新输入查询条件！");
    else
        m_grid->selectRow(0);
}

void TFormyqwhs::exportClick()
{
    const Listing rows = LoanQueries::overdueExport(m_card->text(), Clock::today());
    Export::toSpreadsheet(this, rows.statement, rows.values, "读者逾期报表",
                          "系统正在导出数据,请稍候...");
}
