#include "desk/disposal.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QTest>

// Old-book disposal: the checks in the desk's order, the copies that may go, what is
// written for a scrapped and for a sold title, and the disposal query.
class DisposalTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static DisposalRequest request(const QString& quantity, const QString& method = "图书报废",
                                   const QString& amount = QString())
    {
        return {"B1", "三国演义", quantity, method, amount, "破损"};
    }
    // What the action came to: "done", the popup's text, or the refusal as caption:text.
    static QString run(const DisposalRequest& r)
    {
        QString result;
        try {
            Transaction t;
            const Disposal::Outcome outcome = Disposal::dispose(r);
            t.commit();
            result = outcome.done ? "done" : outcome.shortage;
        } catch (const Refused& refused) {
            result = refused.caption() + ":" + refused.text();
        }
        return result;
    }
    static QString book()
    {
        Sql q("select bs,jcs,tszt from tszk where txm='B1'");
        q.exec();
        if (!q.next())
            return "gone";
        return QString("%1/%2/%3").arg(q.integer("bs")).arg(q.integer("jcs")).arg(q.text("tszt"));
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void onlyCopiesNotOnLoanGoAndAPartialDisposalSettlesTheState()
    {
        Seed::book({.barcode = "B1", .title = "三国演义", .copies = 3, .lent = 1});
        QCOMPARE(run(request("3")), QString("该书现有2,已借出1\n不够处理，请重输！"));
        QCOMPARE(run(request("4")), QString("图书总库的书只有3\n,不够处理，请重输！"));
        QCOMPARE(Fixture::count("select count(*) from jsclk"), 0);
        QCOMPARE(run(request("2")), QString("done"));
        // One copy left and it is on loan: every copy is out.
        QCOMPARE(book(), QString("1/1/C"));
        Sql q("select * from jsclk");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("tsmc"), QString("三国演义"));
        QCOMPARE(q.text("clfs"), QString("图书报废"));
        QCOMPARE(q.integer("clbs"), 2);
        QCOMPARE(q.money("clje").toShortest(), QString("0"));
        QCOMPARE(q.date("clrq"), Fixture::today());
        QCOMPARE(q.text("cljsr"), QString(Fixture::operatorName));
        QCOMPARE(q.text("bz"), QString("破损"));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }

    void theLastCopiesRemoveTheTitleWithoutAReversal()
    {
        Seed::book(
            {.barcode = "B1", .title = "三国演义", .copies = 2, .price = Money::fromText("20")});
        QCOMPARE(run(request("2", "降价销售", "12.5")), QString("done"));
        QCOMPARE(book(), QString("gone"));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk where srje=12.5 and szyy='图书降价销售' "
                                "and zcje is null and fsrq='2026-12-09'"),
                 1);
        // Still listed, with the title the disposal kept.
        Disposal::Selection all;
        Sql q(all.statement());
        q.bindAll(all.values()).exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("txm") + " " + q.text("tsmc"), QString("B1 三国演义"));
        QVERIFY(!q.next());
    }

    void scrappingBooksNoMoneyWhateverWasTyped()
    {
        Seed::book({.barcode = "B1", .copies = 3});
        QCOMPARE(run(request("1", "图书报废", "30")), QString("done"));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        QCOMPARE(Sql::scalar("select clje from jsclk").toDouble(), 0.0);
        QCOMPARE(book(), QString("2/0/W"));

        // A second disposal of the barcode is refused and changes nothing.
        QCOMPARE(run(request("1", "降价销售", "5")), QString(":已处理旧书存在此条形码，不能处理"));
        QCOMPARE(book(), QString("2/0/W"));
        QCOMPARE(Fixture::count("select count(*) from jsclk"), 1);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<QStringList>("boxes"); // barcode, quantity, method, amount
        QTest::addColumn<QString>("refusal");
        QTest::newRow("amount") << QStringList{"B1", "1", "降价销售", "十二元"} << ":金额格式不对";
        QTest::newRow("negative amount")
            << QStringList{"B1", "1", "降价销售", "-3"} << ":金额格式不对";
        QTest::newRow("barcode")
            << QStringList{"", "1", "图书报废", ""}
            << "旧书处理提示:您必须输入被处理的图书的条形码后，才能处理该图书。";
        QTest::newRow("quantity") << QStringList{"B1", "", "图书报废", ""}
                                  << "旧书处理提示:您必须输入处理该图书的数量后，才能处理该图书。";
        for (const char* quantity : {"0", "-1", "两本", "1.5"})
            QTest::newRow(quantity) << QStringList{"B1", quantity, "图书报废", ""}
                                    << QString("提示:") + Disposal::notANumberText;
        QTest::newRow("method") << QStringList{"B1", "1", "", ""}
                                << "旧书处理提示:您必须输入处理图书的处理方式后，才能处理该图书。";
        QTest::newRow("sale without amount")
            << QStringList{"B1", "1", "降价销售", ""} << "旧书处理提示:请输入处理金额。";
        QTest::newRow("unknown barcode")
            << QStringList{"B9", "1", "图书报废", ""} << "旧书处理提示:没有查找到此条形码。";
    }
    void checksInOrder()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, refusal);
        Seed::book({.barcode = "B1", .copies = 3});
        QCOMPARE(run({boxes[0], "三国演义", boxes[1], boxes[2], boxes[3], ""}), refusal);
        QCOMPARE(book(), QString("3/0/W"));
        QCOMPARE(Fixture::count("select count(*) from jsclk"), 0);
    }

    void aStoreFailureRemovingTheTitleLeavesNothingWritten()
    {
        Seed::book({.barcode = "B1", .copies = 2});
        // The statements: copies, duplicate look-up, disposal row, income, delete.
        Sql::failAt(5);
        QVERIFY(!Action::run(nullptr, [] { Disposal::dispose(request("2", "降价销售", "8")); }));
        Sql::resetFault();
        QCOMPARE(Messages::takeShown().size(), 1);
        QCOMPARE(Fixture::count("select count(*) from jsclk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        QCOMPARE(book(), QString("2/0/W"));
    }

    void theQueryTakesADayOrARange()
    {
        for (const auto& [barcode, day] : QList<QPair<QString, QString>>{{"D1", "2008-11-30"},
                                                                         {"D2", "2008-12-01"},
                                                                         {"D3", "2008-12-15"},
                                                                         {"D4", "2008-12-31"},
                                                                         {"D5", "2009-01-01"}})
            Sql::run("insert into jsclk(txm,tsmc,clfs,clbs,clje,clrq) "
                     "values(:a,:b,'图书报废',1,0,:c)",
                     {barcode, "书" + barcode, day});
        Sql::run("insert into tszk(txm,tsmc,pyzjh,bs) values('D3','书D3','ABC',1)");
        const auto listed = [](const QString& text, QDate from, QDate to = {}) {
            Disposal::Selection s{text, from, to};
            Sql q(s.statement() + " order by jsclk.txm");
            q.bindAll(s.values()).exec();
            QStringList found;
            while (q.next())
                found << q.text("txm");
            return found.join(',');
        };
        QCOMPARE(listed("", QDate(2008, 12, 1), QDate(2008, 12, 31)), QString("D2,D3,D4"));
        QCOMPARE(listed("", QDate(2008, 12, 1)), QString("D2"));
        QCOMPARE(listed("", {}), QString("D1,D2,D3,D4,D5"));
        QCOMPARE(listed("书D", {}), QString("D1,D2,D3,D4,D5"));
        QCOMPARE(listed("AB", {}), QString("D3"));
        QCOMPARE(listed("D5", {}), QString("D5"));
        QCOMPARE(listed("'", {}), QString());
    }
};

LIBRARY_TEST(DisposalTest)
#include "disposaltest.moc"
