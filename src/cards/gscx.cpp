#include "cards/gscx.h"

#include "data/sql.h"
#include "desk/lostcards.h"
#include "ui/action.h"
#include "ui/gbklimit.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QStringList columns = {"kno", "kdj", "dzm", "sfzh", "gsbz"};
const QStringList titles = {"借阅证号", "卡等级", "读者姓名", "身份证号", "挂失否"};

// The register rows in the grid's column order; the titles stay while nothing is listed.
class RegisterModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCount())
            return titles.at(section);
        return QSqlQueryModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole || index.column() >= columnCount())
            return {};
        const int source = record().indexOf(columns.at(index.column()));
        if (source < 0)
            return {};
        return QSqlQueryModel::data(createIndex(index.row(), source), role).toString();
    }
};
} // namespace

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
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_number, &QLineEdit::returnPressed, m_name, [this] { m_name->setFocus(); });
    connect(m_name, &QLineEdit::returnPressed, m_status, [this] { m_status->setFocus(); });
    connect(m_status->lineEdit(), &QLineEdit::returnPressed, query, [query] { query->setFocus(); });

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

    m_model = new RegisterModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(3, 170);
    m_grid->setMinimumSize(600, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(m_grid, 1);
}

void TFormgscx::queryClick()
{
    const LostCardSelection selection(m_number->text(), m_name->text(), m_status->currentText());
    bool listed = false;
    const bool ran = Action::run(this, [&] {
        Sql query(selection.statement());
        query.bindAll(selection.values()).exec();
        m_model->setQuery(query.takeQuery());
        listed = m_model->rowCount() > 0;
    });
    if (ran && !listed)
        Messages::plain(this, "没有找到您需要数据！");
}
