#include "desk/fines.h"
#include "data/clock.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

namespace {
Money money(const char* text)
{
    return Money::fromText(QString::fromUtf8(text));
}

Fines::OverdueEntry entry(const QString& amount)
{
    return {"1001", "A", "B1", amount};
}

Ask answering(bool yes, int* asked = nullptr)
{
    return [yes, asked](const QString& caption, const QString& text) {
        if (asked)
            ++*asked;
        return caption == QString("提示信息") && text == QString("确认罚此金额?") ? yes : !yes;
    };
}
} // namespace

// Overdue fines are worked out exactly, taken once per card, book and day, and booked
// only when confirmed; damage fines are booked on each confirm.
class FinesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void overdueFineIsDaysTimesTheDailyRate_data()
    {
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("days"); // -1: no fine
        QTest::addColumn<QString>("amount");
        QTest::newRow("due tomorrow") << -1 << "0.5" << -1 << "";
        QTest::newRow("due today") << 0 << "0.5" << -1 << "";
        QTest::newRow("due yesterday") << 1 << "0.5" << 1 << "0.5";
        QTest::newRow("ten days late") << 10 << "0.5" << 10 << "5";
        QTest::newRow("rate 0") << 30 << "0" << -1 << "";
        QTest::newRow("exact tenths") << 3 << "0.1" << 3 << "0.3";
        QTest::newRow("four places") << 7 << "0.0333" << 7 << "0.2331";
    }
    void overdueFineIsDaysTimesTheDailyRate()
    {
        QFETCH(int, daysLate);
        QFETCH(QString, rate);
        QFETCH(int, days);
        QFETCH(QString, amount);
        const QDate today = Fixture::today();
        const auto fine = Fines::overdue(today.addDays(-daysLate), Money::fromText(rate), today);
        QCOMPARE(fine.has_value(), days >= 0);
        if (fine) {
            QCOMPARE(fine->days, days);
            QCOMPARE(fine->amount.toShortest(), amount);
        }
        QVERIFY(!Fines::overdue(QDate(), money("0.5"), today));
    }

    void confirmedFineIsRecordedAndBooked()
    {
        int asked = 0;
        const auto outcome = Fines::confirmOverdue(entry("1.5"), answering(true, &asked));
        QCOMPARE(asked, 1);
        QVERIFY(outcome.confirmed());
        QCOMPARE(outcome.amount, money("1.5"));
        Sql fine("select * from dzyqfkmxk");
        fine.exec();
        QVERIFY(fine.first());
        QCOMPARE(fine.text("Kno"), QString("1001"));
        QCOMPARE(fine.date("Rq"), Fixture::today());
        QCOMPARE(fine.text("jsr"), QString::fromUtf8(Fixture::operatorName));
        QCOMPARE(fine.text("txm"), QString("B1"));
        QCOMPARE(fine.text("kdj"), QString("A"));
        QCOMPARE(fine.money("je"), money("1.5"));
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=1.5 and szyy='逾期罚款金额' "
                                "and fsrq='2026-12-09' and zcje is null"),
                 1);
    }

    void declinedFineKeepsItsRowButBooksNothing()
    {
        const auto outcome = Fines::confirmOverdue(entry("2"), answering(false));
        QCOMPARE(outcome.kind, Fines::OverdueOutcome::Kind::Declined);
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk where je=2"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }

    void secondFineOnTheSameDayAsksAndWritesNothing()
    {
        Fines::confirmOverdue(entry("1.5"), answering(false));
        int asked = 0;
        const auto outcome = Fines::confirmOverdue(entry("9"), answering(true, &asked));
        QCOMPARE(outcome.kind, Fines::OverdueOutcome::Kind::AlreadyTaken);
        QCOMPARE(asked, 0);
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        // Another book of the same card, or the next day, is a fine of its own.
        Fines::confirmOverdue({"1001", "A", "B2", "1"}, answering(true));
        Clock::setToday(Fixture::today().addDays(1));
        Fines::confirmOverdue(entry("1"), answering(true));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 3);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 2);
    }

    void emptyBoxesAndBadAmountsAreRefused_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("box");
        QTest::newRow("no card") << ""
                                 << "B1"
                                 << "1"
                                 << "您必须输入读者的借书卡(证)号，才能登记罚款金额。"
                                 << "Edit1";
        QTest::newRow("no barcode") << "1001"
                                    << ""
                                    << "1"
                                    << "您必须图书条型码才能保存该信息。"
                                    << "Edit4";
        QTest::newRow("no amount") << "1001"
                                   << "B1"
                                   << ""
                                   << "您必须登记罚款金额才能保存该信息。"
                                   << "Edit3";
        QTest::newRow("letters") << "1001"
                                 << "B1"
                                 << "abc"
                                 << "该读者的逾期罚款金额保存不成功！"
                                 << "Edit3";
        QTest::newRow("negative") << "1001"
                                  << "B1"
                                  << "-1"
                                  << "该读者的逾期罚款金额保存不成功！"
                                  << "Edit3";
    }
    void emptyBoxesAndBadAmountsAreRefused()
    {
        QFETCH(QString, card);
        QFETCH(QString, barcode);
        QFETCH(QString, amount);
        QFETCH(QString, text);
        QFETCH(QString, box);
        try {
            Fines::confirmOverdue({card, "A", barcode, amount}, answering(true));
            QFAIL("not refused");
        } catch (const Refused& refused) {
            QCOMPARE(refused.caption(), QString("保存提示"));
            QCOMPARE(refused.text(), text);
            QCOMPARE(refused.box(), box);
        }
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }

    void storeErrorUndoesOnlyTheConfirm()
    {
        Sql::run("create trigger refuse before insert on cwk "
                 "begin select raise(abort, 'disk full'); end");
        Transaction action;
        Sql::run("insert into dzjsmxk(kno,txm) values('1001','B1')");
        QVERIFY_THROWS_EXCEPTION(StoreError, Fines::confirmOverdue(entry("1.5"), answering(true)));
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 0);
        // The confirm can be tried again, and the action's own writes are still there.
        Sql::run("drop trigger refuse");
        QVERIFY(Fines::confirmOverdue(entry("1.5"), answering(true)).confirmed());
        action.commit();
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk"), 1);
        QCOMPARE(Fixture::count("select count(*) from dzyqfkmxk"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 1);
    }

    void damageFineIsBookedOnEachConfirm()
    {
        QCOMPARE(Fines::confirmDamage("12.5"), money("12.5"));
        Fines::confirmDamage("3");
        QCOMPARE(Fixture::count("select count(*) from cwk where szyy='读者损坏罚款' "
                                "and fsrq='2026-12-09'"),
                 2);
        QCOMPARE(Sql::scalar("select sum(srje) from cwk").toDouble(), 15.5);
        QVERIFY_THROWS_EXCEPTION(ActionCancelled, Fines::confirmDamage(""));
        for (const char* bad : {"abc", "1.2.3", "-5"}) {
            try {
                Fines::confirmDamage(bad);
                QFAIL(bad);
            } catch (const Refused& refused) {
                QCOMPARE(refused.caption(), QString("提示"));
                QCOMPARE(refused.text(), QString("您输入的罚款金额不为数字，请确定后重新输入。"));
                QCOMPARE(refused.box(), QString("Edit1"));
            }
        }
        QCOMPARE(Fixture::count("select count(*) from cwk"), 2);
    }
};

LIBRARY_TEST(FinesTest)
#include "finestest.moc"
