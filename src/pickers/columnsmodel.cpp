#include "pickers/columnsmodel.h"

#include "data/money.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>

ColumnsModel::ColumnsModel(QList<Column> columns, QObject* parent)
    : QSqlQueryModel(parent), m_columns(std::move(columns))
{
}

void ColumnsModel::show(QSqlQuery&& query)
{
    setQuery(std::move(query));
}

void ColumnsModel::close()
{
    setQuery(QSqlQuery());
    clear();
}

QVariant ColumnsModel::value(int row, const QString& column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return record(row).value(column);
}

QString ColumnsModel::text(int row, const QString& column) const
{
    const QVariant v = value(row, column);
    return v.isNull() ? QString() : v.toString();
}

int ColumnsModel::countAll()
{
    while (canFetchMore())
        fetchMore();
    return rowCount();
}

int ColumnsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns.at(section).title;
    return QSqlQueryModel::headerData(section, orientation, role);
}

QVariant ColumnsModel::data(const QModelIndex& index, int role) const
{
    // record(row) reads the result's own columns through here.
    if (role == Qt::EditRole)
        return QSqlQueryModel::data(index, role);
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const Column& column = m_columns.at(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.align);
    if (role != Qt::DisplayRole)
        return {};
    const int source = record().indexOf(column.name);
    if (source < 0)
        return {};
    const QVariant v = QSqlQueryModel::data(createIndex(index.row(), source), Qt::DisplayRole);
    if (column.format)
        return column.format(v);
    return v.isNull() ? QString() : v.toString();
}

void ColumnsModel::setUpGrid(QTableView* grid, ColumnsModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->horizontalHeader()->setStretchLastSection(true);
}

QString ColumnsModel::twoDecimals(const QVariant& value)
{
    if (value.isNull() || value.toString().isEmpty())
        return QString();
    return Money::fromVariant(value).toFixed2();
}
