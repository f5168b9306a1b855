#include "pickers/cbsxxcx.h"

#include "data/sql.h"
#include "desk/publishers.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormcbsxxcx::TFormcbsxxcx(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formcbsxxcx");
    setWindowTitle("出版社信息查询");

    m_text = new QLineEdit(this);
    m_text->setObjectName("Edit1");
    auto* query = new QPushButton("查询", this);
    query->setObjectName("Button1");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("拼音助记符/名称", this));
    top->addWidget(m_text, 1);
    top->addWidget(query);

    m_model = new ColumnsModel({{"pyzjh", "拼音助记符"}, {"cbsmc", "名称"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 110);
    m_grid->setMinimumSize(380, 260);
    m_grid->installEventFilter(this);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("Button2");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("Button3");
    auto* remove = new QPushButton("删除", this);
    remove->setObjectName("Button4");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);
    buttons->addWidget(remove);
    // Enter in the text box runs the query, never a confirm or a delete.
    for (QPushButton* b : {ok, back, remove})
        b->setAutoDefault(false);
    query->setDefault(true);

    connect(m_text, &QLineEdit::textChanged, this, &TFormcbsxxcx::textChanged);
    connect(query, &QPushButton::clicked, this, &TFormcbsxxcx::queryClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, &TFormcbsxxcx::deleteClick);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    list(QString());
    m_text->setFocus();
}

void TFormcbsxxcx::list(const QString& prefix)
{
    Action::run(this, [&] {
        if (prefix.isEmpty()) {
            Sql q(Publishers::allStatement);
            q.exec();
            m_model->show(q.takeQuery());
        } else {
            Sql q(Publishers::prefixStatement);
            q.bindAll(Publishers::prefixValues(prefix)).exec();
            m_model->show(q.takeQuery());
        }
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void TFormcbsxxcx::textChanged(const QString& text)
{
    // An emptied box leaves the list as it is.
    if (!text.isEmpty())
        list(text);
}

void TFormcbsxxcx::queryClick()
{
    if (!m_text->text().isEmpty())
        list(m_text->text());
}

void TFormcbsxxcx::deleteClick()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const qint64 id = m_model->value(row, "iid").toLongLong();
    if (!Action::run(this, [&] { Publishers::remove(id); }))
        return;
    list(m_text->text());
}

int TFormcbsxxcx::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

QString TFormcbsxxcx::name() const
{
    return m_model->text(currentRow(), "cbsmc");
}

QString TFormcbsxxcx::mnemonic() const
{
    return m_model->text(currentRow(), "pyzjh");
}

qint64 TFormcbsxxcx::iid() const
{
    return m_model->value(currentRow(), "iid").toLongLong();
}

bool TFormcbsxxcx::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
