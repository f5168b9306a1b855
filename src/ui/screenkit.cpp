#include "ui/screenkit.h"

#include "data/sql.h"
#include "ui/messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "data/money.h"

namespace {
// Drops the click that the press on a button was about to make.
class DropNextClick : public QObject {
public:
    explicit DropNextClick(QAbstractButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
        // Whatever happens next, the drop is only for the click already under way.
        QTimer::singleShot(1000, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // The press that moved the focus is still on its way to the button.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            m_button->setDown(false);
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QAbstractButton* m_button;
};

// The screen a control belongs to: its window, or the child screen inside a frame.
const QWidget* screenOf(const QWidget* widget)
{
    while (widget->parentWidget() && !widget->isWindow() &&
           !qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget;
}

class LeaveWatcher : public QObject {
public:
    LeaveWatcher(QWidget* box, std::function<bool()> check)
        : QObject(box), m_box(box), m_check(std::move(check))
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        const QWidget* to = QApplication::focusWidget();
        if (!to || !screenOf(m_box)->isAncestorOf(to) || m_box->isAncestorOf(to))
            return false;
        if (!m_check())
            Screen::refuseLeave(m_box, reason);
        return false;
    }

private:
    QWidget* m_box;
    std::function<bool()> m_check;
};
} // namespace

void Screen::close(QWidget* screen)
{
    if (auto* dialog = qobject_cast<QDialog*>(screen))
        dialog->reject();
    else if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame->close();
    else
        screen->close();
}

void Screen::closeOnEscape(QWidget* screen, std::function<void()> closing)
{
    auto* action = new QAction(QString::fromUtf8("关闭"), screen);
    action->setObjectName("closeAction");
    action->setShortcut(Qt::Key_Escape);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (!closing)
        closing = [screen] { Screen::close(screen); };
    QObject::connect(action, &QAction::triggered, screen, std::move(closing));
    screen->addAction(action);
    screen->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void Screen::notice(QWidget* parent, const QString& text)
{
    Messages::notice(parent, QString::fromUtf8("提示信息"), text);
}

void Screen::onLeave(QWidget* box, std::function<bool()> check)
{
    new LeaveWatcher(box, std::move(check));
}

void Screen::refuseLeave(QWidget* box, Qt::FocusReason reason)
{
    if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        button && reason == Qt::MouseFocusReason)
        new DropNextClick(button);
    QPointer<QWidget> target(box);
    QTimer::singleShot(0, box, [target] {
        if (target)
            target->setFocus(Qt::OtherFocusReason);
    });
}

// --- Grid -------------------------------------------------------------------------------

void Grid::setUp(QTableView* grid, QAbstractItemModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->setDefaultSectionSize(22);
}

void Grid::step(QTableView* grid, int delta)
{
    QAbstractItemModel* model = grid->model();
    if (!model)
        return;
    if (delta > 0 && model->canFetchMore({}))
        model->fetchMore({});
    const int rows = model->rowCount();
    if (rows == 0)
        return;
    const int current = grid->currentIndex().isValid() ? grid->currentIndex().row() : 0;
    grid->selectRow(std::clamp(current + delta, 0, rows - 1));
}

// --- QueryGridModel ---------------------------------------------------------------------

QueryGridModel::QueryGridModel(QList<GridColumn> columns, QObject* parent)
    : QSqlQueryModel(parent), m_columns(std::move(columns))
{
}

void QueryGridModel::show(Sql& executed)
{
    setQuery(executed.takeQuery());
}

void QueryGridModel::closeQuery()
{
    setQuery(QSqlQuery());
    clear();
}

QVariant QueryGridModel::value(int row, const QString& column) const
{
    const int source = record().indexOf(column);
    if (source < 0 || row < 0 || row >= rowCount())
        return {};
    // createIndex, not index(): the result may hold more columns than the grid shows.
    return QSqlQueryModel::data(createIndex(row, source), Qt::DisplayRole);
}

int QueryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant QueryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return m_columns.at(section).title;
    return QSqlQueryModel::headerData(section, orientation, role);
}

QVariant QueryGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= columnCount())
        return {};
    const GridColumn& column = m_columns.at(index.column());
    const bool numeric = column.format != GridColumn::Format::Text;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(numeric ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const QVariant stored = value(index.row(), column.column);
    if (stored.isNull() || stored.toString().isEmpty())
        return QString();
    if (column.format == GridColumn::Format::Money)
        return Money::fromVariant(stored).toFixed2();
    return stored.toString();
}

// --- Navigator --------------------------------------------------------------------------

Navigator::Navigator(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_prior = new QToolButton(this);
    m_prior->setObjectName("prior");
    m_prior->setArrowType(Qt::LeftArrow);
    m_next = new QToolButton(this);
    m_next->setObjectName("next");
    m_next->setArrowType(Qt::RightArrow);
    for (QToolButton* button : {m_prior, m_next}) {
        button->setFixedSize(28, 24);
        layout->addWidget(button);
    }
    connect(m_prior, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { emit stepped(+1); });
}

Navigator* Navigator::forGrid(QWidget* parent, QTableView* grid, const QString& name)
{
    auto* navigator = new Navigator(parent, name);
    connect(navigator, &Navigator::stepped, grid, [grid](int delta) { Grid::step(grid, delta); });
    return navigator;
}
