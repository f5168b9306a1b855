#include "cards/cardgrid.h"

#include "data/dates.h"
#include "data/log.h"
#include "data/money.h"
#include "data/sql.h"

namespace {
const QStringList columns = {"kno",  "kdj",  "dzm", "sfzh", "yj",
                             "yxrq", "bkrq", "tel", "dz",   "gzdw"};
const QStringList titles = {"编号",       "等级",     "读者名", "身份证号", "押金",
                            "有效日期到", "办证日期", "电话",   "地址",     "工作单位"};
constexpr int depositColumn = 4;
// Pages kept in memory; the ones furthest back are dropped first.
constexpr int pagesKept = 50;
} // namespace

void CardGridModel::list(const CardSelection& selection, int count)
{
    beginResetModel();
    m_selection = selection;
    m_count = count;
    m_pages.clear();
    m_pending.clear();
    m_pendingRow = -1;
    endResetModel();
}

void CardGridModel::clear()
{
    list(CardSelection(), 0);
}

int CardGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int CardGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

QString CardGridModel::columnName(int column)
{
    return columns.value(column);
}

QSqlRecord CardGridModel::record(int row) const
{
    const int page = row / pageRows;
    auto found = m_pages.constFind(page);
    if (found == m_pages.constEnd()) {
        QVector<QSqlRecord> rows;
        try {
            Sql q(m_selection.statement() + " limit :lim offset :off");
            q.bindAll(m_selection.values()).bind(pageRows).bind(page * pageRows).exec();
            while (q.next())
                rows << q.record();
        } catch (const StoreError& e) {
            Log::write(QString("card list: %1 (%2)").arg(e.message(), e.statement()));
        }
        if (m_pages.size() >= pagesKept)
            m_pages.clear();
        found = m_pages.insert(page, rows);
    }
    return found->value(row % pageRows);
}

CardRecord CardGridModel::card(int row) const
{
    const QSqlRecord r = record(row);
    CardRecord card;
    card.number = r.value("kno").toString();
    card.grade = r.value("kdj").toString();
    card.cardType = r.value("km").toString();
    card.name = r.value("dzm").toString();
    card.identity = r.value("sfzh").toString();
    card.address = r.value("dz").toString();
    card.telephone = r.value("tel").toString();
    card.workUnit = r.value("gzdw").toString();
    card.issued = Dates::parse(r.value("bkrq").toString());
    card.validUntil = Dates::parse(r.value("yxrq").toString());
    card.deposit = Money::fromVariant(r.value("yj"));
    card.photoPath = r.value("strpath").toString();
    return card;
}

QVariant CardGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count || index.column() >= columnCount())
        return {};
    const QString column = columns.at(index.column());
    if (role == Qt::TextAlignmentRole && index.column() == depositColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (index.row() == m_pendingRow && m_pending.contains(column))
        return m_pending.value(column);
    const QVariant value = record(index.row()).value(column);
    if (index.column() == depositColumn && !value.isNull()) {
        const Money deposit = Money::fromVariant(value);
        return role == Qt::EditRole ? deposit.toShortest() : deposit.toFixed2();
    }
    return value.toString();
}

QVariant CardGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return titles.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CardGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // The card number is the key the other tables know the card by.
    if (index.isValid() && CardQuery::isCorrectable(columns.value(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CardGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return false;
    if (m_pendingRow != index.row())
        m_pending.clear();
    m_pendingRow = index.row();
    m_pending.insert(columns.at(index.column()), text);
    emit dataChanged(index, index);
    return true;
}

void CardGridModel::pendingStored()
{
    const int row = m_pendingRow;
    dropPending();
    if (row < 0)
        return;
    // Read the row again as the store now has it (dates and amounts in their stored form).
    const QString number = record(row).value("kno").toString();
    try {
        Sql q("select * from cardk where kno=:kno");
        q.bind(number).exec();
        auto page = m_pages.find(row / pageRows);
        if (q.first() && page != m_pages.end() && row % pageRows < page->size())
            (*page)[row % pageRows] = q.record();
    } catch (const StoreError& e) {
        Log::write(QString("card list: %1 (%2)").arg(e.message(), e.statement()));
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void CardGridModel::dropPending()
{
    const int row = m_pendingRow;
    m_pending.clear();
    m_pendingRow = -1;
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void CardGrid::commitOpenEditor()
{
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool CardGrid::cancelOpenEditor()
{
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return false;
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    return true;
}
