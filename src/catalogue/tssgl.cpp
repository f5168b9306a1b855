#include "catalogue/tssgl.h"

#include "data/sql.h"
#include "desk/refused.h"
#include "desk/rooms.h"
#include "ui/action.h"
#include "ui/gbklimit.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int numberColumn = 0;
constexpr int nameColumn = 1;

// Editors that keep to the columns' widths and hand Enter to the screen's rules.
class RoomDelegate : public QStyledItemDelegate {
public:
    RoomDelegate(Ttssglfm* screen, QObject* parent) : QStyledItemDelegate(parent), m_screen(screen)
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(index.column() == numberColumn ? "tssbh" : "tssmc");
        GbkLimit::apply(editor,
                        index.column() == numberColumn ? Rooms::numberWidth : Rooms::nameWidth);
        Q_UNUSED(option);
        return editor;
    }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                auto* editor = qobject_cast<QWidget*>(object);
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_screen->enterInGrid();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    Ttssglfm* m_screen;
};

// Enter on the grid itself (no editor open).
class GridEnter : public QObject {
public:
    explicit GridEnter(Ttssglfm* screen) : QObject(screen), m_screen(screen) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_screen->enterInGrid();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Ttssglfm* m_screen;
};
} // namespace

Ttssglfm::Ttssglfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("tssglfm");
    setWindowTitle("借阅室管理");
    Help::setContext(this, helpContext);

    m_model = new QStandardItemModel(0, 2, this);
    m_model->setHorizontalHeaderLabels({"编号", "图书室名称"});
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new RoomDelegate(this, m_grid));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->setColumnWidth(numberColumn, 110);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(360, 260);
    m_grid->installEventFilter(new GridEnter(this));

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    QPushButton* add = button("新增&N", "BitBtn1");
    QPushButton* remove = button("删除&D", "BitBtn2");
    QPushButton* change = button("修改&E", "BitBtn3");
    QPushButton* save = button("保存&S", "BitBtn4");
    QPushButton* close = button("关闭&X", "BitBtn5");
    connect(add, &QPushButton::clicked, this, &Ttssglfm::addClick);
    connect(remove, &QPushButton::clicked, this, &Ttssglfm::deleteClick);
    connect(change, &QPushButton::clicked, this, &Ttssglfm::changeClick);
    connect(save, &QPushButton::clicked, this, &Ttssglfm::saveClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add, remove, change, save, close})
        buttons->addWidget(b);

    // The pop-up menu carries the same actions.
    const QList<std::pair<const char*, void (Ttssglfm::*)()>> actions{
        {"新增", &Ttssglfm::addClick},
        {"删除", &Ttssglfm::deleteClick},
        {"修改", &Ttssglfm::changeClick},
        {"保存", &Ttssglfm::saveClick}};
    for (const auto& [text, slot] : actions) {
        auto* action = new QAction(text, this);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    }
    auto* closeAction = new QAction("关闭", this);
    closeAction->setShortcut(Qt::Key_Escape);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    move(0, 0);
    reload();
    setEditable(false);
}

void Ttssglfm::setEditable(bool editable)
{
    m_grid->setEditTriggers(editable ? QAbstractItemView::DoubleClicked |
                                           QAbstractItemView::AnyKeyPressed |
                                           QAbstractItemView::EditKeyPressed
                                     : QAbstractItemView::NoEditTriggers);
}

void Ttssglfm::reload(const QString& selectNumber)
{
    m_model->removeRows(0, m_model->rowCount());
    Action::run(this, [&] {
        Sql q("select * from tssxxk");
        q.exec();
        while (q.next())
            m_model->appendRow(
                {new QStandardItem(q.text("tssbh")), new QStandardItem(q.text("tssmc"))});
    });
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (!selectNumber.isEmpty() && cell(r, numberColumn) == selectNumber)
            row = r;
    }
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(row, numberColumn));
}

QString Ttssglfm::cell(int row, int column) const
{
    if (row < 0 || row >= m_model->rowCount())
        return QString();
    return m_model->index(row, column).data().toString();
}

int Ttssglfm::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : (m_model->rowCount() > 0 ? 0 : -1);
}

void Ttssglfm::editCell(int row, int column)
{
    const QModelIndex index = m_model->index(row, column);
    m_grid->setFocus();
    m_grid->setCurrentIndex(index);
    // After the current editor has closed.
    QTimer::singleShot(0, m_grid, [this, index] {
        if (index.isValid() && m_mode != Mode::Browsing)
            m_grid->edit(index);
    });
}

void Ttssglfm::addClick()
{
    if (m_mode == Mode::Adding && cell(currentRow(), numberColumn).isEmpty())
        return editCell(currentRow(), numberColumn); // the new row is already there
    dropPending();
    setEditable(true);
    m_mode = Mode::Adding;
    m_original.clear();
    m_model->appendRow({new QStandardItem(), new QStandardItem()});
    editCell(m_model->rowCount() - 1, numberColumn);
}

void Ttssglfm::changeClick()
{
    const int row = currentRow();
    if (row < 0)
        return;
    if (m_mode == Mode::Adding)
        dropPending();
    const QString number = cell(currentRow(), numberColumn);
    if (number.isEmpty())
        return;
    setEditable(true);
    m_mode = Mode::Changing;
    m_original = number;
    editCell(currentRow(), numberColumn);
}

void Ttssglfm::enterInGrid()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    if (m_mode == Mode::Browsing) {
        if (current.column() == numberColumn)
            m_grid->setCurrentIndex(m_model->index(row, nameColumn));
        else if (row + 1 < m_model->rowCount())
            m_grid->setCurrentIndex(m_model->index(row + 1, numberColumn));
        return;
    }
    const QString number = cell(row, numberColumn);
    const QString name = cell(row, nameColumn);
    const bool ok = Action::run(this, [&] {
        if (current.column() == numberColumn) {
            Rooms::checkNumber(number, m_original);
            return;
        }
        Rooms::checkName(name, m_original);
        Rooms::save({number, name}, m_original);
    });
    if (!ok)
        return editCell(row, current.column());
    if (current.column() == numberColumn)
        return editCell(row, nameColumn);
    // Stored: straight on to the next new room.
    reload(number);
    m_mode = Mode::Adding;
    m_original.clear();
    m_model->appendRow({new QStandardItem(), new QStandardItem()});
    editCell(m_model->rowCount() - 1, numberColumn);
}

void Ttssglfm::saveClick()
{
    const int row = currentRow();
    const QString number = cell(row, numberColumn);
    const QString name = cell(row, nameColumn);
    const bool pending = m_mode != Mode::Browsing;
    int column = -1;
    const bool stored = Action::run(this, [&] {
        try {
            Rooms::save({number, name}, m_original, pending);
        } catch (const Refused& refused) {
            if (refused.box() == "tssbh")
                column = numberColumn;
            else if (refused.box() == "tssmc")
                column = nameColumn;
            throw;
        } catch (const Rooms::Taken& taken) {
            column = taken.column == Rooms::Column::Number ? numberColumn : nameColumn;
            throw ActionCancelled();
        }
    });
    if (stored) {
        m_mode = Mode::Browsing;
        m_original.clear();
        setEditable(false);
        reload(number);
        return;
    }
    if (!pending) {
        dropPending();
        return;
    }
    if (column >= 0 && row >= 0)
        editCell(row, column);
}

void Ttssglfm::deleteClick()
{
    const int row = currentRow();
    if (row < 0) {
        dropPending();
        return;
    }
    // A new row not stored yet is only dropped.
    if (m_mode == Mode::Adding && row == m_model->rowCount() - 1) {
        dropPending();
        return;
    }
    const QString number = m_mode == Mode::Changing ? m_original : cell(row, numberColumn);
    auto ask = [this](const QString& caption, const QString& text) {
        return Messages::question(this, caption, text, Messages::Buttons::OkCancel);
    };
    Action::run(this, [&] { Rooms::remove(number, ask); });
    dropPending();
}

void Ttssglfm::dropPending()
{
    const QString keep = m_mode == Mode::Changing ? m_original : cell(currentRow(), numberColumn);
    m_mode = Mode::Browsing;
    m_original.clear();
    setEditable(false);
    if (QWidget* editor = m_grid->indexWidget(m_grid->currentIndex()))
        editor->close();
    reload(keep);
}
