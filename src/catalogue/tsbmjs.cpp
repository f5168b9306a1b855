#include "catalogue/tsbmjs.h"

#include "data/sql.h"
#include "pickers/dzjhxxzl.h"
#include "ui/action.h"
#include "ui/commands.h"
#include "ui/screenkit.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QList<GridColumn>& gridColumns()
{
    using Format = GridColumn::Format;
    static const QList<GridColumn> columns{
        {"txm", "条形码"},
        {"tsmc", "图书名称"},
        {"xlm", "系列号"},
        {"zz", "作者"},
        {"bs", "存本数", Format::Number},
        {"jcs", "借出数", Format::Number},
        {"yz", "中英文"},
        {"fsjh", "放书架号"},
        {"Tsjsh", "图书检索号"},
        {"Fjch", "分卷册号"},
        {"Bt", "图书标题"},
        {"Ztm", "正题名"},
        {"Ftm", "副题名"},
        {"Sjm", "四角码"},
        {"Tskb", "图书开本"},
        {"Tsym", "图书页码", Format::Number},
        {"Tsbb", "图书版次"},
        {"Hbfh", "货币符号"},
        {"Tsjg", "图书价格", Format::Money},
        {"Ctys", "插图页数", Format::Number},
        {"Cbsmc", "出版社名称"},
        {"pyzjh", "拼音助记符"},
    };
    return columns;
}
} // namespace

TFormtsbmjs::TFormtsbmjs(QWidget* parent) : QWidget(parent)
{
    setObjectName("Formtsbmjs");
    setWindowTitle("图书信息查询");

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* refresh = button("刷新", "refresh");
    QPushButton* expand = button("展开", "expand");
    QPushButton* collapse = button("收缩", "collapse");
    QPushButton* newBook = button("新增图书", "newBook");
    QPushButton* details = button("图书详细信息", "details");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("提示：请先选择一条记录，再点“图书详细信息”按钮", this));
    top->addStretch();
    for (QPushButton* b : {refresh, expand, collapse, newBook, details})
        top->addWidget(b);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName("TreeView1");
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(200);
    m_model = new QueryGridModel(gridColumns(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(1, 200);
    auto* split = new QSplitter(this);
    split->addWidget(m_tree);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(refresh, &QPushButton::clicked, this, &TFormtsbmjs::buildTree);
    connect(expand, &QPushButton::clicked, this, [this] { expandAll(true); });
    connect(collapse, &QPushButton::clicked, this, [this] { expandAll(false); });
    connect(newBook, &QPushButton::clicked, this, [this] { Commands::open("tsbm", this); });
    connect(details, &QPushButton::clicked, this, &TFormtsbmjs::showBook);
    connect(m_grid, &QTableView::doubleClicked, this, &TFormtsbmjs::showBook);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { nodeSelected(node); });
    for (auto signal : {&QTreeWidget::itemExpanded, &QTreeWidget::itemCollapsed})
        connect(m_tree, signal, this, &TFormtsbmjs::setImage);
    Screen::closeOnEscape(this);

    buildTree();
}

void TFormtsbmjs::setImage(QTreeWidgetItem* node)
{
    static const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    static const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    static const QIcon leaf = style()->standardIcon(QStyle::SP_FileIcon);
    const Image image = node->childCount() == 0 ? Leaf : node->isExpanded() ? Open : Closed;
    node->setData(0, imageRole, image);
    node->setIcon(0, image == Leaf ? leaf : image == Open ? open : closed);
}

void TFormtsbmjs::buildTree()
{
    struct Row {
        QString id;
        QString name;
        QString parent;
    };
    QList<Row> rows;
    if (!Action::run(this, [&] {
            Sql q("SELECT * FROM bmdyb order by type_from_id,type_id");
            q.exec();
            while (q.next())
                rows.append({q.text("type_id"), q.text("type_name"), q.text("type_from_id")});
        }))
        return;
    if (rows.isEmpty())
        return;
    m_tree->setUpdatesEnabled(false);
    m_tree->hide();
    m_tree->clear();
    // The first node added under each id is the one later rows hang from.
    QHash<QString, QTreeWidgetItem*> byId;
    QList<QTreeWidgetItem*> added;
    for (const Row& row : rows) {
        QTreeWidgetItem* node = nullptr;
        if (row.parent == "0") {
            node = new QTreeWidgetItem(m_tree);
        } else if (QTreeWidgetItem* parent = byId.value(row.parent)) {
            node = new QTreeWidgetItem(parent);
        } else {
            continue; // a class whose parent is not in the tree
        }
        node->setText(0, row.id + "(" + row.name + ")");
        node->setData(0, Qt::UserRole, row.id);
        if (!byId.contains(row.id))
            byId.insert(row.id, node);
        added << node;
    }
    m_tree->show();
    for (QTreeWidgetItem* node : added) {
        if (node->childCount() > 0)
            node->setExpanded(true);
        setImage(node);
    }
    m_tree->setUpdatesEnabled(true);
}

void TFormtsbmjs::expandAll(bool expand)
{
    m_tree->setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> pending;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        pending << m_tree->topLevelItem(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem* node = pending.takeFirst();
        for (int i = 0; i < node->childCount(); ++i)
            pending << node->child(i);
        if (node->childCount() > 0) {
            node->setExpanded(expand);
            setImage(node);
        }
    }
    m_tree->setUpdatesEnabled(true);
}

void TFormtsbmjs::nodeSelected(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const QString id = node->data(0, Qt::UserRole).toString();
    Action::run(this, [&] {
        Sql classRow("select * from bmdyb WHERE type_id= :type_id");
        classRow.bind(id).exec();
        const bool second = classRow.next() && classRow.text("type_from_id") != "0";
        Sql books(second ? "select * from tszk where mxflm= :mxflm"
                         : "select * from tszk where flmc= :flmc");
        books.bind(id).exec();
        m_model->show(books);
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void TFormtsbmjs::showBook()
{
    if (m_model->rowCount() == 0)
        return;
    const QModelIndex current = m_grid->currentIndex();
    const QString barcode = m_model->value(current.isValid() ? current.row() : 0, "txm").toString();
    if (!barcode.isEmpty())
        Tdzjhxxzlfm::open(barcode, this);
}
