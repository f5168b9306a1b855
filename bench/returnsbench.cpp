#include "bench.h"

#include "data/clock.h"
#include "data/database.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/returns.h"

#include <QSqlQuery>
#include <QVector>
#include <algorithm>

namespace {
constexpr int cards = 100000;
constexpr int titles = 1000000;
constexpr int closedLoans = 5000000;
constexpr int samples = 1000;
const QDate today(2026, 12, 9);

// 100,000 cards with two open loans each (one overdue), 1,000,000 titles and five million
// closed loans, written by the store itself.
void buildLibrary()
{
    Transaction t;
    Sql::run("insert into jykdjk(kdj,km,yqfkje,yxxjcs,jyqx,yjsbs,jyqxdw,jsyj,yxts) "
             "values('A','借阅证',0.5,1,30,5,'日',50,365)");
    Sql::run(QString("with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
                     "insert into tszk(txm,tsmc,bs,jcs,tszt,ctys) "
                     "select 'T'||i, '书名'||i, 2, 0, 'W', 0 from n")
                 .arg(titles));
    Sql::run(QString("with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
                     "insert into cardk(kno,kdj,km,dzm,yxrq,jsbs,sfyx) "
                     "select 'K'||(100000+i), 'A', '借阅证', '读者', '2027-12-31', 2, 'Y' from n")
                 .arg(cards));
    const QString upTo = "with recursive n(i) as (select 1 union all select i+1 from n where i<";
    Sql::run(upTo + QString::number(closedLoans) +
             ") insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
             "select 'K'||(100000+1+i % " +
             QString::number(cards) + "), 'T'||(1+i % " + QString::number(titles) +
             "), '2025-01-01', '甲', '2025-02-01', '乙', 'N', 0 from n");
    // Open loans: card k holds two titles, the first due ten days ago, the second later.
    Sql::run("with recursive n(i) as (select 0 union all select i+1 from n where i<" +
             QString::number(2 * cards - 1) +
             ") insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,sfsh,xjcs) "
             "select 'K'||(100000+1+i/2), 'T'||(1+i), '2026-10-30', '甲', "
             "case when i % 2 = 0 then '2026-11-29' else '2026-12-29' end, 'N', 0 from n");
    Sql::run("update tszk set jcs=1 where rowid<=:n", {2 * cards});
    t.commit();
}

QVector<qint64> openLoanIds(int count, bool overdue)
{
    Sql q(overdue ? "select iid from dzjsmxk where hsjsr is null and hsrq<:d limit :n"
                  : "select iid from dzjsmxk where hsjsr is null and hsrq>=:d limit :n");
    q.bind(today).bind(count).exec();
    QVector<qint64> ids;
    while (q.next())
        ids << q.value("iid").toLongLong();
    return ids;
}

double medianMs(QVector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.isEmpty() ? 0 : times.at(times.size() / 2) * 1000;
}

// The fine dialog confirming what it is offered.
Returns::FineDesk confirmingDesk()
{
    Returns::FineDesk desk;
    desk.overdue = [](const Returns::FineOffer& offer) {
        return Fines::confirmOverdue(
            {offer.card, offer.grade, offer.barcode, offer.amount.toShortest()},
            [](const QString&, const QString&) { return true; });
    };
    return desk;
}

// The floor of a return: the three updates on the bare store.
void bareReturn(qint64 id)
{
    QSqlDatabase db = Database::connection();
    db.transaction();
    QSqlQuery q(db);
    q.prepare("select kno,txm from dzjsmxk where iid=?");
    q.addBindValue(id);
    q.exec();
    q.next();
    const QString card = q.value(0).toString();
    const QString barcode = q.value(1).toString();
    QSqlQuery u(db);
    u.prepare("update dzjsmxk set hsrq=?, hsjsr=?, sfsh='N', xjcs=0 where iid=?");
    u.addBindValue(today.toString(Qt::ISODate));
    u.addBindValue("乙");
    u.addBindValue(id);
    u.exec();
    u.prepare("update cardk set jsbs=jsbs-1 where kno=?");
    u.addBindValue(card);
    u.exec();
    u.prepare("update tszk set jcs=jcs-1 where txm=?");
    u.addBindValue(barcode);
    u.exec();
    db.commit();
}

void bareRenew(qint64 id)
{
    QSqlDatabase db = Database::connection();
    db.transaction();
    QSqlQuery u(db);
    u.prepare("update dzjsmxk set xjcs=xjcs+1, hsrq=date(hsrq,'+30 days') where iid=?");
    u.addBindValue(id);
    u.exec();
    db.commit();
}
} // namespace

LIBRARY_BENCH(return_and_renew, [](const auto& report) {
    Bench::freshHome();
    Clock::setToday(today);
    Session::current().name = "乙";
    const double built = Bench::seconds(buildLibrary);
    report(Figure{"returns_build_library", built, "s", std::nullopt});

    // Each loan is sampled once; the overdue ones are fined on the way.
    const QVector<qint64> overdue = openLoanIds(samples, true);
    const QVector<qint64> onTime = openLoanIds(3 * samples, false);
    const Returns::FineDesk desk = confirmingDesk();
    const Ask yes = [](const QString&, const QString&) { return true; };
    QVector<double> giveBack, giveBackFined, renew, bare, bareRenewal, listing;
    for (int i = 0; i < samples; ++i) {
        giveBack << Bench::seconds([&] {
            Transaction t;
            Returns::giveBack({onTime.at(i), "K", "N"}, desk);
            t.commit();
        });
        giveBackFined << Bench::seconds([&] {
            Transaction t;
            Returns::giveBack({overdue.at(i), "K", "N"}, desk);
            t.commit();
        });
        renew << Bench::seconds([&] {
            Transaction t;
            Returns::renew(onTime.at(samples + i), yes, desk);
            t.commit();
        });
        bare << Bench::seconds([&] { bareReturn(onTime.at(2 * samples + i)); });
        bareRenewal << Bench::seconds([&] { bareRenew(onTime.at(2 * samples + i)); });
        const QString card = QString("K%1").arg(100001 + (i * 37) % cards);
        listing << Bench::seconds([&] {
            Sql list(Returns::openLoansStatement());
            list.bind(card).exec();
            while (list.next()) {
            }
        });
    }
    report(Figure{"return_median", medianMs(giveBack), "ms", medianMs(bare)});
    report(Figure{"return_with_fine_median", medianMs(giveBackFined), "ms", medianMs(bare)});
    report(Figure{"renew_median", medianMs(renew), "ms", medianMs(bareRenewal)});
    report(Figure{"return_open_loan_list_median", medianMs(listing), "ms", std::nullopt});
    Clock::setToday(QDate());
})
