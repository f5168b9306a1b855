#include "data/clock.h"
#include "data/sql.h"
#include "desk/fines.h"
#include "desk/returns.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

namespace {
const QDate day1 = Fixture::today();
const QDate day2 = day1.addDays(1);

// Grade A: 0.5 a day, no renewal left for a loan renewed once.
void seed()
{
    Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw,yxxjcs,yqfkje,yxts) "
             "values('A','借阅证',5,0,30,5,50,'日',1,0.5,365)");
    Sql::run("insert into cardk(kno,kdj,km,dzm,yxrq,jsbs,sfyx) "
             "values('K1','A','借阅证','读者','2030-01-01',1,'Y')");
    Sql::run("insert into tszk(txm,tsmc,bs,jcs,tszt,ctys,sfsh) values('B1','书',1,1,'C',0,'N')");
}

// An open loan of K1 and B1, `late` days overdue on day 1, renewed `renewals` times.
qint64 lateLoan(int late, int renewals)
{
    Sql q("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
          "values('K1','B1',:a,'借书员',:b,'','N',:c)");
    q.bind(day1.addDays(-late - 30)).bind(day1.addDays(-late)).bind(renewals).exec();
    return q.lastInsertId().toLongLong();
}

// The fine dialog of the returning desk: takes the proposed amount and answers `yes`.
Returns::FineDesk dialogAnswering(bool yes, QList<int>* offeredDays)
{
    Returns::FineDesk desk;
    desk.overdue = [yes, offeredDays](const Returns::FineOffer& offer) {
        *offeredDays << offer.days;
        return Fines::confirmOverdue(
            {offer.card, offer.grade, offer.barcode, offer.amount.toShortest()},
            [yes](const QString&, const QString&) { return yes; });
    };
    return desk;
}

template <typename Work> void inAction(Work work)
{
    Transaction::run([&] { work(); });
}
} // namespace

// An overdue day is fined once: a loan remembers up to which day its fine is paid, and the
// return, the renewal and the fine dialog fine only the days after it.
class OverdueDaysTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        seed();
    }
    void cleanup()
    {
        Clock::setToday(Fixture::today());
        fixture.reset();
    }

    // Day 1 takes the fine one way, day 2 returns the book: only day 2's own day is fined.
    void secondDayFinesOnlyTheNewDay_data()
    {
        QTest::addColumn<QString>("firstDay");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<int>>("offered");
        QTest::addColumn<double>("booked");
        QTest::newRow("renewal refused at its limit") << "renew" << true << QList<int>{3, 1} << 2.0;
        QTest::newRow("fine dialog from the menu") << "dialog" << true << QList<int>{3, 1} << 2.0;
        // A fine answered No is not paid: the days stay to be fined.
        QTest::newRow("fine declined") << "renew" << false << QList<int>{3, 4} << 2.0;
    }
    void secondDayFinesOnlyTheNewDay()
    {
        QFETCH(QString, firstDay);
        QFETCH(bool, yes);
        QFETCH(QList<int>, offered);
        QFETCH(double, booked);
        const qint64 id = lateLoan(3, 1);
        QList<int> days;
        if (firstDay == "renew") {
            Returns::Outcome outcome;
            inAction([&] {
                outcome = Returns::renew(
                    id, [](const QString&, const QString&) { return true; },
                    dialogAnswering(yes, &days));
            });
            QVERIFY(outcome.limitReached);
        } else {
            Fines::LoanMatch match;
            inAction([&] { match = Fines::findOpenLoan("K1", "B1"); });
            days << match.daysOverdue;
            inAction([&] {
                Fines::confirmOverdue({"K1", "A", "B1", "1.5"},
                                      [](const QString&, const QString&) { return true; });
            });
        }
        Clock::setToday(day2);
        inAction([&] { Returns::giveBack({id, "K1", "N"}, dialogAnswering(true, &days)); });
        QCOMPARE(days, offered);
        QCOMPARE(Sql::scalar("select sum(srje) from cwk").toDouble(), booked);
        // The fine dialog on day 2, after the return, finds no open loan to fine again.
        QCOMPARE(Sql::scalar("select count(*) from dzjsmxk where hsjsr is null").toInt(), 0);
    }

    // The same day twice: the second fine is taken already, nothing is asked or written.
    void sameDayIsNotFinedAgain()
    {
        lateLoan(3, 1);
        int asked = 0;
        const auto ask = [&](const QString&, const QString&) { return ++asked > 0; };
        Fines::OverdueOutcome second;
        inAction([&] { Fines::confirmOverdue({"K1", "A", "B1", "1.5"}, ask); });
        Sql::run("delete from dzyqfkmxk"); // only the loan's own mark remains
        inAction([&] { second = Fines::confirmOverdue({"K1", "A", "B1", "1.5"}, ask); });
        QCOMPARE(int(second.kind), int(Fines::OverdueOutcome::Kind::AlreadyTaken));
        QCOMPARE(asked, 1);
        QCOMPARE(Sql::scalar("select sum(srje) from cwk").toDouble(), 1.5);
    }
};
LIBRARY_TEST(OverdueDaysTest)
#include "overduedaystest.moc"
