#include "desk/topups.h"
#include "cardseed.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Top-up and extension: the register row, the card's new date and the ledger row, only for
// the card that was looked up, and a payment of "0" only after a Yes.
class TopUpsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QStringList asked;

    Ask answer(bool yes)
    {
        return [this, yes](const QString& caption, const QString& text) {
            asked << caption + ":" + text;
            return yes;
        };
    }
    static TopUps::Request request(const QString& amount)
    {
        return {"1001", "1001", "张三", "2027/6/30", amount};
    }
    static QStringList written()
    {
        return CardSeed::rows("select kno,dzm,yxrq,czje,czy,bz,czrq from jykczb") +
               CardSeed::rows("select srje,zcje,szyy,fsrq from cwk") +
               CardSeed::rows("select kno,yxrq from cardk order by kno");
    }
    QString refusal(const TopUps::Request& r)
    {
        try {
            TopUps::extend(r, answer(true));
        } catch (const Refused& refused) {
            return refused.text() + "@" + refused.box();
        }
        return QString();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        asked.clear();
        CardSeed::grade("A", 180);
        CardSeed::card("1001", "张三", "110", "2026-01-05", 50, "2027-01-05");
        CardSeed::card("1002", "李四", "111", "2026-01-05", 50, "2027-01-05");
    }
    void cleanup() { fixture.reset(); }

    void paymentIsBookedAsIncome()
    {
        const TopUps::Done done = TopUps::extend(request("30.5"), answer(true));
        QVERIFY(done.paid);
        QVERIFY(asked.isEmpty());
        QCOMPARE(written(),
                 (QStringList{
                     "1001|张三|2027-06-30|30.5|测试员|借阅证延期有效日期且充值|2026-12-09",
                     "30.5||延期借阅证时充值|2026-12-09", "1001|2027-06-30", "1002|2027-01-05"}));
    }

    void zeroTextAsksAndBooksNothing()
    {
        const TopUps::Done done = TopUps::extend(request("0"), answer(true));
        QVERIFY(!done.paid);
        QCOMPARE(asked, QStringList{"询问:充金额为零，您确定要继续吗？"});
        QCOMPARE(written(),
                 (QStringList{"1001|张三|2027-06-30|0|测试员|借阅证延期有效日期没有充值|2026-12-09",
                              "1001|2027-06-30", "1002|2027-01-05"}));
    }

    void fullWidthZeroIsNoPayment()
    {
        const TopUps::Done done = TopUps::extend(request("０"), answer(true));
        QVERIFY(!done.paid);
        QCOMPARE(asked, QStringList{"询问:充金额为零，您确定要继续吗？"});
        QCOMPARE(CardSeed::rows("select count(*) from cwk"), QStringList{"0"});
    }

    void emptyAmountCountsAsZero()
    {
        try {
            TopUps::extend(request(""), answer(false));
            QFAIL("went on after No");
        } catch (const ActionCancelled&) {
        }
        QCOMPARE(asked, QStringList{"询问:充金额为零，您确定要继续吗？"});
        QCOMPARE(CardSeed::rows("select count(*) from jykczb"), QStringList{"0"});
    }

    void zeroWithDecimalsIsAPayment()
    {
        TopUps::extend(request("0.00"), answer(false));
        QVERIFY(asked.isEmpty());
        QCOMPARE(CardSeed::rows("select czje,bz from jykczb"),
                 QStringList{"0|借阅证延期有效日期且充值"});
        QCOMPARE(CardSeed::rows("select srje,szyy from cwk"), QStringList{"0|延期借阅证时充值"});
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("lookedUp");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("validUntil");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        QTest::newRow("no number") << "1001"
                                   << ""
                                   << "2027-06-30"
                                   << "5"
                                   << "借阅证编号不能为空！@Edit7";
        QTest::newRow("nothing looked up") << ""
                                           << "1001"
                                           << "2027-06-30"
                                           << "5"
                                           << "没有找到您需要的数据！@Edit7";
        QTest::newRow("number edited after the look-up") << "1001"
                                                         << "1002"
                                                         << "2027-06-30"
                                                         << "5"
                                                         << "没有找到您需要的数据！@Edit7";
        QTest::newRow("no date") << "1001"
                                 << "1001"
                                 << ""
                                 << "5"
                                 << "有效日期不能为空！@Edit8";
        QTest::newRow("not a date") << "1001"
                                    << "1001"
                                    << "2027-02-30"
                                    << "5"
                                    << "日期格式不对！@Edit8";
        QTest::newRow("amount not a number") << "1001"
                                             << "1001"
                                             << "2027-06-30"
                                             << "5元"
                                             << "充值金额格式不对！@Edit10";
        QTest::newRow("amount larger than the store holds") << "1001"
                                                            << "1001"
                                                            << "2027-06-30"
                                                            << "99999999999999"
                                                            << "充值金额格式不对！@Edit10";
        QTest::newRow("negative amount") << "1001"
                                         << "1001"
                                         << "2027-06-30"
                                         << "-5"
                                         << "充值金额格式不对！@Edit10";
        QTest::newRow("card cancelled meanwhile") << "1003"
                                                  << "1003"
                                                  << "2027-06-30"
                                                  << "5"
                                                  << "没有找到您需要的数据！@Edit7";
    }
    void refusals()
    {
        QFETCH(QString, lookedUp);
        QFETCH(QString, number);
        QFETCH(QString, validUntil);
        QFETCH(QString, amount);
        QFETCH(QString, message);
        const QStringList before = written();
        {
            Transaction action; // as the screen's action runs it
            QCOMPARE(refusal({lookedUp, number, "张三", validUntil, amount}), message);
        }
        QVERIFY(asked.isEmpty());
        QCOMPARE(written(), before);
    }

    void storeFailureWritesNothing()
    {
        Sql::run("create trigger refuse before insert on cwk "
                 "begin select raise(abort, 'disk full'); end");
        const QStringList before = written();
        QVERIFY_THROWS_EXCEPTION(StoreError, TopUps::extend(request("10"), answer(true)));
        QCOMPARE(written(), before);
    }

    void lookUpTellsNoneOneAndSeveral()
    {
        CardSeed::card("2001", "王五");
        QCOMPARE(TopUps::firstMatches("9"), QStringList{});
        QCOMPARE(TopUps::firstMatches("2"), QStringList{"2001"});
        QCOMPARE(TopUps::firstMatches("100"), (QStringList{"1001", "1002"}));
        QCOMPARE(TopUps::firstMatches(""), (QStringList{"1001", "1002"}));
        QCOMPARE(TopUps::validDays("A"), 180);
        QCOMPARE(TopUps::validDays("Z"), 0);
    }

    void queryTotalCoversTheListedRows_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("total");
        QTest::newRow("everything")
            << ""
            << ""
            << ""
            << "" << QStringList{"1001|0.1", "1001|0.2", "1002|7", "2001|0.1"} << "7.40";
        QTest::newRow("prefix") << "100"
                                << ""
                                << ""
                                << "" << QStringList{"1001|0.1", "1001|0.2", "1002|7"} << "7.30";
        QTest::newRow("name") << ""
                              << "张三"
                              << ""
                              << "" << QStringList{"1001|0.1", "1001|0.2"} << "0.30";
        QTest::newRow("from") << ""
                              << ""
                              << "2026-12-01"
                              << "" << QStringList{"1001|0.2", "1002|7"} << "7.20";
        QTest::newRow("to") << ""
                            << ""
                            << ""
                            << "2026-11-30" << QStringList{"1001|0.1", "2001|0.1"} << "0.20";
        QTest::newRow("day") << "1"
                             << ""
                             << "2026-12-09"
                             << "2026-12-09" << QStringList{"1002|7"} << "7.00";
        QTest::newRow("none") << "3"
                              << ""
                              << ""
                              << "" << QStringList{} << "0.00";
    }
    void queryTotalCoversTheListedRows()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, name);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, rows);
        QFETCH(QString, total);
        const auto topUp = [](const char* kno, const char* dzm, double amount, const char* day) {
            Sql::run("insert into jykczb(kno,dzm,czje,czrq) values(:a,:b,:c,:d)",
                     {kno, dzm, amount, day});
        };
        topUp("1002", "李四", 7, "2026-12-09");
        topUp("1001", "张三", 0.1, "2026-11-02");
        topUp("2001", "王五", 0.1, "2026-01-02");
        topUp("1001", "张三", 0.2, "2026-12-01");
        const TopUpSelection selection(prefix, name, QDate::fromString(from, Qt::ISODate),
                                       QDate::fromString(to, Qt::ISODate));
        QStringList listed;
        Sql q(selection.statement());
        q.bindAll(selection.values()).exec();
        while (q.next())
            listed << q.text("kno") + "|" + q.money("czje").toShortest();
        QCOMPARE(listed, rows);
        QCOMPARE(selection.total().toFixed2(), total);
    }
};

LIBRARY_TEST(TopUpsTest)
#include "topupstest.moc"
