#include "catalogue/tssxx.h"

#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"

#include <QAction>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

Ttssxxfm::Ttssxxfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("tssxxfm");
    setWindowTitle("图书室信息");
    m_model = new ColumnsModel({{"tssbh", "编号"}, {"tssmc", "图书室名称"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 90);
    m_grid->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_grid);

    auto* ok = new QAction("确定", this);
    ok->setObjectName("N1");
    connect(ok, &QAction::triggered, this, &QDialog::accept);
    auto* close = new QAction("关闭", this);
    close->setObjectName("N2");
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    addAction(ok);
    addAction(close);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    Action::run(this, [&] {
        Sql q("select * from tssxxk order by tssbh");
        q.exec();
        m_model->show(q.takeQuery());
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    resize(300, 260);
    m_grid->setFocus();
}

bool Ttssxxfm::isEmpty() const
{
    return m_model->rowCount() == 0;
}

QString Ttssxxfm::firstNumber() const
{
    return m_model->text(0, "tssbh");
}

bool Ttssxxfm::eventFilter(QObject* watched, QEvent* event)
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
