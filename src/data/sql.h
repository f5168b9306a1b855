#pragma once

#include "data/money.h"
#include "data/storeerror.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

// One statement on the STANDARD1 connection, written as the desk writes it
// (see Dialect) and bound by position. This is the program's one statement runner:
// screens, the desk, exports and reports all go through it, so there is one binding
// rule and one error path:
// - an empty text binds as null, a date as "yyyy-MM-dd", Money as a number;
// - a text written to a varchar(N) column by insert or update is cut to N GBK bytes
//   at a character boundary (see ColumnWidths);
// - a failure is written to the log and thrown as StoreError; screens let the action
//   runner catch it, which rolls back and tells the operator.
//
//   Sql q("select * from cardk where (sfyx=\"Y\") and Kno like:Kno");
//   q.bind(number + "%").exec();
//   while (q.next()) ... q.text("dzm") ...
//
// A result read once from start to end (an export, a report) is read ForwardOnly:
// the store hands the rows over one by one and none are kept in memory.
class Sql {
public:
    enum class Reading { Scrollable, ForwardOnly };

    explicit Sql(const QString& statement, Reading reading = Reading::Scrollable);

    Sql& bind(const QVariant& value); // empty text binds as null
    Sql& bind(const QString& value);
    Sql& bind(const char* value) { return bind(QString::fromUtf8(value)); }
    Sql& bind(const QDate& value); // stored as "yyyy-MM-dd"
    Sql& bind(Money value);
    Sql& bind(int value) { return bind(QVariant(value)); }
    Sql& bind(qint64 value) { return bind(QVariant(value)); }
    Sql& bind(double value) { return bind(QVariant(value)); }
    Sql& bindAll(const QVariantList& values);

    Sql& exec(); // throws StoreError

    bool next(); // false after the last row; a store error while reading throws
    bool first() { return m_query.first(); }
    bool isEmpty(); // moves to the first row
    QVariant value(const QString& column) const;
    QVariant value(int index) const { return m_query.value(index); }
    QString text(const QString& column) const; // null reads as ""
    int integer(const QString& column) const;  // null reads as 0
    double number(const QString& column) const;
    Money money(const QString& column) const;
    QDate date(const QString& column) const;
    bool isNull(const QString& column) const;
    QSqlRecord record() const { return m_query.record(); }
    int rowsAffected() const { return m_query.numRowsAffected(); }
    QVariant lastInsertId() const { return m_query.lastInsertId(); }

    // The executed statement, for readers that take a QSqlQuery (the spreadsheet writer).
    QSqlQuery& query() { return m_query; }
    // For result grids: the executed query handed to a QSqlQueryModel.
    QSqlQuery&& takeQuery() { return std::move(m_query); }

    // One-line helpers: run a statement; read the first column of the first row.
    static void run(const QString& statement, const QVariantList& values = {});
    static QVariant scalar(const QString& statement, const QVariantList& values = {});

    // --- fault injection, for tests ---
    // The nth statement executed from now on (1 = the next one) fails with a StoreError
    // as an engine error would: logged, thrown, nothing run.
    static void failAt(int n);
    static void resetFault();
    // A failure is armed and has not yet happened.
    static bool faultPending();

private:
    [[noreturn]] void fail(const QString& message) const;
    [[noreturn]] void fail(const QSqlError& error) const;

    QString m_statement;
    QVariantList m_values;
    QSqlQuery m_query;
};

// Everything written between begin and commit lands together or not at all.
// Nested transactions join the outer one.
//
// Several desks share one library, so a transaction holds the store only while it must:
// - it begins with its first statement, not when it is constructed: an action that asks
//   the operator something before it reads or writes holds nothing meanwhile;
// - a transaction whose first statement reads begins as a reader: it sees one state of the
//   library and blocks no other desk. Its first write asks for the write lock; when
//   another desk wrote since this one read, the store refuses (a conflict, see
//   StoreError::isConflict) and Transaction::run starts the work again from its reads;
// - beginWriting() (called by a desk operation before it re-reads the facts it relies on)
//   or a first statement that writes takes the write lock at once, waiting for another
//   desk's commit rather than conflicting with it.
// The store-specific part (which statement begins, what a conflict is) sits in sql.cpp
// beside the statement runner: beginStatement() and isConflict().
class Transaction {
public:
    Transaction();
    ~Transaction(); // rolls back unless committed
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // The running transaction writes from here on: take the write lock now, before the
    // re-reads, so that nothing read after this call changes until commit. A transaction
    // that has only read so far ends its reads first (what it read is read again after
    // this call). Outside a transaction it does nothing.
    //
    // This is the place a server store takes its locks: where SQLite locks the whole
    // library for one writer, a server begins a serializable transaction here (or locks
    // the rows the operation re-reads with select ... for update).
    static void beginWriting();
    // The program is about to wait for a person (a question, a dialog, a file chooser).
    // A transaction that has only read ends its reads, so that it holds nothing while the
    // person thinks; one that has written keeps its lock, and that is counted and logged
    // (heldWhileWaiting) as a fault of the screen that asked.
    static void beforeWaitingForPerson(const QString& what);
    static int heldWhileWaiting();
    // A transaction holds the write lock now: another desk's write waits for it.
    static bool holdsWriteLock();
    // A transaction is open (begun or waiting for its first statement).
    static bool isOpen();

    // Runs `work` in one transaction and commits it. A conflict with another desk rolls
    // the work back and runs it again from the start (a few times, the later times with
    // the write lock taken up front); any other exception goes to the caller after the
    // rollback. `work` must therefore do nothing but reads and writes on the store, or
    // things that are safe to repeat.
    static void run(const std::function<void()>& work);
    static constexpr int attempts = 6;
    // How many conflicts Transaction::run has retried in this process (for the benchmarks).
    static int retriedConflicts();

    // Called by Sql before each statement: begins a waiting transaction.
    static void beforeStatement(bool writes);
    static void afterWrite();
    static void afterSavepoint();

private:
    bool m_done = false;
};
