#pragma once

#include "data/sql.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

#include <optional>

// The rows of a report's detail band, read one at a time so that a report of any
// length never holds its whole result in memory.
class RowSource {
public:
    virtual ~RowSource() = default;
    // Goes back before the first row (a query runs again); called before every pass.
    virtual void rewind() = 0;
    // Moves to the next row; false after the last one.
    virtual bool next() = 0;
    // A column of the current row by name (case-insensitive); invalid when unknown.
    virtual QVariant value(const QString& column) const = 0;
    // Lets go of what a pass held (an open statement); called after every pass.
    virtual void finish() {}
};

// Rows held by the caller, e.g. in tests or for a short list.
class VectorRowSource : public RowSource {
public:
    VectorRowSource(QStringList columns, QVector<QVariantList> rows);
    void rewind() override { m_current = -1; }
    bool next() override;
    QVariant value(const QString& column) const override;

private:
    QStringList m_columns;
    QVector<QVariantList> m_rows;
    qsizetype m_current = -1;
};

// A statement run by Sql and read forward only, so that the store hands rows over one by
// one. Values bind by position as Sql binds them. A store error is logged and thrown as
// StoreError from rewind() or next().
class SqlRowSource : public RowSource {
public:
    explicit SqlRowSource(QString statement, QVariantList values = {});
    void rewind() override;
    bool next() override;
    QVariant value(const QString& column) const override;
    void finish() override;

private:
    QString m_statement;
    QVariantList m_values;
    std::optional<Sql> m_rows; // the statement of the current pass
    QSqlRecord m_record;       // column names of the result, looked up per value
};
