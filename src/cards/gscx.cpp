#include "cards/gscx.h"

#include "data/sql.h"
#include "desk/lostcards.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormgscx::TFormgscx(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formgscx");
    setWindowTitle("挂失查询");
    buildScreen();
    m_number->clear();
    m_name->clear();
    m_status->setCurrentIndex(-1);
    m_number->setFocus();
}

void TFormgscx::buildScreen()
{
    auto* conditions = new QGroupBox("查询条件", this);
    m_number = new QLineEdit(conditions);
    HalfWidth::apply(m_number);
    m_number->setObjectName("Edit1");
    GbkLimit::apply(m_number, 12);
    m_name = new QLineEdit(conditions);
    m_name->setObjectName("Edit2");
    GbkLimit::apply(m_name, 8);
    m_status = new QComboBox(conditions);
    m_status->setObjectName("ComboBox1");
    m_status->setEditable(true); // empty text: any state
    m_status->setInsertPolicy(QComboBox::NoInsert);
    m_status->addItems({LostCards::lost, LostCards::notLost});
    m_status->setMinimumWidth(70);

    auto* query = new QPushButton("查询", conditions);
    query->setObjectName("query");
    query->setAutoDefault(true);
    auto* close = new QPushButton("关闭", conditions);
    close->setObjectName("close");
    close->setAutoDefault(true);
    connect(query, &QPushButton::clicked, this, &TFormgscx::queryClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    EnterChain::link(this, {m_number, m_name, m_status, query});

    auto* strip = new QHBoxLayout(conditions);
    strip->addWidget(new QLabel("借阅证编号", conditions));
    strip->addWidget(m_number);
    strip->addWidget(new QLabel("读都姓名", conditions));
    strip->addWidget(m_name);
    strip->addWidget(new QLabel("状态", conditions));
    strip->addWidget(m_status);
    strip->addSpacing(12);
    strip->addWidget(query);
    strip->addWidget(close);

    m_model = new QueryGridModel({{"kno", "借阅证号"},
                                  {"kdj", "卡等级"},
                                  {"dzm", "读者姓名"},
                                  {"sfzh", "身份证号"},
                                  {"gsbz", "挂失否"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(3, 170);
    m_grid->setMinimumSize(600, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(m_grid, 1);
    Screen::closeOnEscape(this);
}

void TFormgscx::queryClick()
{
    const LostCardSelection selection(m_number->text(), m_name->text(), m_status->currentText());
    bool listed = false;
    const bool ran = Action::run(this, [&] {
        Sql query(selection.statement());
        query.bindAll(selection.values()).exec();
        m_model->show(query);
        listed = m_model->rowCount() > 0;
    });
    if (ran && !listed)
        Messages::plain(this, "没有找到您需要数据！");
}
