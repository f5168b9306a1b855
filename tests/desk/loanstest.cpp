#include "desk/loans.h"
#include "data/clock.h"
#include "data/dates.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Lending at the desk: which card and which book are accepted, and what a loan writes.
class LoansTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static void grade(const QString& code, int maxBooks, int loanDays, const QString& km = "借阅证")
    {
        Sql::run("insert into jykdjk(kdj,km,yjsbs,jyqx,jyqxdw,jsyj) values(:a,:b,:c,:d,:e,:f)",
                 {code, km, maxBooks, loanDays, "日", 0});
    }
    static void card(const QString& number, const QString& name, const QString& gradeCode = "A",
                     const QString& valid = "Y", const QDate& until = QDate(2027, 12, 31))
    {
        Sql::run("insert into cardk(kno,kdj,km,dzm,yxrq,sfyx) values(:a,:b,:c,:d,:e,:f)",
                 {number, gradeCode, "借阅证", name, Dates::toText(until), valid});
    }
    static void book(const QString& barcode, const QString& title, int copies = 1, int lent = 0,
                     const QString& state = "W")
    {
        Sql::run("insert into tszk(txm,tsmc,tsjg,bs,jcs,tszt) values(:a,:b,:c,:d,:e,:f)",
                 {barcode, title, 12.5, copies, lent, state});
    }
    static QString refusal(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const Refused& refused) {
            return refused.caption() + ":" + refused.text();
        }
        return QString();
    }
    static QString row(const QString& statement, const QVariantList& values = {})
    {
        Sql q(statement);
        q.bindAll(values).exec();
        if (!q.first())
            return "none";
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(q.record().fieldName(i)).toString();
        return cells.join("|");
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        grade("A", 3, 30);
    }
    void cleanup() { fixture.reset(); }

    void cardPrefixFindsOneSeveralOrNoValidCard()
    {
        card("1001", "张三");
        card("1002", "李四");
        card("2001", "王五", "A", "N");
        card("a3001", "赵六");
        const Match one = Loans::findCards("1001");
        QCOMPARE(one.kind, Match::One);
        QCOMPARE(one.key, QString("1001"));
        QCOMPARE(Loans::findCards("100").kind, Match::Several);
        QCOMPARE(Loans::findCards("a").key, QString("a3001"));
        QCOMPARE(refusal([] { Loans::findCards("2001"); }),
                 QString("借书提示:没有该读者的借书证号！"));
        QCOMPARE(refusal([] { Loans::findCards("A"); }),
                 QString("借书提示:没有该读者的借书证号！"));
        QCOMPARE(refusal([] { Loans::findCards(""); }),
                 QString("借书提示:您必须输入读者的借阅卡号才能登记该读者的借书！"));
        QCOMPARE(Loans::findAllCards().kind, Match::Several);
    }

    void lostCardAndMissingGradeAreRefused()
    {
        card("1001", "张三");
        card("1002", "李四");
        card("1003", "王五", "Z");
        Sql::run("insert into gsb(kno,gsbz) values('1001','是')");
        Sql::run("insert into gsb(kno,gsbz) values('1002','否')");
        QCOMPARE(refusal([] { Loans::acceptCard("1001"); }), QString(":此借书证已经挂失,不能借书"));
        const Reader reader = Loans::acceptCard("1002");
        QCOMPARE(reader.name, QString("李四"));
        QCOMPARE(reader.maxBooks, 3);
        QCOMPARE(refusal([] { Loans::acceptCard("1003"); }), QString(":借书等级还没有设置好！"));
        // The grade row is looked up by grade and card type together.
        grade("Z", 2, 10, "IC卡");
        QCOMPARE(refusal([] { Loans::acceptCard("1003"); }), QString(":借书等级还没有设置好！"));
    }

    void limitCountsOpenLoansOfExistingTitles()
    {
        grade("B", 0, 30);
        card("1001", "张三");
        card("2001", "李四", "B");
        for (const char* barcode : {"T1", "T2", "T3", "T4"})
            book(barcode, QString("书") + barcode, 5);
        const Reader reader = Loans::acceptCard("1001");
        for (const char* barcode : {"T1", "T2", "T3"}) {
            Loans::acceptBook(reader, barcode, Loans::Route::Typed);
            Loans::lend("1001", barcode);
        }
        QCOMPARE(Loans::openLoanCount("1001"), 3);
        QCOMPARE(refusal([&] { Loans::acceptBook(reader, "T4", Loans::Route::Typed); }),
                 QString("提示:您所借图书数已达到允许的借书数\n该读者不能再借其他图书。"));
        QCOMPARE(refusal([&] { Loans::acceptBook(reader, "T4", Loans::Route::Picked); }),
                 QString("提示:您所借图书数以达到允许的借书数\n该读者不能再借其他图书。"));
        // A returned loan no longer counts.
        Sql::run("update dzjsmxk set hsjsr='甲' where txm='T1'");
        QCOMPARE(Loans::acceptBook(reader, "T4", Loans::Route::Typed).barcode, QString("T4"));
        // A grade that allows no book refuses every barcode.
        const Reader none = Loans::acceptCard("2001");
        QVERIFY(!refusal([&] { Loans::acceptBook(none, "T4", Loans::Route::Typed); }).isEmpty());
    }

    void theLastCopyMarksTheTitleLent_data()
    {
        QTest::addColumn<int>("lent");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("3 of 3 lent") << 3 << "C"
                                     << "提示:图书总库中该图书已被借完！";
        QTest::newRow("2 of 3 lent") << 2 << "W"
                                     << "3|C";
        QTest::newRow("1 of 3 lent") << 1 << "W"
                                     << "2|W";
        QTest::newRow("lost, 1 of 3") << 1 << "D"
                                      << "2|D";
    }
    void theLastCopyMarksTheTitleLent()
    {
        QFETCH(int, lent);
        QFETCH(QString, state);
        QFETCH(QString, outcome);
        card("1001", "张三");
        book("B1", "三体", 3, lent, state);
        const Reader reader = Loans::acceptCard("1001");
        const QString refused = refusal([&] {
            const LoanBook accepted = Loans::acceptBook(reader, "B1", Loans::Route::Typed);
            QCOMPARE(accepted.title, QString("三体"));
            QCOMPARE(accepted.price.toShortest(), QString("12.5"));
            Loans::lend("1001", "B1");
        });
        QCOMPARE(refused.isEmpty() ? row("select jcs,tszt from tszk where txm='B1'") : refused,
                 outcome);
    }

    void pickedBookMissingOrLentOutIsWordedForThePicker()
    {
        card("1001", "张三");
        book("B1", "三体", 1, 1, "C");
        const Reader reader = Loans::acceptCard("1001");
        QCOMPARE(refusal([&] { Loans::acceptBook(reader, "B1", Loans::Route::Picked); }),
                 QString("提示:图书总库中该图书已被出借！"));
        QCOMPARE(refusal([&] { Loans::acceptBook(reader, "gone", Loans::Route::Picked); }),
                 QString("提示:图书总库中该图书已被出借！"));
    }

    void loanRowAndCounters()
    {
        Clock::setToday(QDate(2024, 1, 31));
        card("1001", "张三");
        book("B1", "三体", 2);
        book("B2", "球状闪电", 2);
        QVERIFY(Sql::scalar("select jsbs from cardk where kno='1001'").isNull());
        const Loan loan = Loans::lend("1001", "B1");
        QCOMPARE(loan.due, QDate(2024, 3, 1));
        QCOMPARE(row("select kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs from dzjsmxk where iid=:i",
                     {loan.id}),
                 QString("1001|B1|2024-01-31|测试员|2024-03-01||N|0"));
        QCOMPARE(row("select jsbs from cardk where kno='1001'"), QString("1"));
        Loans::lend("1001", "B2");
        QCOMPARE(row("select jsbs from cardk where kno='1001'"), QString("2"));
        QCOMPARE(row("select jcs,tszt from tszk where txm='B2'"), QString("1|W"));
    }

    void saveRefusals()
    {
        card("1001", "张三", "A", "Y", Fixture::today().addDays(-1));
        card("1002", "李四", "A", "Y", Fixture::today());
        card("1003", "王五", "Q");
        book("B1", "三体", 5);
        QCOMPARE(refusal([] { Loans::lend("1001", "B1"); }),
                 QString(":您的借阅证到期了，请充值才能使用！"));
        QCOMPARE(refusal([] { Loans::lend("1002", "B1"); }), QString());
        QCOMPARE(refusal([] { Loans::lend("1002", "B1"); }), QString("提示信息:读者已借此书!"));
        // Returned today (the return writes today into hsrq): not again today.
        Sql::run("update dzjsmxk set hsjsr='甲', hsrq=:d where kno='1002'", {Fixture::today()});
        QCOMPARE(refusal([] { Loans::lend("1002", "B1"); }), QString("提示信息:读者今天借过此书!"));
        Clock::setToday(Fixture::today().addDays(1));
        Sql::run("update cardk set yxrq='2027-12-31' where kno='1002'");
        QCOMPARE(refusal([] { Loans::lend("1002", "B1"); }), QString());
        QCOMPARE(refusal([] { Loans::lend("1003", "B1"); }),
                 QString(":系统借书证等级还没有设置好！"));
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk"), 2);
    }

    void aFailedWriteLeavesNothingBehind()
    {
        card("1001", "张三");
        book("B1", "三体", 2);
        // The title's counter cannot be written: nothing of the loan may stay.
        Sql::run("create trigger refuse_jcs before update of jcs on tszk "
                 "begin select raise(abort, 'disk full'); end");
        bool failed = false;
        try {
            Loans::lend("1001", "B1");
        } catch (const StoreError& e) {
            failed = e.message().contains("disk full");
        }
        QVERIFY(failed);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk"), 0);
        QVERIFY(Sql::scalar("select jsbs from cardk where kno='1001'").isNull());
    }

    void secondOpenLoanOfATitleIsRefusedByTheStore()
    {
        card("1001", "张三");
        book("B1", "三体", 5);
        Loans::lend("1001", "B1");
        QVERIFY_THROWS_EXCEPTION(
            StoreError,
            Sql::run("insert into dzjsmxk(kno,txm,jsrq) values('1001','B1','2026-12-09')"));
        // Closed loans of the same title are history, any number of them.
        Sql::run("update dzjsmxk set hsjsr='甲'");
        Sql::run("insert into dzjsmxk(kno,txm,jsrq,hsjsr) values('1001','B1','2026-12-01','甲')");
    }

    void bookEntryFindsBarcodePrefixOrTitleFragment_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("barcode") << "TS0001"
                                 << "TS0001";
        QTest::newRow("barcode prefix, several") << "TS000"
                                                 << "several";
        QTest::newRow("barcode is case-sensitive") << "ts0001"
                                                   << "none";
        QTest::newRow("long fragment once") << "体：黑暗"
                                            << "TS0002";
        QTest::newRow("short fragment once") << "闪电"
                                             << "TS0003";
        QTest::newRow("fragment in two titles") << "三体"
                                                << "several";
        QTest::newRow("latin fragment, case counts") << "Rust"
                                                     << "TS0004";
        QTest::newRow("latin fragment, other case") << "rust"
                                                    << "none";
        QTest::newRow("short latin fragment, other case") << "ru"
                                                          << "none";
        QTest::newRow("two characters at a title's end") << "闪电"
                                                         << "TS0003";
        QTest::newRow("two characters inside a title") << "ng"
                                                       << "TS0004";
        QTest::newRow("wildcard keeps its meaning") << "Pro_ramming"
                                                    << "TS0004";
        QTest::newRow("quote in the fragment") << "\"引号\""
                                               << "TS0005";
        QTest::newRow("barcode and title the same book") << "TS0005"
                                                         << "TS0005";
        QTest::newRow("nothing") << "不存在的书"
                                 << "none";
    }
    void bookEntryFindsBarcodePrefixOrTitleFragment()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        book("TS0001", "三体");
        book("TS0002", "三体：黑暗森林");
        book("TS0003", "球状闪电");
        book("TS0004", "Programming Rust");
        book("TS0005", "书名带\"引号\"的书 TS0005");
        QString got = "none";
        refusal([&] {
            const Match match = Loans::findBooks(typed);
            got = match.kind == Match::One ? match.key : "several";
        });
        QCOMPARE(got, found);
        // The same rows as the plain statement that scans every title.
        QStringList plain, listed;
        Sql scan("select txm from tszk where (txm like:txm) or (tsmc like:tsmc) order by txm");
        scan.bind(typed + "%").bind("%" + typed + "%").exec();
        while (scan.next())
            plain << scan.text("txm");
        const Listing listing = Loans::matchingBooks(typed);
        Sql q(listing.statement + " order by txm");
        q.bindAll(listing.values).exec();
        while (q.next())
            listed << q.text("txm");
        QCOMPARE(listed, plain);
    }

    void titleIndexFollowsTheTitles()
    {
        book("B1", "三体全集");
        Sql::run("update tszk set tsmc='球状闪电' where txm='B1'");
        QCOMPARE(refusal([] { Loans::findBooks("三体全"); }),
                 QString("借书提示:您输入的条形码不存在，请确定后重新输入。"));
        QCOMPARE(Loans::findBooks("球状闪").key, QString("B1"));
        Sql::run("delete from tszk where txm='B1'");
        book("B2", "球状闪电二");
        QCOMPARE(Loans::findBooks("球状闪").key, QString("B2"));
        QCOMPARE(Fixture::count("select count(*) from tszk_title"), 1);
        // The two-character pairs follow the same way.
        QCOMPARE(Loans::findBooks("闪电").key, QString("B2"));
        Sql::run("update tszk set tsmc='三体' where txm='B2'");
        QCOMPARE(refusal([] { Loans::findBooks("闪电"); }),
                 QString("借书提示:您输入的条形码不存在，请确定后重新输入。"));
        QCOMPARE(Loans::findBooks("三体").key, QString("B2"));
        Sql::run("delete from tszk where txm='B2'");
        QCOMPARE(Fixture::count("select count(*) from tszk_bigram"), 0);
    }

    void lookUpsUseIndexes()
    {
        // Every look-up of the desk must find its rows through an index: with a million
        // titles and millions of loans a scan is seconds per scanned barcode.
        const QList<Listing> lookUps{
            {"select kno from cardk where (sfyx=\"Y\") and Kno like:Kno limit 2", {"10%"}},
            {"select * from cardk where kno=:kno", {"1"}},
            {"select kno from gsb where kno= :kno  and gsbz= :gsbz", {"1", "是"}},
            {"select yjsbs from jykdjk where kdj=:kdj and km=:km", {"A", "借阅证"}},
            Loans::openLoans("1"),
            Loans::matchingBooks("TS0001"),
            Loans::matchingBooks("三体"),
            {"select bs,jcs from tszk where txm=:txm", {"T"}},
            {"select count(*) as expr1001 from cardk where yxrq<:yxrq1 and kno= :kno1",
             {"2026-12-09", "1"}},
            {"select iid from dzjsmxk where (kno=:tj)and(txm=:tj1)and(hsjsr=\"\")", {"1", "T"}},
            {"select iid from dzjsmxk where (kno=:tj)and(txm=:tj1)and(hsrq=:tj2)",
             {"1", "T", "2026-12-09"}},
            {"update tszk set jcs=coalesce(jcs,0)+1 where txm=:txm", {"T"}},
            {"update cardk set jsbs=coalesce(jsbs,0)+1 where Kno=:Kno", {"1"}},
        };
        for (const Listing& lookUp : lookUps) {
            Sql plan("explain query plan " + lookUp.statement);
            plan.bindAll(lookUp.values).exec();
            while (plan.next()) {
                const QString detail = plan.text("detail");
                QVERIFY2(!detail.startsWith("SCAN") || detail.contains("VIRTUAL TABLE"),
                         qPrintable(lookUp.statement + " -> " + detail));
            }
        }
    }
};

LIBRARY_TEST(LoansTest)
#include "loanstest.moc"
