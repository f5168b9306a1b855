#pragma once

#include "data/money.h"

#include <QDate>
#include <QString>

// Rows that tests need before the screen under test can work, written straight into the
// store (the desk operations that make them have tests of their own).
namespace Seed {
struct GradeRow {
    QString code = "A";
    QString cardName = "借阅证";
    int loanDays = 30;
    int maxBooks = 5;
    Money deposit = Money::fromText("50");
    Money fee = Money::fromText("5");
    Money finePerDay = Money::fromText("0.5");
    int renewals = 1;
    int validDays = 365;
    Money maxAmount = Money::fromText("0");
};
void grade(const GradeRow& row = {});
void sequence(const QString& number = "1001", const QString& type = "借阅证");

struct CardRow {
    QString number = "1001";
    QString grade = "A";
    QString name = "张三";
    QString identity = "11010519491231002X";
    QDate validUntil = {}; // invalid: a year from today
    int openLoans = 0;   // jsbs
    QString valid = "Y"; // sfyx
    QString lost = "否"; // the lost-card register's gsbz
    QString cardName = "借阅证";
};
void card(const CardRow& row = {});

struct BookRow {
    QString barcode = "B0001";
    QString title = "红楼梦";
    QString author = "曹雪芹";
    int copies = 1; // bs
    int lent = 0;   // jcs
    QString state = "W";
    Money price = Money::fromText("30");
    QString publisher = "人民文学出版社";
    QString classCode = "I";
};
void book(const BookRow& row = {});

// An open loan (due date `due`, lent `lent` days before it unless given); returns its iid.
qint64 loan(const QString& card, const QString& barcode, const QDate& lent, const QDate& due);
} // namespace Seed
