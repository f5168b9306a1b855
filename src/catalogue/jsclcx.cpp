#include "catalogue/jsclcx.h"

#include "data/dates.h"
#include "data/sql.h"
#include "reports/jsprint.h"
#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr const char* noticeCaption = "提示信息";
constexpr const char* badDateText = "日期格式错误!";
} // namespace

Tjsclcxfm::Tjsclcxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("jsclcxfm");
    setWindowTitle("旧书处理查询");
    buildScreen();
    move(0, 0);
    m_from->setFocus();
}

void Tjsclcxfm::buildScreen()
{
    m_fromBox = DateBox::create(this, "Edit1", "BitBtn1");
    m_toBox = DateBox::create(this, "Edit2", "BitBtn2");
    m_from = m_fromBox->edit();
    m_to = m_toBox->edit();
    m_text = new QLineEdit(this);
    m_text->setObjectName("Edit3");
    m_fromBox->setNext(m_to);
    m_toBox->setNext(m_text);
    for (DateBox* box : {m_fromBox, m_toBox}) {
        box->checkOnLeave(noticeCaption, badDateText);
        box->edit()->setFixedWidth(100);
        QSizePolicy keep = box->button()->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        box->button()->setSizePolicy(keep);
    }
    connect(m_toBox, &DateBox::leftWithDate, this, &Tjsclcxfm::checkRange);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("日期:", this));
    top->addWidget(m_from);
    top->addWidget(m_fromBox->button());
    top->addWidget(new QLabel("到", this));
    top->addWidget(m_to);
    top->addWidget(m_toBox->button());
    top->addSpacing(12);
    top->addWidget(new QLabel("图书条码(或图书名/拼音自助符)：", this));
    top->addWidget(m_text, 1);

    using Format = GridColumn::Format;
    m_model = new QueryGridModel({{"Txm", "图书条形码"},
                                  {"Tsmc", "图书名称"},
                                  {"Clfs", "处理方式"},
                                  {"Clrq", "处理日期"},
                                  {"Clbs", "处理本数", Format::Number},
                                  {"Clje", "处理金额", Format::Money}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(1, 220);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(680, 300);

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    QPushButton* query = button("查询", "query");
    QPushButton* requery = button("重查", "requery");
    QPushButton* print = button("打印", "print");
    QPushButton* close = button("关闭", "close");
    connect(query, &QPushButton::clicked, this, &Tjsclcxfm::queryClick);
    connect(requery, &QPushButton::clicked, this, &Tjsclcxfm::requeryClick);
    connect(print, &QPushButton::clicked, this, &Tjsclcxfm::printClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    Screen::closeOnEscape(this);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Navigator::forGrid(this, m_grid));
    bottom->addStretch();
    for (QPushButton* b : {query, requery, print, close})
        bottom->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_text);
    setTabOrder(m_text, query);
    EnterChain::link(this, {m_from, m_to, m_text, query});
}

void Tjsclcxfm::checkRange()
{
    const QDate from = m_fromBox->date();
    const QDate to = m_toBox->date();
    if (from.isValid() && to.isValid() && from > to) {
        Messages::notice(this, noticeCaption, "后一个日期小于前一个日期，请重输！");
        m_toBox->refocus();
    }
}

void Tjsclcxfm::queryClick()
{
    // A date typed and never left is checked here rather than read as no date.
    for (QLineEdit* box : {m_from, m_to}) {
        if (!box->text().isEmpty() && !Dates::isDate(box->text())) {
            Messages::notice(this, noticeCaption, badDateText);
            box->setFocus();
            return;
        }
    }
    Disposal::Selection selection;
    selection.text = m_text->text();
    selection.from = Dates::parse(m_from->text());
    if (selection.from.isValid())
        selection.to = Dates::parse(m_to->text());
    bool found = false;
    if (!Action::run(this, [&] {
            Sql q(selection.statement());
            q.bindAll(selection.values()).exec();
            m_model->show(q);
            found = m_model->rowCount() > 0;
        }))
        return;
    if (!found) {
        m_printable = false;
        Messages::notice(this, noticeCaption, "没有查找到你所需的信息!");
        return;
    }
    m_listed = selection;
    m_printable = true;
    m_grid->selectRow(0);
}

void Tjsclcxfm::requeryClick()
{
    for (QLineEdit* box : {m_from, m_to, m_text})
        box->clear();
    m_printable = false;
    m_from->setFocus();
}

void Tjsclcxfm::printClick()
{
    if (!m_printable)
        return;
    Tjsprintfm report;
    report.setRange(Dates::toText(m_listed.from), Dates::toText(m_listed.to));
    report.setRows(m_listed);
    ReportOutput::preview(report.report(), this);
}

void Tjsclcxfm::closeEvent(QCloseEvent* event)
{
    m_model->closeQuery();
    QWidget::closeEvent(event);
}
