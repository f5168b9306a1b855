#include "finance/cwcx.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/money.h"
#include "data/sql.h"
#include "reports/cwprint.h"
#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/export.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const char* const noticeCaption = "提示信息";
const char* const badDateText = "日期格式错误";

} // namespace

Tcwcxfm::Tcwcxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("cwcxfm");
    setWindowTitle("财务查询");
    buildScreen();
    FormShow();
}

void Tcwcxfm::buildScreen()
{
    auto dateButton = [this](const char* name) {
        auto* b = new QPushButton(">>>", this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::ClickFocus);
        // room for the themes' button padding
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(">>>") + 36);
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true); // the strip does not shift when it shows
        b->setSizePolicy(keep);
        return b;
    };
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true); // Enter presses the focused button: Query ends the date chain
        return b;
    };

    m_from = new QLineEdit(this);
    m_from->setObjectName("Edit1");
    m_to = new QLineEdit(this);
    m_to->setObjectName("Edit2");
    for (QLineEdit* box : {m_from, m_to})
        box->setFixedWidth(100);
    QPushButton* fromButton = dateButton("BitBtn1");
    QPushButton* toButton = dateButton("BitBtn2");

    m_query = button("查询&F", "query");
    QPushButton* print = button("打印&P", "print");
    QPushButton* exportButton = button("导出Excel", "export");
    QPushButton* help = button("帮助&H", "help");
    QPushButton* close = button("关闭&X", "close");

    m_fromBox = DateBox::attach(m_from, fromButton, m_to);
    m_toBox = DateBox::attach(m_to, toButton, m_query);
    for (DateBox* box : {m_fromBox, m_toBox})
        box->checkOnLeave(noticeCaption, badDateText);
    connect(m_toBox, &DateBox::leftWithDate, this, &Tcwcxfm::checkRange);
    EnterChain::link(this, {m_from, m_to, m_query});

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("日期：", this));
    top->addWidget(m_from);
    top->addWidget(fromButton);
    top->addSpacing(6);
    top->addWidget(new QLabel("到", this));
    top->addSpacing(6);
    top->addWidget(m_to);
    top->addWidget(toButton);
    top->addStretch();

    using Format = GridColumn::Format;
    m_model = new QueryGridModel({{"fsrq", "日期"},
                                  {"srje", "收入金额", Format::Money},
                                  {"zcje", "支出金额", Format::Money},
                                  {"szyy", "收支原因"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(1, 110);
    m_grid->setColumnWidth(2, 110);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(560, 300);

    m_income = new QLineEdit(this);
    m_income->setObjectName("Edit3");
    m_expenditure = new QLineEdit(this);
    m_expenditure->setObjectName("Edit4");
    for (QLineEdit* box : {m_income, m_expenditure}) {
        box->setReadOnly(true);
        box->setFixedWidth(120);
        box->setFocusPolicy(Qt::ClickFocus);
    }
    auto* totals = new QHBoxLayout;
    totals->addStretch();
    totals->addWidget(new QLabel("收入金额：", this));
    totals->addWidget(m_income);
    totals->addSpacing(20);
    totals->addWidget(new QLabel("支出金额：", this));
    totals->addWidget(m_expenditure);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(Navigator::forGrid(this, m_grid));
    bottom->addStretch();
    for (QPushButton* b : {m_query, print, exportButton, help, close})
        bottom->addWidget(b);

    connect(m_query, &QPushButton::clicked, this, &Tcwcxfm::queryClick);
    connect(print, &QPushButton::clicked, this, &Tcwcxfm::printClick);
    connect(exportButton, &QPushButton::clicked, this, &Tcwcxfm::exportClick);
    Help::attach(this, helpContext, help);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_query);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(totals);
    layout->addLayout(bottom);
}

void Tcwcxfm::FormShow()
{
    closeQuery();
    m_printable = false;
    const QString today = Dates::toText(Clock::today());
    m_from->setText(today);
    m_to->setText(today);
}

void Tcwcxfm::closeQuery()
{
    m_model->closeQuery();
}

void Tcwcxfm::checkRange()
{
    const QDate from = m_fromBox->date();
    const QDate to = m_toBox->date();
    if (from.isValid() && to.isValid() && from > to)
        Messages::notice(this, noticeCaption, "后一个日期大于前一个日期,请重输!");
}

bool Tcwcxfm::readDate(QLineEdit* box, QDate* date)
{
    // The box refuses a bad date when it is left; a date typed and never left is
    // checked here instead of being run as no date at all.
    *date = Dates::parse(box->text());
    if (date->isValid())
        return true;
    Messages::notice(this, noticeCaption, badDateText);
    box->setFocus();
    return false;
}

void Tcwcxfm::queryClick()
{
    if (m_from->text().isEmpty())
        return;
    QDate from;
    QDate to;
    if (!readDate(m_from, &from))
        return;
    if (!m_to->text().isEmpty() && !readDate(m_to, &to))
        return;
    const LedgerSelection selection(from, to);
    bool listed = false;
    LedgerSelection::Totals totals;
    const bool ran = Action::run(this, [&] {
        Sql query(selection.statement());
        query.bindAll(selection.values()).exec();
        m_model->show(query);
        m_listed = selection;
        listed = m_model->rowCount() > 0;
        if (listed)
            totals = selection.totals();
    });
    if (!ran)
        return;
    if (!listed) {
        Messages::notice(this, noticeCaption, "没有你所需要的记录,请重新输入查询!");
        m_from->setFocus();
        return;
    }
    m_income->setText(totals.income.toShortest());
    m_expenditure->setText(totals.expenditure.toShortest());
    m_printable = true;
    m_grid->selectRow(0);
}

void Tcwcxfm::printClick()
{
    if (!m_printable)
        return;
    Tcwprintfm report;
    if (m_to->text().isEmpty())
        report.setRange(m_from->text(), QString(), QString());
    else
        report.setRange(m_from->text(), "-", m_to->text());
    report.setRows(m_listed);
    ReportOutput::preview(report.report(), this);
    m_from->clear();
    m_to->clear();
    m_income->clear();
    m_expenditure->clear();
    closeQuery();
}

void Tcwcxfm::exportClick()
{
    if (m_from->text().isEmpty() || m_to->text().isEmpty()) {
        Messages::plain(this, "日期不能为空！");
        return;
    }
    QDate from;
    QDate to;
    if (!readDate(m_from, &from) || !readDate(m_to, &to))
        return;
    Export::toSpreadsheet(this, exportStatement, {from, to}, "财务报表",
                          "系统正在导出数据,请稍候...");
}
