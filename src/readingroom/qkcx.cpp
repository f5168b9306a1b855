#include "readingroom/qkcx.h"

#include "data/sql.h"
#include "ui/action.h"
#include "ui/screenkit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Enter in the grid chooses the row, as the button does.
class ChoiceGrid : public QObject {
public:
    ChoiceGrid(QTableView* grid, QDialog* dialog) : QObject(grid), m_dialog(dialog)
    {
        grid->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_dialog->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog* m_dialog;
};
} // namespace

TFormqkcx::TFormqkcx(const Selection& rows, QWidget* parent) : QDialog(parent)
{
    setObjectName("Formqkcx");
    setWindowTitle("查询信息");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_model = new QueryGridModel(
        {{"mc", "图书名称"}, {"kh", "刊期"}, {"cbrq", "出版日期"}, {"cbsmc", "出版社名称"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("BitBtn1");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(560, 320);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);
    new ChoiceGrid(m_grid, this);
    Action::run(this, [&] {
        Sql query(rows.statement);
        query.bindAll(rows.values).exec();
        m_model->show(query);
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    m_grid->setFocus();
}

qint64 TFormqkcx::chosen() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return 0;
    return m_model->value(current.row(), "iid").toLongLong();
}

Periodical TFormqkcx::choose(const Selection& rows, QWidget* parent)
{
    auto* list = new TFormqkcx(rows, parent);
    list->setAttribute(Qt::WA_DeleteOnClose, false);
    list->exec();
    const qint64 id = list->chosen();
    delete list;
    Periodical chosen;
    if (id != 0)
        Action::run(parent, [&] { chosen = Periodicals::byId(id); });
    return chosen;
}
