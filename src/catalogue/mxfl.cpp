#include "catalogue/mxfl.h"

#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"

#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

Tmxflfm::Tmxflfm(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName("mxflfm");
    setWindowTitle("国家标准明细分类码");
    m_model = new ColumnsModel(
        {{"Flm", "分类码"}, {"Mxflm", "明细分类码"}, {"Mxflmc", "明细分类名称"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 80);
    m_grid->setColumnWidth(1, 110);
    m_grid->setMinimumSize(460, 300);
    m_grid->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_grid);

    Action::run(this, [&] {
        Sql q("select * from mxflk where (mxflm like :tj1)or(mxflmc like :tj2)");
        q.bind("%" + text + "%").bind("%" + text + "%").exec();
        m_model->show(q.takeQuery());
    });
    m_model->countAll();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    m_grid->setFocus();
}

int Tmxflfm::count() const
{
    return m_model->rowCount();
}

int Tmxflfm::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

QString Tmxflfm::code() const
{
    return m_model->text(currentRow(), "mxflm");
}

QString Tmxflfm::name() const
{
    return m_model->text(currentRow(), "mxflmc");
}

bool Tmxflfm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
