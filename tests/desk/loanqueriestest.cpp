#include "desk/loanqueries.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"

#include <QTest>

Q_DECLARE_METATYPE(LoanConditions)

// The loan query's conditions and order, and the overdue list.
class LoanQueriesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    // One column of every listed row, as "a,b,c".
    static QString column(const Listing& rows, const QString& name)
    {
        Sql q(rows.statement);
        q.bindAll(rows.values).exec();
        QStringList cells;
        while (q.next())
            cells << q.text(name);
        return cells.join(",");
    }
    static QString ids(const LoanSelection& selection)
    {
        return column(selection.listing(), "Txm");
    }
    static void returned(qint64 loan, const QDate& on, const QString& by, const QString& damaged)
    {
        Sql::run("update dzjsmxk set hsrq=:a,hsjsr=:b,sfsh=:c where iid=:d",
                 {on, by, damaged, loan});
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Seed::grade();
        const QList<QStringList> cards{{"2002", "王五"}, {"1001", "张三"}, {"1002", "张三丰"}};
        for (const QStringList& c : cards) {
            Seed::CardRow card;
            card.number = c[0];
            card.name = c[1];
            Seed::card(card);
        }
        const QList<QStringList> books{
            {"B1", "红楼梦"}, {"B2", "三国演义"}, {"B3", "红楼梦学刊"}, {"X9", "水浒传"}};
        for (const QStringList& b : books) {
            Seed::BookRow book;
            book.barcode = b[0];
            book.title = b[1];
            book.copies = 3;
            Seed::book(book);
        }
        Sql::run("insert into userk(loginuser,name,passw,dj) values('SA','超级','x','A')");
        Sql::run("insert into userk(loginuser,name,passw,dj) values('LI','李四','x','B')");
        // Loans in an order that is not the card order.
        Seed::loan("2002", "B1", QDate(2008, 12, 1), QDate(2008, 12, 31));
        const qint64 back = Seed::loan("1002", "B2", QDate(2008, 12, 31), QDate(2009, 1, 30));
        returned(back, QDate(2009, 1, 5), "李四", "Y");
        Seed::loan("1001", "B3", QDate(2008, 11, 30), QDate(2008, 12, 30));
        Seed::loan("1001", "X9", QDate(2009, 1, 1), QDate(2009, 1, 31));
    }
    void cleanup() { fixture.reset(); }

    void noConditionListsEveryLoanByCard()
    {
        QCOMPARE(ids(LoanSelection::all()), QString("B1,B2,B3,X9")); // the store's order
        const QString byCard = ids(LoanSelection::matching({}));
        QVERIFY2(byCard == "B3,X9,B2,B1" || byCard == "X9,B3,B2,B1", qPrintable(byCard));
        // A loan whose card or title no longer exists is not listed.
        Sql::run("delete from tszk where txm='X9'");
        QCOMPARE(ids(LoanSelection::matching({})), QString("B3,B2,B1"));
    }

    void conditionsNarrow_data()
    {
        QTest::addColumn<LoanConditions>("conditions");
        QTest::addColumn<QString>("expected");
        const auto with = [](auto set) {
            LoanConditions c;
            set(c);
            return c;
        };
        QTest::newRow("card exact") << with([](auto& c) { c.card = "100"; }) << "";
        QTest::newRow("card") << with([](auto& c) { c.card = "1002"; }) << "B2";
        QTest::newRow("name begins") << with([](auto& c) { c.name = "张"; }) << "B2,B3,X9";
        QTest::newRow("name not inside") << with([](auto& c) { c.name = "三"; }) << "";
        QTest::newRow("title contains") << with([](auto& c) { c.title = "楼梦"; }) << "B1,B3";
        QTest::newRow("barcode contains") << with([](auto& c) { c.barcode = "9"; }) << "X9";
        QTest::newRow("damaged") << with([](auto& c) { c.damaged = "Y"; }) << "B2";
        QTest::newRow("lent range inclusive") << with([](auto& c) {
            c.lentFrom = QDate(2008, 12, 1);
            c.lentTo = QDate(2008, 12, 31);
        }) << "B1,B2";
        QTest::newRow("return range finds due dates of open loans") << with([](auto& c) {
            c.returnFrom = QDate(2008, 12, 30);
            c.returnTo = QDate(2009, 1, 5);
        }) << "B1,B2,B3";
        QTest::newRow("one day") << with([](auto& c) { c.lentFrom = c.lentTo = QDate(2009, 1, 1); })
                                 << "X9";
        QTest::newRow("lender") << with([](auto& c) { c.lender = "测试员"; }) << "B1,B2,B3,X9";
        QTest::newRow("returner") << with([](auto& c) { c.returner = "李四"; }) << "B2";
        QTest::newRow("a quote finds nothing") << with([](auto& c) { c.title = "红'楼"; }) << "";
        QTest::newRow("all together") << with([](auto& c) {
            c.name = "张";
            c.title = "红";
            c.lentTo = QDate(2008, 12, 31);
        }) << "B3";
    }
    void conditionsNarrow()
    {
        QFETCH(LoanConditions, conditions);
        QFETCH(QString, expected);
        QStringList found = ids(LoanSelection::matching(conditions)).split(",", Qt::SkipEmptyParts);
        found.sort();
        QCOMPARE(found.join(","), expected);
    }

    void sortingKeepsTheConditions()
    {
        LoanConditions c;
        c.name = "张";
        QCOMPARE(column(LoanSelection::matching(c).sortedBy("Dzm").listing(), "Dzm"),
                 QString("张三,张三,张三丰"));
        QCOMPARE(ids(LoanSelection::matching(c).sortedBy("Jsrq")), QString("B3,B2,X9"));
        QCOMPARE(ids(LoanSelection::all().sortedBy("Tsmc")), QString("B2,X9,B1,B3"));
        QCOMPARE(ids(LoanSelection::all().sortedBy("Hsjsr")).left(2), QString("B1"));
        // The card's open loans of a barcode start, for the fine dialog.
        QCOMPARE(ids(LoanSelection::openLoansOf("1001", "B").sortedBy("Kno")), QString("B3"));
    }

    void refusesConditionsTheDialogMustNotHandOver_data()
    {
        QTest::addColumn<QString>("damaged");
        QTest::addColumn<QString>("lender");
        QTest::addColumn<QString>("returner");
        QTest::addColumn<QString>("refusal");
        const QString damage =
            "查询提示:您输入的查询条件中\"是否损坏\"必须为\"Y\"或\"N\".@ComboBox1";
        const QString nobody = "查询提示:没有该操作员名称，请确定后重新输入。@";
        QTest::newRow("damage y") << "y"
                                  << ""
                                  << "" << damage;
        QTest::newRow("damage other") << "是"
                                      << ""
                                      << "" << damage;
        QTest::newRow("unknown lender") << ""
                                        << "王"
                                        << "" << nobody + "ComboBox2";
        QTest::newRow("SA is not offered") << ""
                                           << ""
                                           << "超级" << nobody + "ComboBox3";
        QTest::newRow("the Y item is no operator") << ""
                                                   << "Y"
                                                   << "" << nobody + "ComboBox2";
        QTest::newRow("known") << "N"
                               << "测试员"
                               << "李四"
                               << "";
    }
    void refusesConditionsTheDialogMustNotHandOver()
    {
        QFETCH(QString, damaged);
        QFETCH(QString, lender);
        QFETCH(QString, returner);
        QFETCH(QString, refusal);
        LoanConditions c;
        c.damaged = damaged;
        c.lender = lender;
        c.returner = returner;
        QString said;
        try {
            LoanQueries::check(c);
        } catch (const Refused& refused) {
            said = refused.caption() + ":" + refused.text() + "@" + refused.box();
        }
        QCOMPARE(said, refusal);
        QVERIFY(!LoanQueries::operatorNames().contains("超级"));
        QVERIFY(LoanQueries::operatorNames().contains("李四"));
    }

    void overdueFromTheDayAfterTheDueDate()
    {
        Sql::run("delete from dzjsmxk");
        const QDate today = Fixture::today();
        Seed::loan("2002", "B1", today.addDays(-30), today.addDays(-1));
        Seed::loan("1001", "B2", today.addDays(-30), today); // due today: not yet overdue
        Seed::loan("1001", "B3", today.addDays(-60), today.addDays(-20));
        const qint64 back = Seed::loan("1002", "X9", today.addDays(-60), today.addDays(-30));
        returned(back, today.addDays(-25), "李四", "N");
        QCOMPARE(column(LoanQueries::overdue("", today), "kno"), QString("1001,2002"));
        QCOMPARE(column(LoanQueries::overdue("2", today), "tsmc"), QString("红楼梦"));
        QCOMPARE(column(LoanQueries::overdue("1", today), "txm"), QString("B3"));
        QCOMPARE(column(LoanQueries::overdue("1", today.addDays(1)), "kno"), QString("1001,1001"));
        // The export: the same loans by due date, under Chinese headings.
        QCOMPARE(column(LoanQueries::overdueExport("", today.addDays(1)), "借阅卡号"),
                 QString("1001,2002,1001"));
        QCOMPARE(column(LoanQueries::overdueExport("", today), "应还书日期"),
                 today.addDays(-20).toString("yyyy-MM-dd") + "," +
                     today.addDays(-1).toString("yyyy-MM-dd"));
    }
};

LIBRARY_TEST(LoanQueriesTest)
#include "loanqueriestest.moc"
