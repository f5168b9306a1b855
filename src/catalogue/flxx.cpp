#include "catalogue/flxx.h"

#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormflxx::TFormflxx(const QString& typedCode, QWidget* parent) : QDialog(parent)
{
    setObjectName("Formflxx");
    setWindowTitle("图书分类代码");
    m_model = new ColumnsModel({{"mxldm", "图书二级分类代码"}, {"mxlmc", "二级分类名称"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 130);
    m_grid->setMinimumSize(360, 240);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("Button1");
    auto* back = new QPushButton("返回", this);
    back->setObjectName("Button2");
    for (QPushButton* b : {ok, back})
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    Action::run(this, [&] {
        Sql q("select * from tsflm where mxldm like :tssbhx");
        q.bind(typedCode + "%").exec();
        m_model->show(q.takeQuery());
    });
    m_model->countAll();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    m_grid->setFocus();
}

int TFormflxx::count() const
{
    return m_model->rowCount();
}

int TFormflxx::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

QString TFormflxx::code() const
{
    return m_model->text(currentRow(), "mxldm");
}

QString TFormflxx::name() const
{
    return m_model->text(currentRow(), "mxlmc");
}

bool TFormflxx::eventFilter(QObject* watched, QEvent* event)
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
