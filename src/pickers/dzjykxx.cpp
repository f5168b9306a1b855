#include "pickers/dzjykxx.h"

#include "data/sql.h"
#include "desk/loans.h"
#include "ui/action.h"
#include "ui/screenkit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QList<GridColumn> cardColumns{
    {"kno", "借阅卡号"},  {"kdj", "卡等级"},    {"dzm", "读者名"},
    {"bkrq", "办卡日期"}, {"sfyx", "是否有效"},
};

// Enter in the list answers like a double-click.
class CardGrid : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> onEnter;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
            onEnter();
            return;
        }
        QTableView::keyPressEvent(event);
    }
};
} // namespace

Tdzjykxxfm::Tdzjykxxfm(const QString& prefix, QWidget* parent)
    : Tdzjykxxfm(Loans::validCards(prefix), parent)
{
}

Tdzjykxxfm::Tdzjykxxfm(const Listing& cards, QWidget* parent) : QDialog(parent)
{
    setObjectName("dzjykxxfm");
    setWindowTitle("读者借阅卡信息");
    buildScreen();
    load(cards.statement, cards.values);
    resize(560, 420);
}

void Tdzjykxxfm::buildScreen()
{
    auto* conditions = new QGroupBox(this);
    auto* heading = new QLabel("查询条件", conditions);
    heading->setStyleSheet("color: blue;");
    auto* label = new QLabel("借阅卡号/读者姓名", conditions);
    auto* note = new QLabel("[区分大小写]", conditions);
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    m_filter = new QLineEdit(conditions);
    m_filter->setObjectName("Edit1");
    m_filter->setMaxLength(12);
    connect(m_filter, &QLineEdit::textChanged, this, &Tdzjykxxfm::filterChanged);
    auto* labels = new QVBoxLayout;
    labels->addWidget(label);
    labels->addWidget(note);
    auto* row = new QHBoxLayout;
    row->addLayout(labels);
    row->addWidget(m_filter, 1);
    auto* groupLayout = new QVBoxLayout(conditions);
    groupLayout->addWidget(heading);
    groupLayout->addLayout(row);

    auto* grid = new CardGrid(this);
    grid->onEnter = [this] { accept(); };
    m_grid = grid;
    m_grid->setObjectName("DBGrid1");
    m_model = new QueryGridModel(cardColumns, this);
    Grid::setUp(m_grid, m_model);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { accept(); });

    auto* ok = new QPushButton("确定", this);
    ok->setObjectName("BitBtn1");
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    Screen::closeOnEscape(this, [this] { accept(); });
}

void Tdzjykxxfm::load(const QString& statement, const QVariantList& values)
{
    Action::run(this, [&] {
        Sql q(statement);
        q.bindAll(values).exec();
        m_model->show(q);
        if (m_model->rowCount() > 0)
            m_grid->setCurrentIndex(m_model->index(0, 0));
    });
}

void Tdzjykxxfm::filterChanged(const QString& text)
{
    // An emptied filter keeps the list as it is.
    if (text.isEmpty())
        return;
    load("select * from cardk where kno like :kno or dzm like :kzm order by kno",
         {text + "%", text + "%"});
}

void Tdzjykxxfm::done(int)
{
    const QModelIndex current = m_grid->currentIndex();
    m_chosen = current.isValid() ? m_model->value(current.row(), "kno").toString() : QString();
    QDialog::done(QDialog::Accepted);
}

QString Tdzjykxxfm::pick(const QString& prefix, QWidget* parent)
{
    return pick(Loans::validCards(prefix), parent);
}

QString Tdzjykxxfm::pick(const Listing& cards, QWidget* parent)
{
    auto* dialog = new Tdzjykxxfm(cards, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->exec();
    const QString chosen = dialog->chosenNumber();
    delete dialog;
    return chosen;
}
