#include "circulation/dzjycx.h"

#include "circulation/jhcxtj.h"
#include "data/sql.h"
#include "pickers/dzjhxxzl.h"
#include "ui/action.h"
#include "ui/help.h"
#include "ui/screenkit.h"
#include "ui/windows.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QList<GridColumn> loanColumns{
    {"Kno", "借书证号"},   {"Dzm", "读者名"},     {"Tsmc", "图书名称"},
    {"Jsrq", "借书日期"},  {"Jsjsr", "借经手人"}, {"Hsrq", "还书日期/借书到期日期"},
    {"Hsjsr", "还经手人"}, {"Sfsh", "损坏"},      {"Xjcs", "续次"},
    {"Wsxj", "网上续借"},   {"Txm", "图书条码"},
};
// The columns the fine dialog's look-up leaves out: 还经手人, 损坏, 续次, 网上续借.
constexpr int returningColumns[] = {6, 7, 8, 9};
// The barcode, shown only to the fine dialog's look-up, beside the card number.
constexpr int barcodeColumn = 10;
constexpr int narrowWidth = 445;

// Enter in the grid opens the current row's details, as a double-click does.
class EnterOpens : public QObject {
public:
    EnterOpens(QTableView* grid, std::function<void()> open) : QObject(grid), m_open(open)
    {
        grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_open();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_open;
};
} // namespace

Tdzjycxfm::Tdzjycxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("dzjycxfm");
    setWindowTitle("读者借阅查询");

    m_model = new QueryGridModel(loanColumns, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->setToolTip("双击可以查询详细信息");
    m_grid->horizontalHeader()->setSectionsClickable(true);
    const QList<int> widths{90, 80, 240, 90, 80, 150, 80, 50, 50, 70, 130};
    for (int i = 0; i < widths.size(); ++i)
        m_grid->setColumnWidth(i, widths[i]);
    m_grid->setMinimumSize(300, 240);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tdzjycxfm::sortBy);
    connect(m_grid, &QTableView::doubleClicked, this, &Tdzjycxfm::showDetails);
    new EnterOpens(m_grid, [this] { showDetails(); });

    auto* hint = new QLabel("提示：还书经手人为空，表示此本书还未归还！", this);
    hint->setObjectName("Label1");
    hint->setStyleSheet("color: blue;");
    hint->setWordWrap(true); // the fine dialog's narrow window still fits
    auto* again = new QPushButton("重新查询", this);
    again->setObjectName("BitBtn1");
    auto* close = new QPushButton("关闭", this);
    close->setObjectName("BitBtn2");
    connect(again, &QPushButton::clicked, this, &Tdzjycxfm::conditionsClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint);
    bottom->addStretch();
    bottom->addWidget(again);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    // The pop-up menu: "查询" on F3, "关闭" on Esc.
    auto* query = new QAction("查询", this);
    query->setObjectName("queryAction");
    query->setShortcut(Qt::Key_F3);
    query->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(query, &QAction::triggered, this, &Tdzjycxfm::conditionsClick);
    addAction(query);
    Screen::closeOnEscape(this);
    Help::attach(this, helpContext);

    showColumns(false);
    show(m_selection);
    m_grid->setFocus();
}

void Tdzjycxfm::showColumns(bool narrowed)
{
    for (const int column : returningColumns)
        m_grid->setColumnHidden(column, narrowed);
    m_grid->setColumnHidden(barcodeColumn, !narrowed);
    QHeaderView* header = m_grid->horizontalHeader();
    header->moveSection(header->visualIndex(barcodeColumn), narrowed ? 1 : barcodeColumn);
}

Tdzjycxfm* Tdzjycxfm::open()
{
    const bool wasOpen = Windows::findOpen("Tdzjycxfm") != nullptr;
    auto* screen = Windows::showOrActivate<Tdzjycxfm>();
    // Left narrowed by the fine dialog, the screen is the whole loan list again.
    if (wasOpen && screen->m_narrowed) {
        screen->m_narrowed = false;
        screen->m_selection = LoanSelection::all();
        screen->showColumns(false);
        screen->show(screen->m_selection);
    }
    Windows::frameOf(screen)->showMaximized();
    return screen;
}

Tdzjycxfm* Tdzjycxfm::openMatching(const QString& card, const QString& prefix)
{
    auto* screen = Windows::showOrActivate<Tdzjycxfm>();
    screen->m_selection = LoanSelection::openLoansOf(card, prefix);
    screen->show(screen->m_selection);
    screen->m_narrowed = true;
    screen->showColumns(true);
    QWidget* frame = Windows::frameOf(screen);
    frame->showNormal();
    frame->resize(narrowWidth, frame->height());
    return screen;
}

int Tdzjycxfm::rowCount() const
{
    return m_model->rowCount();
}

void Tdzjycxfm::show(const LoanSelection& selection)
{
    const Listing rows = selection.listing();
    // A store error leaves the grid empty (and is shown and logged by the action).
    if (!Action::run(this, [&] {
            Sql query(rows.statement);
            query.bindAll(rows.values).exec();
            m_model->show(query);
        })) {
        m_model->closeQuery();
        return;
    }
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void Tdzjycxfm::conditionsClick()
{
    m_selection = Tjhcxtjfm::ask(this);
    m_conditionsUsed = true;
    show(m_selection);
    m_grid->setFocus();
}

void Tdzjycxfm::sortBy(int section)
{
    if (section < 0 || section >= loanColumns.size())
        return;
    show(m_selection.sortedBy(loanColumns[section].column));
}

void Tdzjycxfm::showDetails()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const QString barcode = m_model->value(current.row(), "Txm").toString();
    if (!barcode.isEmpty())
        Tdzjhxxzlfm::open(barcode, this);
}
