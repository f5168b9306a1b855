#include "data/sql.h"

#include "data/columnwidths.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/dialect.h"
#include "data/log.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QThread>

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

namespace {
// The store says another desk holds or changed what this transaction needs. SQLite
// reports SQLITE_BUSY (5) when the write lock is taken or the snapshot read is no longer
// the newest, SQLITE_LOCKED (6) for a table lock. A server store adds its own codes here
// (PostgreSQL: SQLSTATE 40001 serialization failure, 40P01 deadlock).
bool isConflict(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == "5" || code == "6" || code == "40001" || code == "40P01";
}

// The statement writes (and so needs the write lock).
bool isWrite(const QString& statement)
{
    int i = 0;
    while (i < statement.size() && (statement.at(i).isSpace() || statement.at(i) == '('))
        ++i;
    for (const char* verb : {"insert", "update", "delete", "replace", "create", "drop", "alter"}) {
        if (statement.mid(i, int(qstrlen(verb)))
                .compare(QLatin1String(verb), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
} // namespace

void Sql::fail(const QSqlError& error) const
{
    const QString message = error.text();
    Log::write(QString("store error: %1 in: %2").arg(message, m_statement));
    throw StoreError(message, m_statement, isConflict(error));
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

    const bool writes = isWrite(m_statement);
    Transaction::beforeStatement(writes);
    if (!m_query.prepare(translated.sql))
        fail(m_query.lastError());
    for (const int index : translated.placeholders) {
        const QVariant& v = m_values.at(index);
        const QString& column = translated.writes.at(index);
        if (!column.isEmpty() && !v.isNull() && v.typeId() == QMetaType::QString)
            m_query.addBindValue(ColumnWidths::cut(translated.table, column, v.toString()));
        else
            m_query.addBindValue(v);
    }
    if (!m_query.exec())
        fail(m_query.lastError());
    if (writes)
        Transaction::afterWrite();
    else if (m_statement.startsWith(QLatin1String("savepoint"), Qt::CaseInsensitive))
        Transaction::afterSavepoint();
    return *this;
}

bool Sql::next()
{
    if (m_query.next())
        return true;
    if (m_query.isActive() && m_query.lastError().isValid())
        fail(m_query.lastError());
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
// The one transaction of the connection: how deep the nesting is, whether it has begun
// on the store, and whether it holds the write lock.
struct TransactionState {
    int depth = 0;
    bool begun = false;
    bool writeLock = false;
    bool wantWrite = false; // begin with the write lock when the first statement comes
    bool savepoint = false; // a savepoint is open: the transaction cannot be ended early
    int retried = 0;
    int heldWhileWaiting = 0;
};

TransactionState& state()
{
    static TransactionState s;
    return s;
}

QSqlError runOnConnection(const char* statement)
{
    QSqlQuery q(Database::connection());
    return q.exec(statement) ? QSqlError() : q.lastError();
}

// Where a store decides how a transaction begins. SQLite: a reader begins deferred (a
// snapshot, no lock); a writer takes the database's write lock at once. A server store
// would begin both as serializable transactions (its conflicts then come back through
// isConflict), or begin a writer plainly and lock the rows it re-reads.
const char* beginStatement(bool writing)
{
    return writing ? "BEGIN IMMEDIATE" : "BEGIN";
}

void beginOnStore(bool writing)
{
    TransactionState& s = state();
    const QSqlError failure = runOnConnection(beginStatement(writing));
    if (failure.isValid()) {
        Log::write(QString("store error: %1 in: begin transaction").arg(failure.text()));
        throw StoreError(failure.text(), "begin transaction", isConflict(failure));
    }
    s.begun = true;
    s.writeLock = writing;
}

void reset()
{
    TransactionState& s = state();
    s.begun = false;
    s.writeLock = false;
    s.wantWrite = false;
    s.savepoint = false;
}

// Ends a transaction that has only read, so that it holds nothing; the next statement
// begins a new one.
bool endReading()
{
    TransactionState& s = state();
    if (!s.begun || s.writeLock || s.savepoint)
        return false;
    const QSqlError failure = runOnConnection("COMMIT");
    if (failure.isValid())
        runOnConnection("ROLLBACK");
    s.begun = false;
    return true;
}
} // namespace

Transaction::Transaction()
{
    ++state().depth;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    if (--state().depth == 0) {
        if (state().begun)
            runOnConnection("ROLLBACK");
        reset();
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_done = true;
    if (--state().depth == 0) {
        const bool begun = state().begun;
        reset();
        if (!begun)
            return;
        // The commit of the outermost transaction counts as a statement of the action for
        // fault injection: a test can fail the COMMIT itself (it then rolls back).
        const bool injected = fault().remaining > 0 && --fault().remaining == 0;
        const QSqlError failure =
            injected ? QSqlError(QString(), QString::fromUtf8("injected failure"),
                                 QSqlError::UnknownError)
                     : runOnConnection("COMMIT");
        if (failure.isValid()) {
            runOnConnection("ROLLBACK");
            Log::write(QString("store error: %1 in: commit").arg(failure.text()));
            throw StoreError(failure.text(), "commit", isConflict(failure));
        }
    }
}

void Transaction::beginWriting()
{
    TransactionState& s = state();
    if (s.depth == 0 || s.writeLock)
        return;
    if (Database::replacedUnderUs())
        throw LibraryReplaced{};
    if (s.begun && !endReading())
        return; // a savepoint holds the reads: the first write asks for the lock
    beginOnStore(true);
}

void Transaction::beforeWaitingForPerson(const QString& what)
{
    TransactionState& s = state();
    if (s.depth == 0 || !s.begun || endReading() || !s.writeLock)
        return; // a snapshot under a savepoint holds no lock another desk waits for
    ++s.heldWhileWaiting;
    Log::write(QString("the library stays locked while the operator is asked: %1").arg(what));
}

int Transaction::heldWhileWaiting()
{
    return state().heldWhileWaiting;
}

bool Transaction::holdsWriteLock()
{
    return state().depth > 0 && state().writeLock;
}

bool Transaction::isOpen()
{
    return state().depth > 0;
}

void Transaction::beforeStatement(bool writes)
{
    TransactionState& s = state();
    if (writes && !s.writeLock && Database::replacedUnderUs())
        throw LibraryReplaced{};
    if (s.depth == 0 || s.begun)
        return;
    beginOnStore(writes || s.wantWrite);
}

void Transaction::afterSavepoint()
{
    if (state().depth > 0)
        state().savepoint = true;
}

void Transaction::afterWrite()
{
    if (state().depth > 0)
        state().writeLock = true;
}

void Transaction::run(const std::function<void()>& work)
{
    if (state().depth > 0) { // joins the outer transaction, which retries as a whole
        Transaction transaction;
        work();
        transaction.commit();
        return;
    }
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction transaction;
            // After a conflict, wait for the other desk instead of racing it again.
            state().wantWrite = attempt > 1;
            work();
            transaction.commit();
            return;
        } catch (const StoreError& e) {
            if (!e.isConflict() || attempt >= attempts)
                throw;
            ++state().retried;
            Log::write(QString("conflict with another desk, running the action again: %1")
                           .arg(e.message()));
            QThread::msleep(
                static_cast<unsigned long>(QRandomGenerator::global()->bounded(2, 10 * attempt)));
        }
    }
}

int Transaction::retriedConflicts()
{
    return state().retried;
}
