#include "desk/catalogue.h"
#include "data/sql.h"
#include "desk/bookstate.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QTest>

namespace {
const Ask yes = [](const QString&, const QString&) { return true; };
const Ask no = [](const QString&, const QString&) { return false; };

CatalogueEntry entry(const QString& barcode, const QString& price, const QString& copies)
{
    CatalogueEntry e;
    e.title = "三国演义";
    e.firstLevel = "I";
    e.barcode = barcode;
    e.searchNumber = "I242.4";
    e.language = "中文";
    e.format = "32开";
    e.pages = "512";
    e.price = price;
    e.copies = copies;
    e.room = "01";
    e.state = "图书未出借";
    e.mnemonic = "sgyy";
    return e;
}

struct LedgerRow {
    Money amount;
    QString reason;
};

QList<LedgerRow> ledger()
{
    QList<LedgerRow> rows;
    Sql q("select zcje,szyy,fsrq,srje from cwk order by rowid");
    q.exec();
    while (q.next()) {
        // Cataloguing books expenditure only, always today.
        const bool expenditureToday = q.isNull("srje") && q.date("fsrq") == Fixture::today();
        rows.append(
            {q.money("zcje"), expenditureToday ? q.text("szyy") : "not today's expenditure"});
    }
    return rows;
}

QString refusalOf(const std::function<void()>& work)
{
    try {
        Transaction transaction;
        work();
        transaction.commit();
    } catch (const Refused& refused) {
        return refused.text();
    } catch (const ActionCancelled&) {
        return "cancelled";
    }
    return QString();
}

void store(const CatalogueEntry& e)
{
    Transaction transaction;
    Catalogue::save(e, QString(), std::nullopt, yes);
    transaction.commit();
}

void clearLedger()
{
    Sql::run("delete from cwk");
}
} // namespace

// Cataloguing's save, correction and delete: what each writes to the book master, the
// publishers and the ledger, and what each refuses.
class CatalogueTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2026-01-01')");
    }
    void cleanup() { fixture.reset(); }

    void newTitleIsStoredAndItsPurchaseBooked()
    {
        store(entry("T001", "25.00", "3"));

        QCOMPARE(ledger().size(), 1);
        QCOMPARE(ledger()[0].amount, Money::fromText("75"));
        QCOMPARE(ledger()[0].reason, QString("购书费"));
        Sql q("select * from tszk where txm='T001'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.integer("bs"), 3);
        QVERIFY(!q.isNull("jcs"));
        QCOMPARE(q.integer("jcs"), 0);
        QCOMPARE(q.text("tszt"), QString("W"));
        QCOMPARE(q.text("sfsh"), QString("N"));
        QCOMPARE(q.text("pyzjh"), QString("SGYY"));
        QCOMPARE(q.text("bmr"), QString(Fixture::operatorName));
        QCOMPARE(q.date("bmrq"), Fixture::today());
        QCOMPARE(q.text("flmc"), QString("I"));
        QCOMPARE(q.text("scddbh"), QString("01"));
    }

    void newTitleWithoutPriceOrCopiesBooksNothing()
    {
        store(entry("T001", "", "3"));
        store(entry("T002", "12.00", ""));
        QCOMPARE(Fixture::count("select count(*) from tszk"), 2);
        QCOMPARE(ledger().size(), 0);
    }

    void knownBarcodeAddsTheTypedCopiesOnlyWhenTheOperatorAgrees()
    {
        store(entry("T001", "20.00", "2"));
        Sql::run("update tszk set jcs=2,tszt='C' where txm='T001'"); // both copies out
        clearLedger();
        const std::optional<NewPublisher> publisher = NewPublisher{"北京", "", "", "", ""};
        CatalogueEntry again = entry("T001", "99.00", "3");
        again.publisher = "人民文学出版社";

        QCOMPARE(refusalOf([&] { Catalogue::save(again, QString(), publisher, no); }),
                 QString("cancelled"));
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 0);
        QCOMPARE(Fixture::count("select bs from tszk"), 2);
        QCOMPARE(ledger().size(), 0);

        CatalogueSaved saved;
        QCOMPARE(refusalOf([&] { saved = Catalogue::save(again, QString(), publisher, yes); }),
                 QString());
        QCOMPARE(saved.kind, CatalogueSaved::Kind::CopiesAdded);
        QCOMPARE(saved.copies, 5);
        QCOMPARE(Fixture::count("select bs from tszk"), 5);
        // Bought at the stored price, not the typed one; free copies make it lendable.
        QCOMPARE(ledger().size(), 1);
        QCOMPARE(ledger()[0].amount, Money::fromText("60"));
        QCOMPARE(ledger()[0].reason, QString("购书费"));
        QCOMPARE(Sql::scalar("select tszt from tszk").toString(), QString("W"));
        QCOMPARE(Sql::scalar("select jcs from tszk").toInt(), 2);

        for (const char* copies : {"", "0"}) {
            again.copies = copies;
            QCOMPARE(refusalOf([&] { Catalogue::save(again, QString(), std::nullopt, yes); }),
                     QString("增加的图书本数必须是大于零的整数，请重新输入！"));
        }
    }

    void correctionBooksTheChangeOfMoneyTiedUp_data()
    {
        QTest::addColumn<QString>("priceBefore");
        QTest::addColumn<QString>("copiesBefore");
        QTest::addColumn<QString>("priceAfter");
        QTest::addColumn<QString>("copiesAfter");
        QTest::addColumn<QString>("amount"); // empty: no row
        QTest::addColumn<QString>("reason");
        QTest::newRow("more copies") << "10.00"
                                     << "2"
                                     << "10.00"
                                     << "5"
                                     << "30"
                                     << "购书费";
        QTest::newRow("fewer copies") << "10.00"
                                      << "5"
                                      << "10.00"
                                      << "2"
                                      << "-30"
                                      << "冲销";
        QTest::newRow("unchanged") << "10.00"
                                   << "2"
                                   << "10"
                                   << "2"
                                   << ""
                                   << "";
        QTest::newRow("dearer, more") << "10.00"
                                      << "2"
                                      << "12.00"
                                      << "5"
                                      << "40"
                                      << "购书费";
        QTest::newRow("cheaper") << "12.00"
                                 << "5"
                                 << "10.00"
                                 << "5"
                                 << "-10"
                                 << "冲销";
        QTest::newRow("price added") << ""
                                     << "2"
                                     << "8.50"
                                     << "2"
                                     << "17"
                                     << "购书费";
    }
    void correctionBooksTheChangeOfMoneyTiedUp()
    {
        QFETCH(QString, priceBefore);
        QFETCH(QString, copiesBefore);
        QFETCH(QString, priceAfter);
        QFETCH(QString, copiesAfter);
        QFETCH(QString, amount);
        QFETCH(QString, reason);
        store(entry("T001", priceBefore, copiesBefore));
        Sql::run("update tszk set jcs=1 where txm='T001'"); // lent while on screen
        clearLedger();

        CatalogueEntry corrected = entry("T001", priceAfter, copiesAfter);
        corrected.title = "三国演义（上）";
        CatalogueSaved saved;
        QCOMPARE(refusalOf([&] { saved = Catalogue::save(corrected, "T001", std::nullopt, no); }),
                 QString());
        QCOMPARE(saved.kind, CatalogueSaved::Kind::Corrected);

        const QList<LedgerRow> rows = ledger();
        if (amount.isEmpty()) {
            QCOMPARE(rows.size(), 0);
        } else {
            QCOMPARE(rows.size(), 1);
            QCOMPARE(rows[0].amount, Money::fromText(amount));
            QCOMPARE(rows[0].reason, reason);
        }
        Sql q("select * from tszk where txm='T001'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("tsmc"), QString("三国演义（上）"));
        QCOMPARE(q.integer("bs"), copiesAfter.toInt());
        QCOMPARE(q.money("tsjg"), Money::fromText(priceAfter));
        QCOMPARE(q.integer("jcs"), 1);
    }

    void correctionThatWouldBreakTheStoreIsRefusedAndWritesNothing_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("below on loan") << "T001"
                                       << "10"
                                       << "1"
                                       << "该图书有2本正在出借，图书本数不能少于2本！";
        QTest::newRow("barcode while lent") << "T009"
                                            << "10"
                                            << "3"
                                            << "该图书有2本正在出借，不能修改条形码！";
        QTest::newRow("no price") << "T001"
                                  << ""
                                  << "3"
                                  << "修改图书编目时必须输入图书的定价！";
        QTest::newRow("price not a number") << "T001"
                                            << "10元"
                                            << "3"
                                            << "图书的定价必须是数字，请重新输入！";
        QTest::newRow("no copies") << "T001"
                                   << "10"
                                   << ""
                                   << "修改图书编目时必须输入图书本数！";
        QTest::newRow("copies not a number") << "T001"
                                             << "10"
                                             << "3.5"
                                             << "图书本数必须是整数，请重新输入！";
    }
    void correctionThatWouldBreakTheStoreIsRefusedAndWritesNothing()
    {
        QFETCH(QString, barcode);
        QFETCH(QString, price);
        QFETCH(QString, copies);
        QFETCH(QString, refusal);
        store(entry("T001", "10.00", "3"));
        Sql::run("update tszk set jcs=2 where txm='T001'");
        clearLedger();

        CatalogueEntry corrected = entry(barcode, price, copies);
        corrected.title = "改过的书名";
        QCOMPARE(refusalOf([&] { Catalogue::save(corrected, "T001", std::nullopt, yes); }),
                 refusal);
        QCOMPARE(ledger().size(), 0);
        QCOMPARE(Sql::scalar("select tsmc from tszk where txm='T001'").toString(),
                 QString("三国演义"));
    }

    void correctionMayMoveAnIdleTitleToAFreeBarcodeOnly()
    {
        store(entry("T001", "10.00", "3"));
        store(entry("T002", "10.00", "3"));
        QCOMPARE(refusalOf(
                     [&] { Catalogue::save(entry("T002", "10", "3"), "T001", std::nullopt, yes); }),
                 QString("该条形码已被其他图书使用，请确定后重新输入。"));
        QCOMPARE(refusalOf(
                     [&] { Catalogue::save(entry("T003", "10", "3"), "T001", std::nullopt, yes); }),
                 QString());
        QCOMPARE(Fixture::count("select count(*) from tszk where txm in ('T002','T003')"), 2);
    }

    void correctionKeepsAStateOrLanguageTheBoxesDoNotName()
    {
        CatalogueEntry e = entry("T001", "10", "1");
        e.language = "英文";
        e.state = "图书被丢失";
        store(e);
        e.language.clear();
        e.state.clear();
        e.damaged = "Y";
        QCOMPARE(refusalOf([&] { Catalogue::save(e, "T001", std::nullopt, yes); }), QString());
        Sql q("select yz,tszt,sfsh from tszk");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("yz"), QString("英文"));
        QCOMPARE(q.text("tszt"), QString("D")); // a lost title stays lost
        QCOMPARE(q.text("sfsh"), QString("Y"));
    }

    void requiredBoxesAreReportedInTheirOrder()
    {
        // Filling the boxes one by one walks through the messages in order; an empty
        // first-level code comes before an empty title.
        CatalogueEntry e;
        const QList<std::pair<std::function<void()>, QString>> steps{
            {[&] {}, "所属分类不能为空！"},
            {[&] { e.firstLevel = "I"; }, "您必须输入图书名称才能保存！"},
            {[&] { e.title = "红楼梦"; }, "您必须输入图书条形码才能保存！"},
            {[&] { e.barcode = "T001"; }, "您必须输入图书检索号才能保存！"},
            {[&] { e.searchNumber = "I242"; }, "您必须输入该图书的开本才能保存！"},
            {[&] { e.format = "32开"; }, "您必须输入图书的页码信息才能保存！"},
            {[&] { e.pages = "100"; }, "您必须输入图书收藏地点编号才能保存！"},
            {[&] { e.room = "99"; }, "该图书室编号不存在！"},
            {[&] { e.room = "01"; }, QString()},
        };
        for (const auto& [fill, message] : steps) {
            fill();
            QCOMPARE(refusalOf([&] { Catalogue::save(e, QString(), std::nullopt, yes); }), message);
        }
        QCOMPARE(Fixture::count("select count(*) from tszk"), 1);
    }

    void newPublisherIsStoredWithItsDetailsAndMnemonic()
    {
        CatalogueEntry e = entry("T001", "", "1");
        e.publisher = "人民文学出版社";
        store(e);
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 0);

        e.barcode = "T002";
        Transaction transaction;
        Catalogue::save(
            e, QString(),
            NewPublisher{"北京朝内大街166号", "张三", "010-65252588", "100705", "rw@example.cn"},
            yes);
        transaction.commit();
        Sql q("select * from cbsxxk");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("cbsmc"), QString("人民文学出版社"));
        QCOMPARE(q.text("pyzjh"), QString("RMWXCBS"));
        QCOMPARE(q.text("cbsdz"), QString("北京朝内大街166号"));
        QCOMPARE(q.text("lxr"), QString("张三"));
        QCOMPARE(q.text("lxdh"), QString("010-65252588"));
        QCOMPARE(q.text("yzbm"), QString("100705"));
        QCOMPARE(q.text("EMail"), QString("rw@example.cn"));
        QVERIFY(!q.next());
        QCOMPARE(Catalogue::mnemonic("三国演义"), QString("SGYY"));
    }

    void failureWhileStoringLeavesNoRowAnywhere()
    {
        Sql::run("create trigger fail before insert on tszk begin "
                 "select raise(abort, 'disk full'); end");
        CatalogueEntry e = entry("T001", "25.00", "3");
        e.publisher = "中华书局";
        const bool done = Action::run(nullptr, [&] {
            Catalogue::save(e, QString(), NewPublisher{"北京", "", "", "", ""}, yes);
        });
        QVERIFY(!done);
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("保存提示"));
        QVERIFY2(shown[0].text.startsWith("图书编目不能保存！\n原因："), qPrintable(shown[0].text));
        QVERIFY(shown[0].text.contains("disk full"));
        QCOMPARE(Fixture::count("select count(*) from tszk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 0);
    }

    void deleteReversesTheStoredPurchase()
    {
        store(entry("T001", "20.00", "2"));
        store(entry("T002", "", "2"));
        clearLedger();

        QCOMPARE(refusalOf([&] { Catalogue::remove("T001", no); }), QString("cancelled"));
        QCOMPARE(Fixture::count("select count(*) from tszk"), 2);
        QCOMPARE(refusalOf([&] { Catalogue::remove("T001", yes); }), QString());
        QCOMPARE(refusalOf([&] { Catalogue::remove("T002", yes); }), QString());
        QCOMPARE(Fixture::count("select count(*) from tszk"), 0);
        QCOMPARE(ledger().size(), 1);
        QCOMPARE(ledger()[0].amount, Money::fromText("-40"));
        QCOMPARE(ledger()[0].reason, QString("冲销"));
    }

    void deleteOfATitleWithCopiesOutIsRefused()
    {
        store(entry("T001", "20.00", "2"));
        Sql::run("update tszk set jcs=1 where txm='T001'");
        clearLedger();
        QCOMPARE(refusalOf([&] { Catalogue::remove("T001", yes); }),
                 QString("该图书有1本正在出借，不能删除！"));
        QCOMPARE(Fixture::count("select count(*) from tszk"), 1);
        QCOMPARE(ledger().size(), 0);
    }

    void bookStateFollowsTheCopiesOut_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("onLoan");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("settled");
        QTest::newRow("last copy out") << "W" << 2 << 2 << "C";
        QTest::newRow("copy back") << "C" << 1 << 2 << "W";
        QTest::newRow("still free") << "W" << 0 << 1 << "W";
        QTest::newRow("lost stays") << "D" << 0 << 1 << "D";
        QTest::newRow("disposed stays") << "L" << 3 << 1 << "L";
    }
    void bookStateFollowsTheCopiesOut()
    {
        QFETCH(QString, state);
        QFETCH(int, onLoan);
        QFETCH(int, copies);
        QFETCH(QString, settled);
        Sql::run("insert into tszk(txm,tszt,jcs,bs) values('T001',:a,:b,:c)",
                 {state, onLoan, copies});
        BookState::settle("T001");
        QCOMPARE(Sql::scalar("select tszt from tszk").toString(), settled);
    }

    void loadShowsTheStoredTitleAsTyped()
    {
        CatalogueEntry e = entry("T001", "25.5", "3");
        e.published = "2001-3-4";
        e.damaged = "N";
        e.mnemonic = "SGYY";
        store(e);
        const std::optional<CatalogueEntry> loaded = Catalogue::load("T001");
        QVERIFY(loaded);
        e.price = "25.50";
        e.published = "2001-03-04";
        QCOMPARE(*loaded, e);
        QVERIFY(!Catalogue::load("T404"));
    }

    void stepWalksTheStoreOrder()
    {
        QVERIFY(!Catalogue::step(0, true));
        for (const char* barcode : {"B", "A", "C"})
            store(entry(barcode, "", "1"));
        QStringList forward;
        for (auto p = Catalogue::step(0, true); p; p = Catalogue::step(p->row, true))
            forward << p->barcode;
        QCOMPARE(forward, QStringList({"B", "A", "C"}));
        const auto last = Catalogue::step(0, false);
        QCOMPARE(last->barcode, QString("C"));
        QCOMPARE(Catalogue::step(last->row, false)->barcode, QString("A"));
    }
};

LIBRARY_TEST(CatalogueTest)
#include "cataloguetest.moc"
