#include "biglibrary.h"

#include "data/database.h"
#include "data/sql.h"

namespace {
QString upTo(int last, int first = 1)
{
    return QString("with recursive n(i) as (select %1 union all select i+1 from n where i<%2) ")
        .arg(first)
        .arg(last);
}
} // namespace

QString BigLibrary::cardNumber(int index)
{
    return QString("K%1").arg(100001 + index);
}

void BigLibrary::build(int cards, int titles, int closedLoans, const QDate& today)
{
    Transaction t;
    Sql::run("insert into jykdjk(kdj,km,yqfkje,yxxjcs,jyqx,yjsbs,jyqxdw,jsyj,yxts) "
             "values('A','借阅证',0.5,1,30,5,'日',50,365)");
    Sql::run(upTo(titles) +
             "insert into tszk(txm,tsmc,bs,jcs,tszt,ctys) select 'T'||i, '书名'||i, 2, 0, 'W', 0 "
             "from n");
    Sql::run(upTo(cards) + "insert into cardk(kno,kdj,km,dzm,yxrq,jsbs,sfyx) "
                           "select 'K'||(100000+i), 'A', '借阅证', '读者'||i, :yxrq, 2, 'Y' from n",
             {today.addYears(1)});
    Sql::run(upTo(closedLoans) +
                 "insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
                 "select 'K'||(100000+1+i % :cards), 'T'||(1+i % :titles), :jsrq, '甲', :hsrq, "
                 "'乙', 'N', 0 from n",
             {cards, titles, today.addYears(-1), today.addYears(-1).addDays(30)});
    Sql::run(upTo(2 * cards - 1, 0) +
                 "insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,sfsh,xjcs) "
                 "select 'K'||(100000+1+i/2), 'T'||(1+i), :jsrq, '甲', "
                 "case when i % 2 = 0 then :overdue else :later end, 'N', 0 from n",
             {today.addDays(-40), today.addDays(-10), today.addDays(19)});
    Sql::run("update tszk set jcs=1 where rowid<=:n", {2 * cards});
    t.commit();
}
