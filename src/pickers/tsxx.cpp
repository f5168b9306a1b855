#include "pickers/tsxx.h"

#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

Ttsxxfm::Ttsxxfm(const QString& statement, const QVariantList& values, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("tsxxfm");
    setWindowTitle("图书信息");

    m_text = new QLineEdit(this);
    m_text->setObjectName("Edit1");
    m_classes = new QComboBox(this);
    m_classes->setObjectName("ComboBox1");
    m_classes->setMinimumWidth(90);
    auto* query = new QPushButton("查询", this);
    query->setObjectName("Button1");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("拼音助记符(区分大小写)", this));
    top->addWidget(m_text, 1);
    top->addSpacing(8);
    top->addWidget(new QLabel("一类分级代码", this));
    top->addWidget(m_classes);
    top->addWidget(query);

    m_model = new ColumnsModel(
        {{"txm", "图书条形码"},
         {"tsmc", "图书名称"},
         {"mxflm", "标准分类码"},
         {"tsjg", "价格", ColumnsModel::twoDecimals, Qt::AlignRight | Qt::AlignVCenter},
         {"bs", "本数", {}, Qt::AlignRight | Qt::AlignVCenter}},
        this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 130);
    m_grid->setColumnWidth(1, 240);
    m_grid->setColumnWidth(2, 90);
    m_grid->setColumnWidth(3, 70);
    m_grid->setMinimumSize(620, 300);
    m_grid->installEventFilter(this);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("Button2");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("Button3");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);
    for (QPushButton* b : {ok, back})
        b->setAutoDefault(false);
    query->setDefault(true); // Enter in the text box runs the query

    auto* okAction = new QAction("确定", this);
    okAction->setObjectName("N1");
    okAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    auto* closeAction = new QAction("关闭", this);
    closeAction->setObjectName("N2");
    closeAction->setShortcut(Qt::Key_Escape);
    addAction(okAction);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_text, &QLineEdit::textEdited, this, &Ttsxxfm::textEdited);
    connect(query, &QPushButton::clicked, this, &Ttsxxfm::queryClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(okAction, &QAction::triggered, this, &QDialog::accept);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(closeAction, &QAction::triggered, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    Action::run(this, [&] {
        m_classes->addItem(QString());
        Sql classes("select * from bmdyb where type_from_id= :typess order by type_id");
        classes.bind("0").exec();
        while (classes.next())
            m_classes->addItem(classes.text("type_id"));
    });
    open(statement, values);
    m_grid->setFocus();
}

void Ttsxxfm::open(const QString& statement, const QVariantList& values)
{
    Action::run(this, [&] {
        Sql q(statement);
        q.bindAll(values).exec();
        m_model->show(q.takeQuery());
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void Ttsxxfm::textEdited(const QString& text)
{
    if (!text.isEmpty())
        open(narrowStatement, {text + "%", text + "%"});
}

void Ttsxxfm::queryClick()
{
    const QString text = m_text->text();
    QString statement = queryStatement;
    QVariantList values{text + "%", text + "%"};
    if (!m_classes->currentText().isEmpty()) {
        statement += " and flmc= :flmc";
        values << m_classes->currentText();
    }
    statement += " order by flmc";
    open(statement, values);
    if (m_model->rowCount() == 0)
        Messages::plain(this, notFoundText);
}

int Ttsxxfm::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

bool Ttsxxfm::isEmpty() const
{
    return m_model->rowCount() == 0;
}

QString Ttsxxfm::barcode() const
{
    return m_model->text(currentRow(), "txm");
}

QVariant Ttsxxfm::value(const QString& column) const
{
    return m_model->value(currentRow(), column);
}

QSqlRecord Ttsxxfm::row() const
{
    const int current = currentRow();
    return current < 0 ? QSqlRecord() : m_model->record(current);
}

bool Ttsxxfm::eventFilter(QObject* watched, QEvent* event)
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
