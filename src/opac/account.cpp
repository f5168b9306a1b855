#include "opac/account.h"

#include "data/clock.h"
#include "data/sql.h"
#include "desk/fines.h"
#include "desk/readerpins.h"
#include "desk/refused.h"
#include "desk/returns.h"

namespace {
constexpr const char* caption = "续借提示";
}

Account::Card Account::card(const QString& number)
{
    Card c;
    Sql q("select kno,dzm,kdj,km,bkrq,yxrq,yj,jsbs from cardk where kno=:kno");
    q.bind(number).exec();
    if (!q.first())
        return c;
    c.number = q.text("kno");
    c.name = q.text("dzm");
    c.grade = q.text("kdj");
    c.cardType = q.text("km");
    c.issued = q.date("bkrq");
    c.validUntil = q.date("yxrq");
    c.deposit = q.money("yj");
    c.onLoan = q.integer("jsbs");
    Sql g("select yjsbs,jyqx,yxxjcs from jykdjk where kdj=:kdj and km=:km");
    g.bind(c.grade).bind(c.cardType).exec();
    if (g.first()) {
        c.maxBooks = g.integer("yjsbs");
        c.loanDays = g.integer("jyqx");
        c.renewalsAllowed = g.integer("yxxjcs");
    }
    return c;
}

QList<Account::OpenLoan> Account::openLoans(const QString& card)
{
    const QString grade = Sql::scalar("select kdj from cardk where kno=:kno", {card}).toString();
    const Money rate =
        Money::fromVariant(Sql::scalar("select yqfkje from jykdjk where kdj=:kdj", {grade}));
    Sql q("select d.iid, d.txm, t.tsmc, d.jsrq, d.hsrq, d.xjcs, "
          "(select count(*) from wsxjk w where w.iid=d.iid) as web "
          "from dzjsmxk d left join tszk t on t.txm=d.txm "
          "where d.kno=:kno and d.hsjsr is null order by d.hsrq, d.iid");
    q.bind(card).exec();
    QList<OpenLoan> loans;
    const QDate today = Clock::today();
    while (q.next()) {
        OpenLoan l;
        l.id = q.value("iid").toLongLong();
        l.barcode = q.text("txm");
        l.title = q.text("tsmc");
        l.lent = q.date("jsrq");
        l.due = q.date("hsrq");
        l.renewals = q.integer("xjcs");
        l.renewedOnWeb = q.integer("web") > 0;
        if (l.due.isValid() && l.due < today) {
            l.daysOverdue = int(l.due.daysTo(today));
            if (const auto fine = Fines::overdue(l.due, rate, today))
                l.fine = fine->amount;
        }
        loans << l;
    }
    return loans;
}

QList<Account::PastLoan> Account::history(const QString& card, int limit)
{
    Sql q("select d.txm, t.tsmc, d.jsrq, d.hsrq from dzjsmxk d left join tszk t on t.txm=d.txm "
          "where d.kno=:kno and d.hsjsr is not null order by d.iid desc limit :n");
    q.bind(card).bind(limit).exec();
    QList<PastLoan> loans;
    while (q.next())
        loans << PastLoan{q.text("txm"), q.text("tsmc"), q.date("jsrq"), q.date("hsrq")};
    return loans;
}

QDate Account::renew(const QString& card, qint64 loanId)
{
    Transaction transaction;
    if (!ReaderPins::cardUsable(card))
        throw Refused(caption, "您的借书证已不能使用，请到借阅处办理。");
    if (Sql::scalar("select kno from dzjsmxk where iid= :iid and kno= :kno and hsjsr is null",
                    {loanId, card})
            .isNull())
        throw Refused(caption, "没有这条借阅记录。");
    Returns::FineDesk desk;
    desk.overdue = [](const Returns::FineOffer& offer) -> Fines::OverdueOutcome {
        throw Refused(caption, QString("这本书已逾期%1天，应交罚款%2元。请到借阅处交纳罚款后续借。")
                                   .arg(offer.days)
                                   .arg(offer.amount.toFixed2()));
    };
    const Returns::Outcome outcome = Returns::renew(
        loanId, [](const QString&, const QString&) { return true; }, desk);
    if (outcome.limitReached || !outcome.renewed)
        throw Refused(caption, "这本书已续借到借书证等级允许的次数，不能再续借了，请按期归还。");
    Sql::run("insert into wsxjk(iid,kno,txm,xjrq,hsrq) values(:a,:b,:c,:d,:e)",
             {loanId, card, outcome.barcode, Clock::today(), outcome.due});
    transaction.commit();
    return outcome.due;
}
