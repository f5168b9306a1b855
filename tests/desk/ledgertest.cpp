#include "desk/ledger.h"
#include "data/gbk.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Every money movement lands in the ledger as one dated row on the right side.
class LedgerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void incomeAndExpenditureGoToTheirOwnColumnsDatedToday()
    {
        Ledger::income(Money::fromText("12.5"), Ledger::Reason::deposit);
        Ledger::expenditure(Money::fromText("-30"), Ledger::Reason::reversal);

        Sql q("select * from cwk order by szyy");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("szyy"), QString("冲销"));
        QVERIFY(q.isNull("srje"));
        QCOMPARE(q.money("zcje"), Money::fromText("-30"));
        QCOMPARE(q.date("fsrq"), Fixture::today());
        QVERIFY(q.next());
        QCOMPARE(q.text("szyy"), QString("收押金"));
        QCOMPARE(q.money("srje"), Money::fromText("12.5"));
        QVERIFY(q.isNull("zcje"));
        QCOMPARE(q.text("fsrq"), QString("2026-12-09"));
        QVERIFY(!q.next());
    }

    void zeroAmountIsStillWritten()
    {
        // A card issued without a deposit still leaves its "收押金" row.
        Ledger::income(Money(), Ledger::Reason::deposit);
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=0"), 1);
    }

    void everyReasonFitsTheReasonColumn()
    {
        const QStringList reasons = Ledger::allReasons();
        QCOMPARE(reasons.size(), 10);
        QCOMPARE(QSet<QString>(reasons.begin(), reasons.end()).size(), 10);
        for (const QString& reason : reasons)
            QVERIFY2(Gbk::width(reason) <= 20, qPrintable(reason));
    }
};

LIBRARY_TEST(LedgerTest)
#include "ledgertest.moc"
