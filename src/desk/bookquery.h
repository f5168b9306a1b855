#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The catalogue query: book master records by any of fifteen conditions. Text conditions
// match the start of a column ("begins"), any part of it ("contains") or all of it, letter
// case counting; the typed text is always bound, never put into the statement, so a quote
// is just a character. An empty condition is left out; no condition lists every title.
struct BookQueryConditions {
    QString secondLevelCode;  // Edit8, mxflm begins
    QString barcode;          // Edit1, txm begins
    QString title;            // Edit2, tsmc begins
    QString author;           // Edit3, zz contains
    QString cataloguer;       // Edit4, bmr begins
    QDate catalogued;         // Edit5, bmrq equals; invalid: no condition
    QDate published;          // edit6, cbsj equals; invalid: no condition
    QString publisher;        // Edit7, cbsmc contains
    QString series;           // Edit9, xlm contains
    QString mnemonic;         // Edit12, pyzjh contains
    QString language;         // ComboBox1, yz begins
    QString firstLevel;       // ComboBox2, flmc begins
    QString secondLevel;      // Edit14, mxflm begins
    QString shelf;            // Edit10, fsjh equals
    std::optional<int> pages; // Edit11, tsym equals
};

// A statement as its lines (joined, they are the text) with the values in order.
struct BookQueryStatement {
    QStringList lines;
    QVariantList values;
    QString text() const { return lines.join(QString()); }
};

namespace BookQuery {
BookQueryStatement statement(const BookQueryConditions& conditions);
// The same rows counted: "select count(*) from tszk" with the statement's conditions.
BookQueryStatement countStatement(const BookQueryConditions& conditions);
int count(const BookQueryConditions& conditions); // throws StoreError

// The export of the whole book master under its captions, by second-level code.
inline constexpr const char* exportStatement =
    "select txm as 条形码,tsmc as 图书名称,zz as 作者,bmr as 编目人,bmrq as 编目日期,"
    "cbsj as 出版时间,cbsmc as 出版社名称,mxflm as 二级分类码,xlm as 系列名,tsjsh as 检索号 "
    " ,fjch as 分卷册号,bt as 标题,ztm as  正题名,ftm as 副题名,sjm as 四角码,tskb as 图书开本,"
    "tsjg as 图书价格,fsjh as 放书架号  from tszk  order by mxflm";

// The columns the query's result boxes correct.
QStringList correctableColumns();

// Writes the corrections typed for one title (column -> text as typed) by its barcode,
// and only those columns: whatever else changed since the query read the row (copies on
// loan, a state) stays as it is now. Dates and the page count are checked first; an
// empty box stores blank. Refuses naming the result box to correct.
void correct(const QString& barcode, const QMap<QString, QString>& changes);
} // namespace BookQuery
