#include "bench.h"
#include "biglibrary.h"

#include "data/clock.h"
#include "data/database.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/returns.h"

#include <QSqlQuery>
#include <QVector>

namespace {
constexpr int cards = 100000;
constexpr int titles = 1000000;
constexpr int closedLoans = 5000000;
constexpr int samples = 1000;
const QDate today(2026, 12, 9);

void buildLibrary()
{
    BigLibrary::build(cards, titles, closedLoans, today);
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
    report(Figure{"return_median", Bench::medianMs(giveBack), "ms", Bench::medianMs(bare)});
    report(Figure{"return_with_fine_median", Bench::medianMs(giveBackFined), "ms",
                  Bench::medianMs(bare)});
    report(Figure{"renew_median", Bench::medianMs(renew), "ms", Bench::medianMs(bareRenewal)});
    report(Figure{"return_open_loan_list_median", Bench::medianMs(listing), "ms", std::nullopt});
    Clock::setToday(QDate());
})
