#include "reports/rowsource.h"

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

SqlRowSource::SqlRowSource(QString statement, QVariantList values)
    : m_statement(std::move(statement)), m_values(std::move(values))
{
}

void SqlRowSource::rewind()
{
    m_rows.reset();
    m_rows.emplace(m_statement, Sql::Reading::ForwardOnly);
    try {
        m_rows->bindAll(m_values).exec();
    } catch (...) {
        m_rows.reset();
        throw;
    }
    m_record = m_rows->record();
}

bool SqlRowSource::next()
{
    if (!m_rows)
        rewind();
    return m_rows->next();
}

QVariant SqlRowSource::value(const QString& column) const
{
    const int index = m_record.indexOf(column);
    return index < 0 || !m_rows ? QVariant() : m_rows->value(index);
}

void SqlRowSource::finish()
{
    // An unfinished statement would keep the database busy after the report is shown.
    m_rows.reset();
}
