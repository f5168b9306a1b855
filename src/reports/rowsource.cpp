#include "reports/rowsource.h"

#include "data/database.h"
#include "data/dates.h"
#include "data/dialect.h"
#include "data/log.h"
#include "data/money.h"
#include "data/sql.h"

#include <QDate>
#include <QSqlError>

VectorRowSource::VectorRowSource(QStringList columns, QVector<QVariantList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

bool VectorRowSource::next()
{
    if (m_current + 1 >= m_rows.size()) {
        m_current = m_rows.size();
        return false;
    }
    ++m_current;
    return true;
}

QVariant VectorRowSource::value(const QString& column) const
{
    if (m_current < 0 || m_current >= m_rows.size())
        return {};
    const QVariantList& row = m_rows[m_current];
    for (qsizetype i = 0; i < m_columns.size() && i < row.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return row[i];
    return {};
}

namespace {
// The same binding rules as Sql::bind: blank text is null, dates and money as stored.
QVariant storedForm(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>().toDouble();
    if (value.typeId() == QMetaType::QDate)
        return Dates::toText(value.toDate());
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

[[noreturn]] void fail(const QSqlQuery& query, const QString& statement)
{
    const QString message = query.lastError().text();
    Log::write(QString("store error: %1 in: %2").arg(message, statement));
    throw StoreError(message, statement);
}
} // namespace

SqlRowSource::SqlRowSource(QString statement, QVariantList values)
    : m_statement(std::move(statement)), m_values(std::move(values))
{
}

void SqlRowSource::rewind()
{
    m_query = QSqlQuery(Database::connection());
    m_query.setForwardOnly(true);
    if (!m_query.prepare(Dialect::translate(m_statement).sql))
        fail(m_query, m_statement);
    for (const QVariant& v : m_values)
        m_query.addBindValue(storedForm(v));
    if (!m_query.exec())
        fail(m_query, m_statement);
    m_record = m_query.record();
    m_executed = true;
}

bool SqlRowSource::next()
{
    if (!m_executed)
        rewind();
    return m_query.next();
}

QVariant SqlRowSource::value(const QString& column) const
{
    const int index = m_record.indexOf(column);
    return index < 0 ? QVariant() : m_query.value(index);
}

void SqlRowSource::finish()
{
    // An unfinished statement would keep the database busy after the report is shown.
    m_query.finish();
    m_executed = false;
}
