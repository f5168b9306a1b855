#include "readingroom/zzqkcx.h"

#include "data/sql.h"
#include "desk/periodicals.h"
#include "ui/action.h"
#include "ui/export.h"
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

TFormzzqkcx::TFormzzqkcx(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formzzqkcx");
    setWindowTitle("杂志查询信息");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* heading = new QLabel("查询条件", this);
    heading->setStyleSheet("color: blue;");
    m_type = new QComboBox(this);
    m_type->setObjectName("ComboBox1");
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    for (const char* type : Periodicals::types)
        m_type->addItem(type);
    m_type->setCurrentIndex(-1);
    m_mnemonic = new QLineEdit(this);
    m_mnemonic->setObjectName("Edit1");
    m_publisher = new QLineEdit(this);
    m_publisher->setObjectName("Edit2");

    auto* query = new QPushButton("查询", this);
    query->setObjectName("BitBtn1");
    auto* exportButton = new QPushButton("导出Excel", this);
    exportButton->setObjectName("BitBtn2");
    auto* close = new QPushButton("关闭", this);
    close->setObjectName("BitBtn3");

    auto* conditions = new QGridLayout;
    conditions->addWidget(heading, 0, 0, 1, 6);
    conditions->addWidget(new QLabel("类型", this), 1, 0);
    conditions->addWidget(m_type, 1, 1);
    conditions->addWidget(new QLabel("拼音助记符", this), 1, 2);
    conditions->addWidget(m_mnemonic, 1, 3);
    conditions->addWidget(new QLabel("出版社", this), 1, 4);
    conditions->addWidget(m_publisher, 1, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(query);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);

    m_model = new QueryGridModel({{"lx", "类型"},
                                  {"mc", "名称"},
                                  {"kh", "刊号"},
                                  {"cbrq", "出版日期"},
                                  {"cbsmc", "出版社名称"},
                                  {"pyzjh", "拼音助记符"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(conditions);
    layout->addLayout(buttons);
    layout->addWidget(m_grid);
    resize(720, 420);

    query->setDefault(true);
    connect(query, &QPushButton::clicked, this, &TFormzzqkcx::queryClick);
    connect(exportButton, &QPushButton::clicked, this, &TFormzzqkcx::exportClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // The result is let go when the dialog closes.
    connect(this, &QDialog::finished, m_model, &QueryGridModel::closeQuery);
}

int TFormzzqkcx::rowCount() const
{
    return m_model->rowCount();
}

void TFormzzqkcx::queryClick()
{
    const Selection rows =
        Periodicals::registerQuery(m_type->currentText(), m_mnemonic->text(), m_publisher->text());
    const bool done = Action::run(this, [&] {
        Sql query(rows.statement);
        query.bindAll(rows.values).exec();
        m_model->show(query);
    });
    if (done && m_model->rowCount() == 0)
        Messages::plain(this, "没有找到您需要的数据！");
}

void TFormzzqkcx::exportClick()
{
    Export::toSpreadsheet(this, Periodicals::exportStatement, {}, "杂志期刊报表",
                          "系统正在导出数据,请稍候...");
}
