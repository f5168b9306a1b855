#include "desk/cancellation.h"
#include "cardseed.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Card cancellation: the searched card goes and the refund is paid out, unless the card is
// lost or has books out; the register rows, top-ups and closed loans stay.
class CancellationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList state()
    {
        return CardSeed::rows("select kno from cardk order by kno") +
               CardSeed::rows("select srje,zcje,szyy,fsrq from cwk");
    }
    static QString refusal(const QString& searched, const QString& refund)
    {
        try {
            Cancellation::cancel(searched, refund);
        } catch (const Refused& refused) {
            return refused.text() + "@" + refused.box();
        }
        return QString();
    }
    static void loan(const char* kno, const char* returnedBy)
    {
        Sql::run("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h)",
                 {kno, "T1", "2026-11-01", "测试员", "2026-12-01", returnedBy, "N", 0});
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::card("1002", "张三", "110", "2026-01-05", 50);
        CardSeed::card("1001", "张三", "111", "2026-01-05", 30);
        CardSeed::card("1003", "李四", "112", "2026-01-05", 20);
    }
    void cleanup() { fixture.reset(); }

    void searchTakesTheFirstByNumber()
    {
        QCOMPARE(Cancellation::search("", "张三")->number, QString("1001"));
        QCOMPARE(Cancellation::search("", "")->number, QString("1001"));
        QCOMPARE(Cancellation::search("1003", "")->deposit, Money::fromText("20"));
        QVERIFY(!Cancellation::search("1003", "张三"));
        QVERIFY(!Cancellation::search("", "张三' or '1'='1"));
    }

    void cancelWithRefund_data()
    {
        QTest::addColumn<QString>("refund");
        QTest::addColumn<QStringList>("ledger");
        QTest::newRow("the deposit") << "30" << QStringList{"|30|退还押金|2026-12-09"};
        QTest::newRow("changed amount") << "12.5" << QStringList{"|12.5|退还押金|2026-12-09"};
        QTest::newRow("zero is still a row") << "0" << QStringList{"|0|退还押金|2026-12-09"};
        QTest::newRow("empty: no row") << "" << QStringList{};
    }
    void cancelWithRefund()
    {
        QFETCH(QString, refund);
        QFETCH(QStringList, ledger);
        loan("1001", "测试员"); // returned
        Sql::run("insert into jykczb(kno,dzm,czje) values('1001','张三',5)");
        Cancellation::cancel("1001", refund);
        QCOMPARE(state(), (QStringList{"1002", "1003"} + ledger));
        // What belongs to the card's history stays.
        QCOMPARE(Fixture::count("select count(*) from gsb where kno='1001'"), 1);
        QCOMPARE(Fixture::count("select count(*) from jykczb where kno='1001'"), 1);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where kno='1001'"), 1);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QString>("refund");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing searched") << ""
                                          << "30"
                                          << "请先查询!@query";
        QTest::newRow("lost card") << "1002"
                                   << "30"
                                   << "此借书证已经挂失, 不能注销@";
        QTest::newRow("open loan") << "1003"
                                   << "30"
                                   << "该读者有书未还,不能注销@";
        QTest::newRow("refund not a number") << "1001"
                                             << "3o"
                                             << "金额格式错误!@Edit3";
        QTest::newRow("negative refund") << "1001"
                                         << "-30"
                                         << "金额格式错误!@Edit3";
        QTest::newRow("cancelled meanwhile") << "1009"
                                             << "30"
                                             << "没有查找到所需记录!@";
    }
    void refusals()
    {
        QFETCH(QString, searched);
        QFETCH(QString, refund);
        QFETCH(QString, message);
        Sql::run("update gsb set gsbz='是' where kno='1002'"); // no books out
        loan("1003", "");
        loan("1001", "测试员");
        const QStringList before = state();
        QCOMPARE(refusal(searched, refund), message);
        QCOMPARE(state(), before);
    }

    void storeFailureLeavesCardAndLedger()
    {
        Sql::run("create trigger refuse before insert on cwk "
                 "begin select raise(abort, 'disk full'); end");
        const QStringList before = state();
        QVERIFY_THROWS_EXCEPTION(StoreError, Cancellation::cancel("1001", "30"));
        QCOMPARE(state(), before);
    }
};

LIBRARY_TEST(CancellationTest)
#include "cancellationtest.moc"
