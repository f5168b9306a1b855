#include "seed.h"

#include "data/clock.h"
#include "data/sql.h"

void Seed::grade(const GradeRow& g)
{
    Sql("insert into jykdjk(kdj,km,yqfkje,yxxjcs,yjje,jyqx,gbf,yjsbs,jyqxdw,jsyj,yxts) "
        "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k)")
        .bind(g.code)
        .bind(g.cardName)
        .bind(g.finePerDay)
        .bind(g.renewals)
        .bind(g.maxAmount)
        .bind(g.loanDays)
        .bind(g.fee)
        .bind(g.maxBooks)
        .bind("日")
        .bind(g.deposit)
        .bind(g.validDays)
        .exec();
}

void Seed::sequence(const QString& number, const QString& type)
{
    Sql::run("delete from jszxh");
    Sql::run("insert into jszxh values(:a,:b)", {number, type});
}

void Seed::card(const CardRow& c)
{
    const QDate validUntil = c.validUntil.isValid() ? c.validUntil : Clock::today().addYears(1);
    Sql("insert into cardk(kno,kdj,km,dzm,sfzh,bkrq,yxrq,yj,jsbs,sfyx) "
        "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j)")
        .bind(c.number)
        .bind(c.grade)
        .bind(c.cardName)
        .bind(c.name)
        .bind(c.identity)
        .bind(Clock::today())
        .bind(validUntil)
        .bind(Money::fromText("50"))
        .bind(c.openLoans)
        .bind(c.valid)
        .exec();
    Sql::run("insert into gsb(kno,kdj,dzm,gsbz,sfzh) values(:a,:b,:c,:d,:e)",
             {c.number, c.grade, c.name, c.lost, c.identity});
}

void Seed::book(const BookRow& b)
{
    Sql("insert into tszk(txm,tsmc,zz,bs,jcs,tszt,tsjg,cbsmc,flmc,bmrq) "
        "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j)")
        .bind(b.barcode)
        .bind(b.title)
        .bind(b.author)
        .bind(b.copies)
        .bind(b.lent)
        .bind(b.state)
        .bind(b.price)
        .bind(b.publisher)
        .bind(b.classCode)
        .bind(Clock::today())
        .exec();
}

qint64 Seed::loan(const QString& card, const QString& barcode, const QDate& lent, const QDate& due)
{
    Sql insert("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,xjcs) values(:a,:b,:c,:d,:e,:f)");
    insert.bind(card).bind(barcode).bind(lent).bind("测试员").bind(due).bind(0).exec();
    return insert.lastInsertId().toLongLong();
}
