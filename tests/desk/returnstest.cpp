#include "desk/returns.h"
#include "data/clock.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

namespace {
const QDate today = Fixture::today();

void grade(const QString& code, const QString& rate, int renewals, int loanDays = 30)
{
    Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw,yxxjcs,yqfkje,yxts) "
             "values(:a,'借阅证',5,0,:b,5,50,'日',:c,:d,365)",
             {code, loanDays, renewals, Money::fromText(rate).toDouble()});
}

void card(const QString& number, const QVariant& onLoan, const QString& valid = "Y")
{
    Sql::run("insert into cardk(kno,kdj,km,dzm,yxrq,jsbs,sfyx) values(:a,'A','借阅证',:b,:c,:d,:e)",
             {number, QString("读者") + number, today.addDays(100), onLoan, valid});
}

void book(const QString& barcode, int copies, const QVariant& lent, const QString& state = "C")
{
    Sql::run("insert into tszk(txm,tsmc,bs,jcs,tszt,ctys,sfsh) values(:a,:b,:c,:d,:e,0,'N')",
             {barcode, QString("书") + barcode, copies, lent, state});
}

// An open loan due `dueIn` days from today; its iid.
qint64 loan(const QString& cardNumber, const QString& barcode, int dueIn, int renewals = 0)
{
    Sql q("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
          "values(:a,:b,:c,'借书员',:d,'','N',:e)");
    q.bind(cardNumber).bind(barcode).bind(today.addDays(dueIn - 30)).bind(today.addDays(dueIn));
    q.bind(renewals).exec();
    return q.lastInsertId().toLongLong();
}

QVariant column(const QString& statement, const QVariantList& values = {})
{
    return Sql::scalar(statement, values);
}

// The fine dialog as the operator answers it: the proposed amount, Yes or No.
struct FineDialog {
    bool yes = true;
    QString amount; // empty: keep the proposed one
    QList<Returns::FineOffer> offers;
    int asked = 0;

    Returns::FineDesk desk(QStringList* damaged = nullptr)
    {
        Returns::FineDesk d;
        d.overdue = [this](const Returns::FineOffer& offer) {
            offers << offer;
            const QString typed = amount.isEmpty() ? offer.amount.toShortest() : amount;
            return Fines::confirmOverdue({offer.card, offer.grade, offer.barcode, typed},
                                         [this](const QString&, const QString&) {
                                             ++asked;
                                             return yes;
                                         });
        };
        d.damage = [damaged](const QString& c, const QString& b) {
            if (damaged)
                *damaged << c + "/" + b;
        };
        return d;
    }
};

// One action, committed when it completes, as the screens run it.
template <typename Work> auto inAction(Work work)
{
    Transaction transaction;
    auto result = work();
    transaction.commit();
    return result;
}

Ask yes = [](const QString&, const QString&) { return true; };
} // namespace

// A return closes exactly the loan of its row and gives back both counters; a renewal
// moves the due date on within the grade's renewals; overdue days are fined on the way.
class ReturnsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        grade("A", "0.5", 1);
    }
    void cleanup() { fixture.reset(); }

    void returnClosesTheLoanAndLowersBothCounters_data()
    {
        QTest::addColumn<QVariant>("onLoan");
        QTest::addColumn<int>("cardAfter");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QVariant>("lent");
        QTest::addColumn<int>("lentAfter");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("stateAfter");
        QTest::newRow("last copy back") << QVariant(2) << 1 << 1 << QVariant(1) << 0 << "C"
                                        << "W";
        QTest::newRow("one of three out") << QVariant(1) << 0 << 3 << QVariant(1) << 0 << "W"
                                          << "W";
        QTest::newRow("all out, one back") << QVariant(1) << 0 << 3 << QVariant(3) << 2 << "C"
                                           << "W";
        QTest::newRow("card counter 0") << QVariant(0) << 0 << 2 << QVariant(2) << 1 << "C"
                                        << "W";
        QTest::newRow("card counter blank") << QVariant() << 0 << 2 << QVariant(2) << 1 << "C"
                                            << "W";
        QTest::newRow("book counter 0") << QVariant(1) << 0 << 1 << QVariant(0) << 0 << "C"
                                        << "W";
        QTest::newRow("book counter blank") << QVariant(1) << 0 << 1 << QVariant() << 0 << "C"
                                            << "W";
        QTest::newRow("lost stays lost") << QVariant(1) << 0 << 1 << QVariant(1) << 0 << "D"
                                         << "D";
    }
    void returnClosesTheLoanAndLowersBothCounters()
    {
        QFETCH(QVariant, onLoan);
        QFETCH(int, cardAfter);
        QFETCH(int, copies);
        QFETCH(QVariant, lent);
        QFETCH(int, lentAfter);
        QFETCH(QString, state);
        QFETCH(QString, stateAfter);
        card("1001", onLoan);
        book("B1", copies, lent, state);
        const qint64 id = loan("1001", "B1", 5, 1);
        FineDialog dialog;
        const auto outcome = inAction([&] {
            return Returns::giveBack({id, "1001", "N"}, dialog.desk());
        });
        QVERIFY(!outcome.fineOffered);
        QVERIFY(dialog.offers.isEmpty());
        Sql q("select * from dzjsmxk where iid=:iid");
        q.bind(id).exec();
        QVERIFY(q.first());
        QCOMPARE(q.date("hsrq"), today);
        QCOMPARE(q.text("hsjsr"), QString::fromUtf8(Fixture::operatorName));
        QCOMPARE(q.text("sfsh"), QString("N"));
        QCOMPARE(q.integer("xjcs"), 0);
        QCOMPARE(column("select jsbs from cardk where kno='1001'").toInt(), cardAfter);
        QVERIFY(!column("select jsbs from cardk where kno='1001'").isNull());
        QCOMPARE(column("select jcs from tszk where txm='B1'").toInt(), lentAfter);
        QVERIFY(!column("select jcs from tszk where txm='B1'").isNull());
        QCOMPARE(column("select tszt from tszk where txm='B1'").toString(), stateAfter);
        QCOMPARE(Returns::openLoanCount("1001"), 0);
    }

    void overdueReturnOffersTheFineFirst_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("dueIn");
        QTest::addColumn<int>("days"); // 0: no fine dialog
        QTest::addColumn<QString>("amount");
        QTest::newRow("due today") << "0.5" << 0 << 0 << "";
        QTest::newRow("due yesterday") << "0.5" << -1 << 1 << "0.5";
        QTest::newRow("ten days ago") << "0.5" << -10 << 10 << "5";
        QTest::newRow("rate 0") << "0" << -10 << 0 << "";
    }
    void overdueReturnOffersTheFineFirst()
    {
        QFETCH(QString, rate);
        QFETCH(int, dueIn);
        QFETCH(int, days);
        QFETCH(QString, amount);
        Sql::run("update jykdjk set yqfkje=:r where kdj='A'", {Money::fromText(rate).toDouble()});
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", dueIn);
        FineDialog dialog;
        const auto outcome = inAction([&] {
            return Returns::giveBack({id, "1001", "N"}, dialog.desk());
        });
        QCOMPARE(outcome.fineOffered, days > 0);
        QCOMPARE(dialog.offers.size(), days > 0 ? 1 : 0);
        if (days > 0) {
            const Returns::FineOffer offer = dialog.offers.first();
            QCOMPARE(offer.card, QString("1001"));
            QCOMPARE(offer.grade, QString("A"));
            QCOMPARE(offer.barcode, QString("B1"));
            QCOMPARE(offer.days, days);
            QCOMPARE(offer.amount.toShortest(), amount);
            QVERIFY(outcome.fine.confirmed());
            QCOMPARE(column("select srje from cwk where szyy='逾期罚款金额'").toString(), amount);
        }
        QVERIFY(column("select hsjsr from dzjsmxk").toString().size() > 0);
    }

    void declinedOrChangedFineStillReturns()
    {
        card("1001", 2);
        book("B1", 1, 1);
        book("B2", 1, 1);
        const qint64 first = loan("1001", "B1", -3);
        const qint64 second = loan("1001", "B2", -3);
        FineDialog dialog;
        dialog.yes = false;
        const auto declined = inAction([&] {
            return Returns::giveBack({first, "1001", "N"}, dialog.desk());
        });
        QVERIFY(!declined.fine.confirmed());
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk where txm='B1' and je=1.5"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        dialog.yes = true;
        dialog.amount = "1";
        const auto changed = inAction([&] {
            return Returns::giveBack({second, "1001", "N"}, dialog.desk());
        });
        QCOMPARE(changed.fine.amount, Money::fromText("1"));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk where txm='B2' and je=1"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=1"), 1);
        QCOMPARE(Returns::openLoanCount("1001"), 0);
        QCOMPARE(column("select jsbs from cardk").toInt(), 0);
    }

    void damagedReturnTakesTheDamageFineAndMarksTheBook_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("Y") << "Y" << true;
        QTest::newRow("lower-case y") << "y" << false;
        QTest::newRow("N") << "N" << false;
        QTest::newRow("other text") << "是" << false;
    }
    void damagedReturnTakesTheDamageFineAndMarksTheBook()
    {
        QFETCH(QString, damage);
        QFETCH(bool, damaged);
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", 3);
        FineDialog dialog;
        QStringList dialogs;
        inAction([&] { return Returns::giveBack({id, "1001", damage}, dialog.desk(&dialogs)); });
        QCOMPARE(dialogs, damaged ? QStringList{"1001/B1"} : QStringList{});
        const QString flag = damaged ? "Y" : "N";
        QCOMPARE(column("select sfsh from tszk").toString(), flag);
        QCOMPARE(column("select sfsh from dzjsmxk").toString(), flag);
    }

    void returnIsRefusedInTheDesksOrder_data()
    {
        QTest::addColumn<QString>("cardValid");
        QTest::addColumn<QString>("cardBox");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("box");
        QTest::newRow("card no longer valid") << "N"
                                              << "1001"
                                              << ""
                                              << "还书提示"
                                              << "没有该借书证号！请确定后重新输入。"
                                              << "Edit1";
        QTest::newRow("damage box empty") << "Y"
                                          << ""
                                          << ""
                                          << "保存提示"
                                          << "您必须输入读者归还的图书是否被损坏！"
                                          << "ComboBox1";
        QTest::newRow("card box empty") << "Y"
                                        << ""
                                        << "N"
                                        << "保存提示"
                                        << "必须输入读者的借书证号才能登记该读者的！"
                                        << "Edit1";
    }
    void returnIsRefusedInTheDesksOrder()
    {
        QFETCH(QString, cardValid);
        QFETCH(QString, cardBox);
        QFETCH(QString, damage);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, box);
        card("1001", 1, cardValid);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", -2);
        FineDialog dialog;
        try {
            Returns::giveBack({id, cardBox, damage}, dialog.desk());
            QFAIL("not refused");
        } catch (const Refused& refused) {
            QCOMPARE(refused.caption(), caption);
            QCOMPARE(refused.text(), text);
            QCOMPARE(refused.box(), box);
        }
        QVERIFY(dialog.offers.isEmpty());
        QCOMPARE(Returns::openLoanCount("1001"), 1);
        QVERIFY_THROWS_EXCEPTION(ActionCancelled, Returns::giveBack({0, "1001", "N"}, {}));
    }

    void aClosedLoanIsNotReturnedTwice()
    {
        card("1001", 2);
        book("B1", 2, 2);
        book("B2", 1, 1);
        const qint64 id = loan("1001", "B1", 3);
        loan("1001", "B2", 3); // another loan of the same card, never returned here
        inAction([&] { return Returns::giveBack({id, "1001", "N"}, {}); });
        QVERIFY_THROWS_EXCEPTION(Refused, Returns::giveBack({id, "1001", "N"}, {}));
        QVERIFY_THROWS_EXCEPTION(Refused, Returns::renew(id, yes, {}));
        QCOMPARE(column("select jsbs from cardk").toInt(), 1);
        QCOMPARE(column("select jcs from tszk where txm='B1'").toInt(), 1);
        QCOMPARE(column("select jcs from tszk where txm='B2'").toInt(), 1);
        QCOMPARE(Returns::openLoanCount("1001"), 1);
    }

    void storeFailureMidReturnWritesNothing()
    {
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", -2);
        Sql::run("create trigger refuse before update of sfsh on tszk "
                 "begin select raise(abort, 'disk full'); end");
        FineDialog dialog;
        QStringList dialogs;
        QVERIFY_THROWS_EXCEPTION(
            StoreError, inAction([&] {
                return Returns::giveBack({id, "1001", "Y"}, dialog.desk(&dialogs));
            }));
        QCOMPARE(dialog.offers.size(), 1);
        QCOMPARE(Returns::openLoanCount("1001"), 1);
        QCOMPARE(column("select jsbs from cardk").toInt(), 1);
        QCOMPARE(column("select jcs from tszk").toInt(), 1);
        QCOMPARE(column("select tszt from tszk").toString(), QString("C"));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }

    void failedFineConfirmStillLetsTheReturnGoOn()
    {
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", -2);
        Sql::run("create trigger refuse before insert on cwk "
                 "begin select raise(abort, 'disk full'); end");
        Returns::FineDesk desk;
        bool failed = false;
        desk.overdue = [&](const Returns::FineOffer& offer) {
            // The dialog reports the failure and the operator cancels it.
            try {
                return Fines::confirmOverdue({offer.card, offer.grade, offer.barcode, "1"}, yes);
            } catch (const StoreError&) {
                failed = true;
            }
            return Fines::OverdueOutcome{};
        };
        const auto outcome = inAction([&] { return Returns::giveBack({id, "1001", "N"}, desk); });
        QVERIFY(failed);
        QVERIFY(!outcome.fine.confirmed());
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);
        QCOMPARE(Returns::openLoanCount("1001"), 0);
    }

    void renewalMovesTheDueDateWithinTheGradesRenewals()
    {
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", 4);
        FineDialog dialog;
        const auto renewed = inAction([&] { return Returns::renew(id, yes, dialog.desk()); });
        QVERIFY(renewed.renewed);
        QCOMPARE(renewed.due, today.addDays(34));
        QVERIFY(dialog.offers.isEmpty());
        Sql q("select * from dzjsmxk where iid=:iid");
        q.bind(id).exec();
        QVERIFY(q.first());
        QCOMPARE(q.date("hsrq"), today.addDays(34));
        QCOMPARE(q.integer("xjcs"), 1);
        QVERIFY(q.isNull("hsjsr"));
        QCOMPARE(Returns::openLoanCount("1001"), 1); // still listed, with its new due date

        const auto second = inAction([&] { return Returns::renew(id, yes, dialog.desk()); });
        QVERIFY(second.limitReached);
        QVERIFY(!second.renewed);
        QCOMPARE(column("select hsrq from dzjsmxk").toString(),
                 today.addDays(34).toString(Qt::ISODate));
        QCOMPARE(column("select xjcs from dzjsmxk").toInt(), 1);

        // No renewals for a card whose type has no grade row; No to the question stops.
        Sql::run("update cardk set km='IC卡'");
        Sql::run("update dzjsmxk set xjcs=0");
        QVERIFY(Returns::renew(id, yes, {}).limitReached);
        QVERIFY_THROWS_EXCEPTION(
            ActionCancelled, Returns::renew(id,
                                            [](const QString& caption, const QString& text) {
                                                return caption != QString("续借提示") ||
                                                       text != QString("您确定要续借这本书吗？");
                                            },
                                            {}));
    }

    void overdueRenewalIsFinedAndCountsFromToday()
    {
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", -4);
        FineDialog dialog;
        const auto renewed = inAction([&] { return Returns::renew(id, yes, dialog.desk()); });
        QCOMPARE(dialog.offers.size(), 1);
        QCOMPARE(dialog.offers.first().amount, Money::fromText("2"));
        QVERIFY(renewed.fine.confirmed());
        QCOMPARE(renewed.due, today.addDays(30));
        // Returned on the same day: no longer overdue, nothing more to pay.
        inAction([&] { return Returns::giveBack({id, "1001", "N"}, dialog.desk()); });
        QCOMPARE(dialog.offers.size(), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 1);
    }

    void refusedRenewalKeepsTheFineAndTheReturnAsksNothing()
    {
        card("1001", 1);
        book("B1", 1, 1);
        const qint64 id = loan("1001", "B1", -3, 1);
        FineDialog dialog;
        const auto refused = inAction([&] { return Returns::renew(id, yes, dialog.desk()); });
        QVERIFY(refused.limitReached);
        QVERIFY(refused.fine.confirmed());
        QCOMPARE(dialog.asked, 1);
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=1.5"), 1);
        // The reader must now return it: the overdue days are paid up to today, so no fine
        // is offered and nothing is asked again.
        const auto back = inAction([&] {
            return Returns::giveBack({id, "1001", "N"}, dialog.desk());
        });
        QCOMPARE(dialog.offers.size(), 1);
        QVERIFY(!back.fineOffered);
        QCOMPARE(dialog.asked, 1);
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 1);
    }
};

LIBRARY_TEST(ReturnsTest)
#include "returnstest.moc"
