#include "catalogue/ljmbsz.h"

#include "data/sql.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

Tljmbszfm::Tljmbszfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("ljmbszfm");
    setWindowTitle("联机检索目标设置");
    const auto edit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        return box;
    };
    m_name = edit("Edit1");
    m_host = edit("Edit2");
    m_port = edit("Edit3");
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_database = edit("Edit4");
    m_syntax = new QComboBox(this);
    m_syntax->setObjectName("ComboBox1");
    m_syntax->addItems({"UNIMARC", "USMARC"});
    m_charset = new QComboBox(this);
    m_charset->setObjectName("ComboBox2");
    m_charset->addItems({"GBK", "UTF-8", "MARC-8"});
    m_enabled = new QCheckBox("启用", this);
    m_enabled->setObjectName("CheckBox1");

    auto* form = new QFormLayout;
    form->addRow("名称:", m_name);
    form->addRow("主机:", m_host);
    form->addRow("端口:", m_port);
    form->addRow("数据库:", m_database);
    form->addRow("记录格式:", m_syntax);
    form->addRow("字符集:", m_charset);
    form->addRow(QString(), m_enabled);

    m_model = new QueryGridModel({{"mc", "名称"},
                                  {"zj", "主机"},
                                  {"dk", "端口", GridColumn::Format::Number},
                                  {"sjk", "数据库"},
                                  {"jlgs", "记录格式"},
                                  {"zfj", "字符集"},
                                  {"sfqy", "启用"}},
                                 this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(560, 160);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showRow(); });

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = button("新增&N", "add");
    QPushButton* save = button("保存&S", "save");
    QPushButton* remove = button("删除&D", "remove");
    QPushButton* help = button("帮助&H", "help");
    QPushButton* close = button("关闭&X", "close");
    connect(add, &QPushButton::clicked, this, &Tljmbszfm::newClick);
    connect(save, &QPushButton::clicked, this, &Tljmbszfm::saveClick);
    connect(remove, &QPushButton::clicked, this, &Tljmbszfm::deleteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add, save, remove, help, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_grid, 1);

    EnterChain::link(this, {m_name, m_host, m_port, m_database, m_syntax, m_charset, save});
    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);
    reload();
    if (m_model->rowCount() == 0)
        newClick();
}

void Tljmbszfm::reload(qint64 current)
{
    Action::run(this, [&] {
        Sql q("select * from ljmbk order by mc");
        q.exec();
        m_model->show(q);
    });
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (current == 0 || m_model->value(row, "iid").toLongLong() == current) {
            m_grid->selectRow(row);
            break;
        }
    showRow();
}

void Tljmbszfm::showRow()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_current = m_model->value(row, "iid").toLongLong();
    m_name->setText(m_model->value(row, "mc").toString());
    m_host->setText(m_model->value(row, "zj").toString());
    m_port->setText(m_model->value(row, "dk").toString());
    m_database->setText(m_model->value(row, "sjk").toString());
    m_syntax->setCurrentText(m_model->value(row, "jlgs").toString());
    m_charset->setCurrentText(m_model->value(row, "zfj").toString());
    m_enabled->setChecked(m_model->value(row, "sfqy").toString() == "Y");
}

void Tljmbszfm::newClick()
{
    m_current = 0;
    m_grid->clearSelection();
    for (QLineEdit* box : {m_name, m_host, m_database})
        box->clear();
    m_port->setText("210");
    m_syntax->setCurrentIndex(0);
    m_charset->setCurrentIndex(0);
    m_enabled->setChecked(true);
    m_name->setFocus();
}

void Tljmbszfm::saveClick()
{
    Z3950Target target;
    target.id = m_current;
    target.name = m_name->text();
    target.host = m_host->text();
    target.port = m_port->text().toInt();
    target.database = m_database->text();
    target.syntax = m_syntax->currentText();
    target.charset = m_charset->currentText();
    target.enabled = m_enabled->isChecked();
    qint64 saved = 0;
    if (Action::run(this, [&] { saved = Z3950::saveTarget(target); }))
        reload(saved);
}

void Tljmbszfm::deleteClick()
{
    if (m_current == 0)
        return;
    if (!Messages::question(this, "询问", QString("确实要删除检索目标“%1”吗?").arg(m_name->text())))
        return;
    if (Action::run(this, [&] { Z3950::removeTarget(m_current); })) {
        m_current = 0;
        reload();
        if (m_model->rowCount() == 0)
            newClick();
    }
}
