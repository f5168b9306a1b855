#include "pickers/cbsxx.h"

#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

Tcbsxxfm::Tcbsxxfm(const QString& nameText, QWidget* parent) : QDialog(parent)
{
    setObjectName("cbsxxfm");
    setWindowTitle("出版社信息");
    m_model =
        new ColumnsModel({{"Cbsmc", "出版社名称"}, {"Lxr", "联系人"}, {"Cbsdz", "联系地址"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 200);
    m_grid->setColumnWidth(1, 90);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, &Tcbsxxfm::showDetails);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_grid);

    auto* details = new QAction("详细资料", this);
    details->setObjectName("N1");
    details->setShortcut(Qt::Key_F8);
    connect(details, &QAction::triggered, this, &Tcbsxxfm::showDetails);
    auto* close = new QAction("关闭", this);
    close->setObjectName("N2");
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    addAction(details);
    addAction(close);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    Action::run(this, [&] {
        Sql q(Publishers::containingStatement);
        q.bindAll(Publishers::containingValues(nameText)).exec();
        m_model->show(q.takeQuery());
    });
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    resize(520, 300);
    move(1, 1);
    m_grid->setFocus();
}

bool Tcbsxxfm::isEmpty() const
{
    return m_model->rowCount() == 0;
}

int Tcbsxxfm::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        return current.row();
    return m_model->rowCount() > 0 ? 0 : -1;
}

QString Tcbsxxfm::name() const
{
    return m_model->text(currentRow(), "cbsmc");
}

qint64 Tcbsxxfm::selectedIid() const
{
    return m_model->value(currentRow(), "iid").toLongLong();
}

void Tcbsxxfm::showDetails()
{
    if (currentRow() < 0)
        return;
    Publisher publisher;
    bool found = false;
    if (!Action::run(this, [&] { found = Publishers::find(selectedIid(), &publisher); }) || !found)
        return;
    Tcbsxxzlfm details(publisher, this);
    details.exec();
}

bool Tcbsxxfm::eventFilter(QObject* watched, QEvent* event)
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

Tcbsxxzlfm::Tcbsxxzlfm(const Publisher& publisher, QWidget* parent) : QDialog(parent)
{
    setObjectName("cbsxxzlfm");
    setWindowTitle("出版社详细资料");
    auto* form = new QFormLayout;
    auto addBox = [&](const char* label, const char* name, const QString& text) {
        auto* box = new QLineEdit(text, this);
        box->setObjectName(name);
        box->setReadOnly(true);
        box->setMinimumWidth(260);
        box->setCursorPosition(0);
        form->addRow(label, box);
    };
    addBox("出版社名称", "Edit1", publisher.name);
    addBox("出版社地址", "Edit2", publisher.address);
    addBox("联系人", "Edit3", publisher.contact);
    addBox("联系电话", "Edit4", publisher.telephone);
    addBox("EMail", "Edit5", publisher.email);
    addBox("邮政编码", "Edit6", publisher.postcode);

    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn1");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    close->setFocus();
    setFixedSize(sizeHint());
}
