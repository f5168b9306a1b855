#pragma once

#include "data/money.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <stdexcept>

// A store error: the engine's message and the statement that failed.
class StoreError : public std::runtime_error {
public:
    StoreError(const QString& message, const QString& statement);
    QString message() const { return m_message; }
    QString statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};

// One statement on the STANDARD1 connection, written as the desk writes it
// (see Dialect) and bound by position. Failures throw StoreError; screens let
// the action runner catch it, which rolls back and tells the operator.
//
//   Sql q("select * from cardk where (sfyx=\"Y\") and Kno like:Kno");
//   q.bind(number + "%").exec();
//   while (q.next()) ... q.text("dzm") ...
class Sql {
public:
    explicit Sql(const QString& statement);

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

    bool next() { return m_query.next(); }
    bool first() { return m_query.first(); }
    bool isEmpty(); // moves to the first row
    QVariant value(const QString& column) const;
    QString text(const QString& column) const; // null reads as ""
    int integer(const QString& column) const;  // null reads as 0
    double number(const QString& column) const;
    Money money(const QString& column) const;
    QDate date(const QString& column) const;
    bool isNull(const QString& column) const;
    QSqlRecord record() const { return m_query.record(); }
    int rowsAffected() const { return m_query.numRowsAffected(); }
    QVariant lastInsertId() const { return m_query.lastInsertId(); }

    // For result grids: the executed query handed to a QSqlQueryModel.
    QSqlQuery&& takeQuery() { return std::move(m_query); }

    // One-line helpers: run a statement; read the first column of the first row.
    static void run(const QString& statement, const QVariantList& values = {});
    static QVariant scalar(const QString& statement, const QVariantList& values = {});

private:
    QString m_statement;
    QString m_translated;
    QVariantList m_values;
    QSqlQuery m_query;
};

// Everything written between begin and commit lands together or not at all.
// Nested transactions join the outer one.
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
