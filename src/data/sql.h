#pragma once

#include "data/money.h"
#include "data/storeerror.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>

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

    QString m_statement;
    QVariantList m_values;
    QSqlQuery m_query;
};

// Everything written between begin and commit lands together or not at all.
// Nested transactions join the outer one. The outermost one takes the write lock as it
// begins (waiting, like every statement, for a lock another program holds), so an action
// that reads and then writes never finds that someone wrote in between.
class Transaction {
public:
    Transaction();
    ~Transaction(); // rolls back unless committed
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    bool m_done = false;
};
