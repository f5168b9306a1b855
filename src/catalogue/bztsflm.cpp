#include "catalogue/bztsflm.h"

#include "data/sql.h"
#include "ui/action.h"
#include "ui/screenkit.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Code boxes turn to upper case as they are typed.
void upperCaseAsTyped(QLineEdit* box)
{
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int at = box->cursorPosition();
            box->setText(upper);
            box->setCursorPosition(at);
        }
    });
}

QAction* addShortcut(QWidget* owner, const char* text, const char* name, const QKeySequence& key)
{
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    action->setShortcut(key);
    owner->addAction(action);
    return action;
}

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

const QList<GridColumn> standardColumns{{"jlm", "部类名称"},
                                        {"dldm", "大类代码"},
                                        {"dlmc", "大类名称"},
                                        {"mxldm", "明细代码"},
                                        {"mxlmc", "明细类名称"}};

// The query grid: cells can be corrected, except those of the settings screen's rows
// (base class "aa"). A typed cell goes to `store`, which writes it.
class StandardModel : public QueryGridModel {
public:
    using Store = std::function<bool(int row, const QString& column, const QString& text)>;
    StandardModel(Store store, QObject* parent)
        : QueryGridModel(standardColumns, parent), m_store(std::move(store))
    {
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QueryGridModel::flags(index);
        if (index.isValid() && value(index.row(), "jlm").toString() != "aa")
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return QueryGridModel::data(index, role == Qt::EditRole ? Qt::DisplayRole : role);
    }
    bool setData(const QModelIndex& index, const QVariant& text, int role) override
    {
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) ||
            text.toString() == data(index, Qt::DisplayRole).toString())
            return false;
        return m_store(index.row(), standardColumns.at(index.column()).column, text.toString());
    }

private:
    Store m_store;
};
} // namespace

Tbztsflmfm::Tbztsflmfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("bztsflmfm");
    setWindowTitle("国家标准图书分类码录入");
    auto* form = new QFormLayout;
    const QList<std::pair<const char*, const char*>> boxes{{"所属基类名称", "Jlm"},
                                                           {"所属大类代码", "Dldm"},
                                                           {"所属大类名称", "Dlmc"},
                                                           {"明细类代码", "Mxldm"},
                                                           {"明细类名称", "Mxlmc"}};
    for (const auto& [label, name] : boxes) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMinimumWidth(220);
        box->installEventFilter(this);
        m_boxes << box;
        form->addRow(label, box);
    }
    upperCaseAsTyped(m_boxes[1]);
    upperCaseAsTyped(m_boxes[3]);

    auto* save = new QPushButton("保存&S", this);
    save->setObjectName("BitBtn1");
    auto* query = new QPushButton("查询&F", this);
    query->setObjectName("BitBtn2");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn3");
    for (QPushButton* b : {save, query, close})
        b->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &Tbztsflmfm::saveClick);
    connect(query, &QPushButton::clicked, this, &Tbztsflmfm::queryClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {save, query, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_boxes.first()->setFocus();
    setFixedSize(sizeHint());
}

bool Tbztsflmfm::eventFilter(QObject* watched, QEvent* event)
{
    const qsizetype at = m_boxes.indexOf(qobject_cast<QLineEdit*>(watched));
    if (at >= 0 && isEnter(event)) {
        if (at + 1 < m_boxes.size())
            m_boxes.at(at + 1)->setFocus();
        else
            saveClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tbztsflmfm::saveClick()
{
    const StandardPair pair{m_boxes[0]->text(), m_boxes[1]->text(), m_boxes[2]->text(),
                            m_boxes[3]->text(), m_boxes[4]->text()};
    if (!Action::run(this, [&] { Classification::addStandard(pair); }))
        return;
    // The next row starts with the saved row's base class and class.
    m_boxes[3]->clear();
    m_boxes[4]->clear();
    m_boxes[3]->setFocus();
}

void Tbztsflmfm::queryClick()
{
    Ttsbzflcxjgfm result(this);
    result.exec();
}

Ttsbzflcxjgfm::Ttsbzflcxjgfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("tsbzflcxjgfm");
    setWindowTitle("图书标准分类查询");
    m_model = new StandardModel([this](int row, const QString& column,
                                       const QString& text) { return store(row, column, text); },
                                this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(640, 340);

    auto* query = addShortcut(this, "查询", "N1", Qt::Key_F3);
    auto* close = addShortcut(this, "关闭", "N2", Qt::Key_Escape);
    connect(query, &QAction::triggered, this, &Ttsbzflcxjgfm::queryClick);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_grid);

    reopen();
}

QAbstractItemModel* Ttsbzflcxjgfm::model() const
{
    return m_model;
}

void Ttsbzflcxjgfm::reopen()
{
    const Listing rows = Classification::standardRows(m_conditions);
    if (!Action::run(this, [&] {
            Sql q(rows.statement);
            q.bindAll(rows.values).exec();
            m_model->show(q);
        }))
        m_model->closeQuery();
}

bool Ttsbzflcxjgfm::store(int row, const QString& column, const QString& text)
{
    const qint64 iid = m_model->value(row, "iid").toLongLong();
    const int at = m_grid->currentIndex().column();
    const bool stored =
        Action::run(this, [&] { Classification::correctStandard(iid, column, text); });
    // Either way the grid shows what the store holds, on the same cell; read again once
    // the cell's editor is closed.
    QTimer::singleShot(0, this, [this, row, at] {
        reopen();
        while (m_model->rowCount() <= row && m_model->canFetchMore())
            m_model->fetchMore();
        m_grid->setCurrentIndex(m_model->index(row, std::max(at, 0)));
    });
    return stored;
}

void Ttsbzflcxjgfm::applyConditions(const StandardPair& conditions)
{
    m_conditions = conditions;
    reopen();
}

void Ttsbzflcxjgfm::queryClick()
{
    Tbzflcxfm dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        applyConditions(dialog.conditions());
}

Tbzflcxfm::Tbzflcxfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("bzflcxfm");
    setWindowTitle("国家图书标准分类查询");
    auto* form = new QFormLayout;
    const QList<const char*> labels{"基类名称", "大类代码", "大类名称", "明细类代码", "明细类名称"};
    for (int i = 0; i < labels.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("Edit%1").arg(i + 1));
        box->setMinimumWidth(200);
        box->installEventFilter(this);
        m_boxes << box;
        form->addRow(labels[i], box);
    }
    upperCaseAsTyped(m_boxes[1]);
    connect(m_boxes[3], &QLineEdit::editingFinished, m_boxes[3],
            [box = m_boxes[3]] { box->setText(box->text().toUpper()); });

    auto* ok = new QPushButton("确定&O", this);
    ok->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消&C", this);
    cancel->setObjectName("BitBtn2");
    for (QPushButton* b : {ok, cancel})
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(addShortcut(this, "确定", "N1", QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &QDialog::accept);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_boxes.first()->setFocus();
    setFixedSize(sizeHint());
}

StandardPair Tbzflcxfm::conditions() const
{
    return {m_boxes[0]->text(), m_boxes[1]->text(), m_boxes[2]->text(),
            m_boxes[3]->text().toUpper(), m_boxes[4]->text()};
}

bool Tbzflcxfm::eventFilter(QObject* watched, QEvent* event)
{
    const qsizetype at = m_boxes.indexOf(qobject_cast<QLineEdit*>(watched));
    if (at >= 0 && isEnter(event)) {
        if (at + 1 < m_boxes.size())
            m_boxes.at(at + 1)->setFocus();
        else
            focusNextChild(); // on to "确定&O"
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
