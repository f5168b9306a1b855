#include "desk/bookquery.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"

#include <QTest>

Q_DECLARE_METATYPE(BookQueryConditions)

// The catalogue query's statement: one line per condition in the desk's order, every
// typed text bound; and the corrections of a listed title.
class BookQueryTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList barcodes(const BookQueryConditions& c)
    {
        const BookQueryStatement s = BookQuery::statement(c);
        Sql q(s.text() + " order by txm");
        q.bindAll(s.values).exec();
        QStringList found;
        while (q.next())
            found << q.text("txm");
        return found;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void statementLines_data()
    {
        QTest::addColumn<BookQueryConditions>("conditions");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QVariantList>("values");
        BookQueryConditions c;
        QTest::newRow("none") << c << QStringList{"select * from tszk "} << QVariantList{};
        c.author = "张";
        c.publisher = "出版社";
        QTest::newRow("author and publisher")
            << c
            << QStringList{"select * from tszk ", "where tszk.zz like :zz",
                           " and tszk.cbsmc like :cbsmc"}
            << QVariantList{"%张%", "%出版社%"};
        c = {};
        c.pages = 200;
        QTest::newRow("pages only")
            << c << QStringList{"select * from tszk ", "where tszk.tsym=:tj3"} << QVariantList{200};
        c.catalogued = QDate(2008, 12, 11);
        QTest::newRow("cataloguing date and pages")
            << c
            << QStringList{"select * from tszk ", "where tszk.bmrq=:tj1", " and tszk.tsym=:tj3"}
            << QVariantList{QDate(2008, 12, 11), 200};
        c = {};
        c.shelf = "A-01";
        c.secondLevelCode = "I24";
        c.barcode = "B00";
        c.firstLevel = "I";
        QTest::newRow("begins and equals in table order")
            << c
            << QStringList{"select * from tszk ", "where tszk.mxflm like :mxflm",
                           " and tszk.txm like :txm", " and tszk.flmc like :flmc",
                           " and tszk.fsjh=:fsjh"}
            << QVariantList{"I24%", "B00%", "I%", "A-01"};
    }
    void statementLines()
    {
        QFETCH(BookQueryConditions, conditions);
        QFETCH(QStringList, lines);
        QFETCH(QVariantList, values);
        const BookQueryStatement s = BookQuery::statement(conditions);
        QCOMPARE(s.lines, lines);
        QCOMPARE(s.values, values);
        const BookQueryStatement count = BookQuery::countStatement(conditions);
        QCOMPARE(count.lines.first(), QString("select count(*) from tszk "));
        QCOMPARE(count.lines.mid(1), lines.mid(1));
    }

    void matchesFindTheRowsTheyDescribe()
    {
        Sql::run("insert into tszk(txm,tsmc,zz,pyzjh,yz,tsym,bmrq,cbsj,fsjh) values"
                 "('B1','三国演义','罗贯中','SGYY','中文',512,'2026-12-09','2001-05-01','A1'),"
                 "('B2','三体','刘慈欣','ST','中文',302,'2026-12-08',null,'A1'),"
                 "('X1','Hamlet','Shakespeare','HAMLET','英文',200,'2026-12-09',null,'A10'),"
                 "('O''1','Ulysses','Joyce','U','西文',200,null,null,null)");
        QCOMPARE(barcodes({}), (QStringList{"B1", "B2", "O'1", "X1"}));
        const auto with = [](auto set) {
            BookQueryConditions c;
            set(c);
            return barcodes(c);
        };
        QCOMPARE(with([](auto& c) { c.title = "三"; }), (QStringList{"B1", "B2"}));
        QCOMPARE(with([](auto& c) { c.author = "慈"; }), QStringList{"B2"});
        // The mnemonic is stored in upper case and the match counts letter case.
        QCOMPARE(with([](auto& c) { c.mnemonic = "sgy"; }), QStringList());
        QCOMPARE(with([](auto& c) { c.mnemonic = "SGY"; }), QStringList{"B1"});
        QCOMPARE(with([](auto& c) { c.language = "西文"; }), QStringList{"O'1"});
        QCOMPARE(with([](auto& c) { c.shelf = "A1"; }), (QStringList{"B1", "B2"}));
        QCOMPARE(with([](auto& c) { c.pages = 200; }), (QStringList{"O'1", "X1"}));
        QCOMPARE(with([](auto& c) { c.catalogued = QDate(2026, 12, 9); }),
                 (QStringList{"B1", "X1"}));
        QCOMPARE(with([](auto& c) { c.published = QDate(2001, 5, 1); }), QStringList{"B1"});
        // A quote is a character of the text, in every text condition.
        QCOMPARE(with([](auto& c) { c.barcode = "O'"; }), QStringList{"O'1"});
        QCOMPARE(with([](auto& c) {
                     c.title = "'";
                     c.author = "'";
                 }),
                 QStringList());
        QCOMPARE(BookQuery::count([] {
                     BookQueryConditions c;
                     c.pages = 200;
                     return c;
                 }()),
                 2);
    }

    void correctionsWriteOnlyTheEditedColumns()
    {
        Seed::book({.barcode = "B1", .copies = 2});
        // A loan taken meanwhile: the copies on loan are not written back.
        Sql::run("update tszk set jcs=1, tszt='W', tsym=100 where txm='B1'");
        BookQuery::correct("B1", {{"zz", "施耐庵"}, {"tsym", "320"}, {"bmrq", "2026/1/5"}});
        Sql q("select * from tszk where txm='B1'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("zz"), QString("施耐庵"));
        QCOMPARE(q.integer("tsym"), 320);
        QCOMPARE(q.text("bmrq"), QString("2026-01-05"));
        QCOMPARE(q.integer("jcs"), 1);
        QCOMPARE(q.text("tsmc"), QString("红楼梦"));

        const auto refusal = [](const QMap<QString, QString>& changes) {
            try {
                BookQuery::correct("B1", changes);
            } catch (const Refused& r) {
                return r.text() + "@" + r.box();
            }
            return QString();
        };
        QCOMPARE(refusal({{"cbsj", "2026-13-01"}}), QString("日期格式错误!@cbsj"));
        QCOMPARE(refusal({{"tsym", "多"}}), QString("请输入数字！@tsym"));
        QVERIFY(!refusal({{"txm", "B9"}}).isEmpty());
        QCOMPARE(Fixture::count("select count(*) from tszk where txm='B1'"), 1);
    }
};

LIBRARY_TEST(BookQueryTest)
#include "bookquerytest.moc"
