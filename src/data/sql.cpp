#include "data/sql.h"

#include "data/database.h"
#include "data/dates.h"
#include "data/dialect.h"
#include "data/log.h"

#include <QSqlDatabase>
#include <QSqlError>

StoreError::StoreError(const QString& message, const QString& statement)
    : std::runtime_error(message.toStdString()), m_message(message), m_statement(statement)
{
}

Sql::Sql(const QString& statement)
    : m_statement(statement), m_translated(Dialect::translate(statement).sql),
      m_query(Database::connection())
{
    m_query.setForwardOnly(false);
}

Sql& Sql::bind(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        m_values.append(QVariant(QMetaType::fromType<QString>()));
    else if (value.typeId() == QMetaType::QDate)
        m_values.append(Dates::toText(value.toDate()));
    else
        m_values.append(value);
    return *this;
}

Sql& Sql::bind(const QString& value)
{
    return bind(QVariant(value));
}

Sql& Sql::bind(const QDate& value)
{
    return bind(QVariant(Dates::toText(value)));
}

Sql& Sql::bind(Money value)
{
    return bind(QVariant(value.toDouble()));
}

Sql& Sql::bindAll(const QVariantList& values)
{
    for (const QVariant& v : values) {
        if (v.metaType() == QMetaType::fromType<Money>())
            bind(v.value<Money>());
        else
            bind(v);
    }
    return *this;
}

Sql& Sql::exec()
{
    if (!m_query.prepare(m_translated)) {
        const QString message = m_query.lastError().text();
        Log::write(QString("store error: %1 in: %2").arg(message, m_statement));
        throw StoreError(message, m_statement);
    }
    for (const QVariant& v : m_values)
        m_query.addBindValue(v);
    if (!m_query.exec()) {
        const QString message = m_query.lastError().text();
        Log::write(QString("store error: %1 in: %2").arg(message, m_statement));
        throw StoreError(message, m_statement);
    }
    return *this;
}

bool Sql::isEmpty()
{
    return !m_query.first();
}

QVariant Sql::value(const QString& column) const
{
    const int index = m_query.record().indexOf(column);
    if (index < 0)
        throw StoreError(QString("no column %1").arg(column), m_statement);
    return m_query.value(index);
}

QString Sql::text(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

int Sql::integer(const QString& column) const
{
    return value(column).toInt();
}

double Sql::number(const QString& column) const
{
    return value(column).toDouble();
}

Money Sql::money(const QString& column) const
{
    return Money::fromVariant(value(column));
}

QDate Sql::date(const QString& column) const
{
    return Dates::parse(text(column).left(10));
}

bool Sql::isNull(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

void Sql::run(const QString& statement, const QVariantList& values)
{
    Sql(statement).bindAll(values).exec();
}

QVariant Sql::scalar(const QString& statement, const QVariantList& values)
{
    Sql q(statement);
    q.bindAll(values).exec();
    return q.first() ? q.m_query.value(0) : QVariant();
}

namespace {
int& transactionDepth()
{
    static int depth = 0;
    return depth;
}
} // namespace

Transaction::Transaction()
{
    if (transactionDepth()++ == 0) {
        QSqlDatabase db = Database::connection();
        if (!db.transaction()) {
            --transactionDepth();
            m_done = true;
            throw StoreError(db.lastError().text(), "begin transaction");
        }
    }
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    if (--transactionDepth() == 0)
        Database::connection().rollback();
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    if (--transactionDepth() == 0) {
        QSqlDatabase db = Database::connection();
        if (!db.commit()) {
            const QString message = db.lastError().text();
            db.rollback();
            throw StoreError(message, "commit");
        }
    }
}
