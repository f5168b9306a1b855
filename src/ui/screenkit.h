#pragma once

#include <QSqlQueryModel>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QTableView;
class QToolButton;
class Sql;

// The pieces every screen is built from, so that each behaves the same way.
namespace Screen {
// Closes a screen: the modal dialog is rejected, a child screen closes with its frame.
void close(QWidget* screen);
// The pop-up menu item "关闭" on Esc (and on the right mouse button). `closing` replaces
// the plain close for screens with a closing rule of their own.
void closeOnEscape(QWidget* screen, std::function<void()> closing = {});
// The usual notice: caption "提示信息", information icon.
void notice(QWidget* parent, const QString& text);

// Runs `check` when the operator leaves `box` for another control of the same window
// (not when another window comes to the front or a drop-down opens). A check that fails
// shows its own notice and returns false: the focus goes back to the box, and a button
// the operator clicked to leave it does not also act on the same fault.
void onLeave(QWidget* box, std::function<bool()> check);
// The focus goes back to `box` after a refused leave; when a mouse press on a button took the
// focus, that click is dropped (one notice per fault). DateBox and onLeave use it.
void refuseLeave(QWidget* box, Qt::FocusReason reason);
} // namespace Screen

// A result grid: read-only, whole rows selected one at a time, centred titles, the desk's
// row height. Models that come from queries fetch their rows as the grid scrolls.
namespace Grid {
void setUp(QTableView* grid, QAbstractItemModel* model);
// Selects the row `delta` away from the current one, within the rows there are.
void step(QTableView* grid, int delta);
} // namespace Grid

// The columns a query grid shows: the result column, its title, and how it reads.
struct GridColumn {
    enum class Format { Text, Money, Number };
    QString column;
    QString title;
    Format format = Format::Text;
};

// A query result shown through a list of columns: titles stay while no query is open,
// money reads "0.00" and is right-aligned, blank reads as empty. Rows are fetched lazily.
class QueryGridModel : public QSqlQueryModel {
    Q_OBJECT
public:
    QueryGridModel(QList<GridColumn> columns, QObject* parent = nullptr);

    // Shows the rows of an executed statement (Sql::exec done).
    void show(Sql& executed);
    void closeQuery();
    // The result column of a row (any column of the statement, shown or not).
    virtual QVariant value(int row, const QString& column) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<GridColumn> m_columns;
};

// The record navigator: Prior and Next arrows. Connect `stepped` or give it a grid.
class Navigator : public QWidget {
    Q_OBJECT
public:
    explicit Navigator(QWidget* parent, const QString& name = "DBNavigator1");
    // Prior/Next move the grid's current row.
    static Navigator* forGrid(QWidget* parent, QTableView* grid,
                              const QString& name = "DBNavigator1");
    QToolButton* prior() const { return m_prior; }
    QToolButton* next() const { return m_next; }

signals:
    void stepped(int delta);

private:
    QToolButton* m_prior;
    QToolButton* m_next;
};
