#include "catalogue/tsflcx.h"

#include "data/sql.h"
#include "desk/classification.h"
#include "pickers/columnsmodel.h"
#include "reports/reportoutput.h"
#include "reports/tsflbb.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormtsflcx::TFormtsflcx(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formtsflcx");
    setWindowTitle("图书分类查询");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* group = new QGroupBox("查询条件", this);
    m_code = new QComboBox(group);
    m_code->setObjectName("ComboBox1");
    m_code->setEditable(true);
    m_code->setInsertPolicy(QComboBox::NoInsert);
    m_code->setMinimumWidth(90);
    m_name = new QLabel(group);
    m_name->setObjectName("lts");
    m_name->setMinimumWidth(180);
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel("一级分类代码", group));
    row->addWidget(m_code);
    row->addWidget(m_name, 1);

    m_model = new ColumnsModel({{"dldm", "图书一级分类代码"},
                                {"dlmc", "图书一类代码名称"},
                                {"mxldm", "图书二级分类代码"},
                                {"mxlmc", "图书二类代码名称"}},
                               this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 120);
    m_grid->setColumnWidth(1, 150);
    m_grid->setColumnWidth(2, 120);
    m_grid->setMinimumSize(560, 280);

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* query = button("查询", "Button1");
    QPushButton* print = button("打印", "Button2");
    QPushButton* close = button("关闭", "Button3");
    query->setDefault(true);
    connect(query, &QPushButton::clicked, this, &TFormtsflcx::queryClick);
    connect(print, &QPushButton::clicked, this, &TFormtsflcx::printClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_code, &QComboBox::currentTextChanged, this, &TFormtsflcx::codeChanged);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {query, print, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    Action::run(this, [&] {
        Sql codes("select distinct dldm from tsflm order by dldm");
        codes.exec();
        while (codes.next())
            m_code->addItem(codes.text("dldm"));
    });
    m_code->setCurrentIndex(-1);
    m_code->setEditText(QString());
    setFixedSize(sizeHint());
}

void TFormtsflcx::codeChanged(const QString& code)
{
    QString name;
    if (!code.isEmpty())
        Action::run(this, [&] { name = Classification::firstLevelName(code); });
    m_name->setText(name);
}

void TFormtsflcx::queryClick()
{
    const QString code = m_code->currentText();
    bool ran = Action::run(this, [&] {
        Sql q(TFormtsflbb::statement);
        q.bind(code + "%").exec();
        m_model->show(q.takeQuery());
    });
    m_open = ran;
    m_listedCode = code;
    if (ran && m_model->rowCount() == 0)
        Messages::plain(this, "没有找到您需要的数据！");
    else if (ran)
        m_grid->selectRow(0);
}

void TFormtsflcx::printClick()
{
    if (!m_open || m_model->rowCount() == 0)
        return;
    TFormtsflbb report;
    report.setFirstLevelCode(m_listedCode);
    ReportOutput::preview(report.report(), this);
}
