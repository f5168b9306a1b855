#pragma once

#include "data/money.h"
#include "desk/ask.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Top-up and extension: a card gets a new valid-until date, usually against a payment.
// The card carries no balance; every top-up is a row of the register `jykczb`, and a
// payment is also income in the ledger.
namespace TopUps {
// Register remarks.
inline constexpr const char* paidRemark = "借阅证延期有效日期且充值";
inline constexpr const char* unpaidRemark = "借阅证延期有效日期没有充值";

// The cards whose number begins with `prefix`, for the selection list (kno, dzm, kdj, km),
// ordered by number.
inline constexpr const char* matchingStatement =
    "select kno,dzm,kdj,km from cardk where kno like :kno order by kno";
// At most `limit` numbers of such cards, in number order: enough to tell none, one and several.
QStringList firstMatches(const QString& prefix, int limit = 2);

// The validity days of a grade (0 for a grade that does not exist).
int validDays(const QString& grade);

struct Request {
    QString lookedUp;   // the number of the card the screen looked up, or empty
    QString number;     // Edit7 as it is now
    QString name;       // Edit1
    QString validUntil; // Edit8
    QString amount;     // Edit10; empty counts as "0"
};

struct Done {
    Money amount;
    bool paid = false; // the amount text was not exactly "0": booked as income
    QDate validUntil;
};

// Checks the request in the desk's order, asks before extending without payment, then
// writes the register row, the card's new valid-until date and (when paid) the ledger
// row. Call inside one action. Acts only on the looked-up card: a number changed after the
// look-up, or no look-up at all, is refused.
Done extend(const Request& request, const Ask& ask);
} // namespace TopUps

// The register query: a card number prefix, an exact name and a range of top-up dates,
// each optional, ordered by card number; the total covers exactly the listed rows.
class TopUpSelection {
public:
    TopUpSelection(const QString& numberPrefix, const QString& name, const QDate& from,
                   const QDate& to);
    QString statement() const;
    QVariantList values() const;
    Money total() const;

    // The whole register for the spreadsheet.
    static constexpr const char* exportStatement =
        "select kno as 借阅证编号,dzm as 读者名,yxrq as 有效日期,czje as 充值金额,bz as 备注,"
        "czy as 操作员,czrq as 充值日期 from jykczb  order by kno";

private:
    QString where() const;
    QString m_prefix;
    QString m_name;
    QDate m_from;
    QDate m_to;
};
