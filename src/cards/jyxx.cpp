#include "cards/jyxx.h"

#include "data/sql.h"
#include "desk/topups.h"
#include "ui/action.h"
#include "ui/screenkit.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QStringList titles = {"借阅证号", "读者姓名", "等级", "类型"};

class CardListModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < titles.size())
            return titles.at(section);
        return QSqlQueryModel::headerData(section, orientation, role);
    }
};
} // namespace

TFormjyxx::TFormjyxx(const QString& prefix, QWidget* parent) : QDialog(parent)
{
    setObjectName("Formjyxx");
    setWindowTitle("信息查询");
    // A fixed border without title-bar buttons: the list closes by choosing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_model = new CardListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, &QDialog::accept);

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("ok");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    Action::run(this, [&] {
        Sql query(TopUps::matchingStatement);
        query.bind(prefix + "%").exec();
        m_model->setQuery(query.takeQuery());
    });
    m_grid->setColumnWidth(0, 120);
    m_grid->setColumnWidth(1, 100);
    m_grid->setColumnWidth(2, 50);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    resize(440, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_grid->setFocus();
}

QString TFormjyxx::current() const
{
    const QModelIndex index = m_grid->currentIndex();
    if (!index.isValid())
        return QString();
    return m_model->record(index.row()).value("kno").toString();
}

bool TFormjyxx::eventFilter(QObject* watched, QEvent* event)
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

std::optional<QString> TFormjyxx::choose(const QString& prefix, QWidget* parent)
{
    TFormjyxx list(prefix, parent);
    if (list.exec() != QDialog::Accepted || list.current().isEmpty())
        return std::nullopt;
    return list.current();
}
