#include "data/sql.h"

#include "data/columnwidths.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/dialect.h"
#include "data/log.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>

namespace {
struct Fault {
    int remaining = 0; // statements until the failure; 0 when none is armed
};

Fault& fault()
{
    static Fault f;
    return f;
}

bool isBlank(const QVariant& value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// Statements run again and again (one per row of a loop) are translated once.
const Dialect::Translated& translation(const QString& statement, const QList<bool>& blanks)
{
    static QHash<QString, Dialect::Translated> cache;
    QString key = statement;
    key += QChar(0x1F);
    for (const bool blank : blanks)
        key += blank ? QChar('1') : QChar('0');
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= 1024)
        cache.clear();
    return *cache.insert(key, Dialect::translate(statement, blanks));
}
} // namespace

Sql::Sql(const QString& statement, Reading reading)
    : m_statement(statement), m_query(Database::connection())
{
    m_query.setForwardOnly(reading == Reading::ForwardOnly);
}

Sql& Sql::bind(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        m_values.append(QVariant(QMetaType::fromType<QString>()));
    else if (value.typeId() == QMetaType::QDate)
        m_values.append(Dates::toText(value.toDate()));
    else if (value.metaType() == QMetaType::fromType<Money>())
        m_values.append(value.value<Money>().toDouble());
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
    for (const QVariant& v : values)
        bind(v);
    return *this;
}

void Sql::fail(const QString& message) const
{
    Log::write(QString("store error: %1 in: %2").arg(message, m_statement));
    throw StoreError(message, m_statement);
}

Sql& Sql::exec()
{
    if (fault().remaining > 0 && --fault().remaining == 0)
        fail(QString::fromUtf8("injected failure"));

    QList<bool> blanks;
    blanks.reserve(m_values.size());
    for (const QVariant& v : m_values)
        blanks.append(isBlank(v));
    const Dialect::Translated translated = translation(m_statement, blanks);
    if (translated.parameterCount != m_values.size())
        fail(QString("%1 values bound to %2 parameters")
                 .arg(m_values.size())
                 .arg(translated.parameterCount));

    if (!m_query.prepare(translated.sql))
        fail(m_query.lastError().text());
    for (const int index : translated.placeholders) {
        const QVariant& v = m_values.at(index);
        const QString& column = translated.writes.at(index);
        if (!column.isEmpty() && !v.isNull() && v.typeId() == QMetaType::QString)
            m_query.addBindValue(ColumnWidths::cut(translated.table, column, v.toString()));
        else
            m_query.addBindValue(v);
    }
    if (!m_query.exec())
        fail(m_query.lastError().text());
    return *this;
}

bool Sql::next()
{
    if (m_query.next())
        return true;
    if (m_query.isActive() && m_query.lastError().isValid())
        fail(m_query.lastError().text());
    return false;
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
    return isBlank(value(column));
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

void Sql::failAt(int n)
{
    fault().remaining = n > 0 ? n : 0;
}

void Sql::resetFault()
{
    fault().remaining = 0;
}

bool Sql::faultPending()
{
    return fault().remaining > 0;
}

namespace {
int& transactionDepth()
{
    static int depth = 0;
    return depth;
}

QString runOnConnection(const char* statement)
{
    QSqlQuery q(Database::connection());
    return q.exec(statement) ? QString() : q.lastError().text();
}
} // namespace

Transaction::Transaction()
{
    if (transactionDepth()++ == 0) {
        const QString failure = runOnConnection("BEGIN IMMEDIATE");
        if (!failure.isEmpty()) {
            --transactionDepth();
            m_done = true;
            Log::write(QString("store error: %1 in: begin transaction").arg(failure));
            throw StoreError(failure, "begin transaction");
        }
    }
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    if (--transactionDepth() == 0)
        runOnConnection("ROLLBACK");
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    if (--transactionDepth() == 0) {
        // The commit of the outermost transaction counts as a statement of the action for
        // fault injection: a test can fail the COMMIT itself (it then rolls back).
        const bool injected = fault().remaining > 0 && --fault().remaining == 0;
        const QString failure =
            injected ? QString::fromUtf8("injected failure") : runOnConnection("COMMIT");
        if (!failure.isEmpty()) {
            runOnConnection("ROLLBACK");
            Log::write(QString("store error: %1 in: commit").arg(failure));
            throw StoreError(failure, "commit");
        }
    }
}
