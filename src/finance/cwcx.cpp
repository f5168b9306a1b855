#include "finance/cwcx.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/money.h"
#include "data/sql.h"
#include "reports/cwprint.h"
#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/export.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char* const noticeCaption = "提示信息";
const char* const badDateText = "日期格式错误";

// The ledger rows in the grid's column order, amounts with two decimals. The titles
// stay while no query is open.
class LedgerGridModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;

    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns().size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCount())
            return titles().at(section);
        return QSqlQueryModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.column() >= columnCount())
            return {};
        const bool amount = index.column() == 1 || index.column() == 2;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(amount ? Qt::AlignRight | Qt::AlignVCenter
                                              : Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const int source = record().indexOf(columns().at(index.column()));
        if (source < 0)
            return {};
        const QVariant value = QSqlQueryModel::data(createIndex(index.row(), source), role);
        if (value.isNull() || value.toString().isEmpty())
            return QString();
        return amount ? Money::fromVariant(value).toFixed2() : value.toString();
    }

private:
    static const QStringList& columns()
    {
        static const QStringList c = {"fsrq", "srje", "zcje", "szyy"};
        return c;
    }
    static const QStringList& titles()
    {
        static const QStringList t = {"日期", "收入金额", "支出金额", "收支原因"};
        return t;
    }
};
} // namespace

Tcwcxfm::Tcwcxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("cwcxfm");
    setWindowTitle("财务查询");
    Help::setContext(this, helpContext);
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
    connect(m_from, &QLineEdit::returnPressed, m_to, [this] { m_to->setFocus(); });
    connect(m_to, &QLineEdit::returnPressed, m_query, [this] { m_query->setFocus(); });

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

    m_model = new LedgerGridModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
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

    auto navigatorButton = [this](Qt::ArrowType arrow, const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setArrowType(arrow);
        b->setFixedSize(28, 24);
        return b;
    };
    QToolButton* prior = navigatorButton(Qt::LeftArrow, "prior");
    QToolButton* next = navigatorButton(Qt::RightArrow, "next");
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(prior);
    bottom->addWidget(next);
    bottom->addStretch();
    for (QPushButton* b : {m_query, print, exportButton, help, close})
        bottom->addWidget(b);

    connect(prior, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next, &QToolButton::clicked, this, [this] { step(+1); });
    connect(m_query, &QPushButton::clicked, this, &Tcwcxfm::queryClick);
    connect(print, &QPushButton::clicked, this, &Tcwcxfm::printClick);
    connect(exportButton, &QPushButton::clicked, this, &Tcwcxfm::exportClick);
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
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
    m_model->setQuery(QSqlQuery());
    m_model->clear();
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
        m_model->setQuery(query.takeQuery());
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

void Tcwcxfm::step(int delta)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const int current = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    m_grid->selectRow(std::clamp(current + delta, 0, rows - 1));
}
