#include "cards/jyczcx.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/money.h"
#include "data/sql.h"
#include "desk/topups.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/export.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

TFormjyczcx::TFormjyczcx(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formjyczcx");
    setWindowTitle("充值查询");
    buildScreen();
    m_number->clear();
    m_name->clear();
    const QString today = Dates::toText(Clock::today());
    m_from->setText(today);
    m_to->setText(today);
    m_number->setFocus();
}

void TFormjyczcx::buildScreen()
{
    auto* conditions = new QGroupBox("查询条件", this);
    m_number = new QLineEdit(conditions);
    HalfWidth::apply(m_number);
    m_number->setObjectName("Edit1");
    GbkLimit::apply(m_number, 12);
    m_name = new QLineEdit(conditions);
    m_name->setObjectName("Edit2");
    GbkLimit::apply(m_name, 8);
    DateBox* fromBox = DateBox::create(conditions, "Edit3", "BitBtn1");
    DateBox* toBox = DateBox::create(conditions, "Edit4", "BitBtn2");
    m_from = fromBox->edit();
    m_to = toBox->edit();
    for (QLineEdit* box : {m_from, m_to})
        box->setFixedWidth(100);

    const auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_query = button("查询", "query");
    QPushButton* close = button("返回", "close");
    QPushButton* exportButton = button("导出Excel", "export");
    fromBox->setNext(m_to);
    toBox->setNext(m_query);
    connect(m_query, &QPushButton::clicked, this, &TFormjyczcx::queryClick);
    connect(exportButton, &QPushButton::clicked, this, &TFormjyczcx::exportClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    EnterChain::link(this, {m_number, m_name, m_from, m_to, m_query});

    auto* strip = new QHBoxLayout(conditions);
    strip->addWidget(new QLabel("借阅证编号", conditions));
    strip->addWidget(m_number);
    strip->addWidget(new QLabel("读者名", conditions));
    strip->addWidget(m_name);
    strip->addWidget(new QLabel("充值日期>=", conditions));
    strip->addWidget(m_from);
    strip->addWidget(fromBox->button());
    strip->addWidget(new QLabel("<=", conditions));
    strip->addWidget(m_to);
    strip->addWidget(toBox->button());

    auto* results = new QGroupBox("查询结果", this);
    m_model = new QueryGridModel({{"kno", "借阅证编号"},
                                  {"dzm", "读者姓名"},
                                  {"yxrq", "有效日期到"},
                                  {"czje", "充值金额", GridColumn::Format::Money},
                                  {"bz", "备注"},
                                  {"czy", "操作员"},
                                  {"czrq", "充值日期"}},
                                 this);
    m_grid = new QTableView(results);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 100);
    m_grid->setColumnWidth(4, 190);
    m_grid->setMinimumSize(760, 300);
    auto* statusBar = new QStatusBar(results);
    statusBar->setSizeGripEnabled(false);
    statusBar->addWidget(new QLabel("金额合计：", statusBar));
    m_total = new QLabel(statusBar);
    m_total->setObjectName("total");
    m_total->setMinimumWidth(120);
    statusBar->addWidget(m_total, 1);
    auto* resultLayout = new QVBoxLayout(results);
    resultLayout->addWidget(m_grid, 1);
    resultLayout->addWidget(statusBar);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_query, close, exportButton})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(results, 1);
    layout->addLayout(buttons);
    Screen::closeOnEscape(this);
}

bool TFormjyczcx::readDate(QLineEdit* box, QDate* date)
{
    *date = QDate();
    if (box->text().isEmpty())
        return true;
    *date = Dates::parse(box->text());
    if (date->isValid())
        return true;
    Messages::notice(this, "提示信息", "日期格式不对！");
    box->setFocus();
    return false;
}

void TFormjyczcx::queryClick()
{
    QDate from;
    QDate to;
    if (!readDate(m_from, &from) || !readDate(m_to, &to))
        return;
    const TopUpSelection selection(m_number->text(), m_name->text(), from, to);
    bool listed = false;
    Money total;
    const bool ran = Action::run(this, [&] {
        Sql query(selection.statement());
        query.bindAll(selection.values()).exec();
        m_model->show(query);
        listed = m_model->rowCount() > 0;
        if (listed)
            total = selection.total();
    });
    if (!ran)
        return;
    if (!listed) {
        m_total->setText("0");
        Messages::plain(this, "没有您需要查询的数据！");
        return;
    }
    m_total->setText(total.toFixed2());
}

void TFormjyczcx::exportClick()
{
    Export::toSpreadsheet(this, TopUpSelection::exportStatement, {}, "借阅证充值报表",
                          "系统正在导出数据,请稍候...");
}
