#pragma once

#include "data/money.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QVariantList>

// The card query: cards by number, reader name and issue date, with their count and the
// deposits they hold, and corrections made to a listed card.
struct CardConditions {
    QString number; // exact card number, or empty
    QString name;   // exact reader name, or empty
    QDate from;     // issue date from; alone it means that one day
    QDate to;       // issue date to; ignored without a from-date
};

class CardSelection {
public:
    explicit CardSelection(const CardConditions& conditions = {});

    // The listed cards, all columns, ordered by card number.
    QString statement() const;
    QVariantList values() const;

    struct Summary {
        int count = 0;
        Money deposits; // the exact sum of `yj` over the listed cards
    };
    Summary summary() const;

private:
    QString where() const;
    CardConditions m_conditions;
};

namespace CardQuery {
// Cards issued in a date range for the spreadsheet; the aliases are the column titles.
inline constexpr const char* exportStatement =
    "select kno as 借阅证编号,kdj as 等级,dzm as 读者名,sfzh as 身份证号,yj as 押金,"
    "yxrq as 有效日期,bkrq as 办证日期,tel as 电话,dz as 地址,gzdw as 工作单位 from cardk "
    "where bkrq>=:rq1 and bkrq<=:rq2  order by kno";

// The columns a listed card may be corrected in. The card number is not among them:
// the loans, fines, top-ups and the lost-card register refer to the card by it.
bool isCorrectable(const QString& column);

// Stores corrections of one card: column (lower case, as in `cardk`) -> the text typed.
// Dates must be dates, the deposit an amount of at least 0 (empty stores 0), the grade
// one that exists; anything else is refused and nothing is stored.
void correct(const QString& number, const QMap<QString, QString>& changes);
} // namespace CardQuery
