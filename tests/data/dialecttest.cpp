#include "data/dialect.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// The statements are written as the desk writes them; these check that the store
// reads them with the desk's meaning.
class DialectTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void translation_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double-quoted literal") << "select * from cardk where (sfyx=\"Y\") "
                                               << "select * from cardk where (sfyx='Y') ";
        QTest::newRow("parameter glued to like")
            << "select * from tszk where txm like:txm or tsmc like:tsmc"
            << "select * from tszk where txm like ? or tsmc like ?";
        QTest::newRow("odd parameter name") << "values(:tj0,:tj1,:3tj)"
                                            << "values(?,?,?)";
        QTest::newRow("blank comparison") << "select * from dzjsmxk where kno=:tj0 and hsjsr=\"\""
                                          << "select * from dzjsmxk where kno=? and hsjsr IS NULL";
        QTest::newRow("not blank") << "select * from tsflm where jlm<>\"\" "
                                   << "select * from tsflm where jlm IS NOT NULL ";
        QTest::newRow("blank written by update")
            << "update dzjsmxk set hsjsr=\"\" where hsjsr=''"
            << "update dzjsmxk set hsjsr=NULL where hsjsr IS NULL";
        QTest::newRow("quote inside a literal") << "select 'it''s'"
                                                << "select 'it''s'";
        QTest::newRow("colon inside a literal") << "select \"a:b\""
                                                << "select 'a:b'";
    }
    void translation()
    {
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        QCOMPARE(Dialect::translate(statement).sql, expected);
    }

    void blankAndNullAreOneValue()
    {
        Sql::run("insert into dzjsmxk(kno,txm,jsrq,hsrq,hsjsr,sfsh,xjcs) "
                 "values(:a,:b,:c,:d,:e,:f,:g)",
                 {"001", "B1", "2026-12-01", "2026-12-31", QString(""), "N", 0});
        Sql::run("insert into dzjsmxk(kno,txm,hsjsr) values(\"001\",\"B2\",\"\")");
        Sql::run("insert into dzjsmxk(kno,txm,hsjsr) values(\"001\",\"B3\",\"张三\")");
        QCOMPARE(Fixture::count("select count(*) as expr1001 from dzjsmxk where kno=:tj0 and "
                                "hsjsr=\"\"",
                                {"001"}),
                 2);
        QCOMPARE(Fixture::count("select count(*) as expr1001 from dzjsmxk where kno=:kno and "
                                "hsjsr is null",
                                {"001"}),
                 2);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk where hsjsr<>''"), 1);
    }

    void newCardIsValidAndFoundByPrefix()
    {
        Sql::run("insert into cardk(kno,kdj,dzm) values(:a,:b,:c)", {"20260001", "A", "李明"});
        Sql q("select * from cardk where (sfyx=\"Y\") and Kno like:Kno");
        q.bind("2026%").exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("SFYX"), QString("Y"));
        QVERIFY(q.isNull("jsbs"));
        // like is case-sensitive
        Sql::run("insert into tszk(txm,tsmc) values(:a,:b)", {"ab1", "x"});
        QCOMPARE(Fixture::count("select count(*) from tszk where txm like :t", {"AB%"}), 0);
        QCOMPARE(Fixture::count("select count(*) from tszk where txm like :t", {"ab%"}), 1);
    }

    void countOnEmptyTableIsZero()
    {
        Sql q("select count(*) as expr1001 from cardk ");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.integer("expr1001"), 0);
    }

    void duplicateGrantIsRejected()
    {
        Sql::run("insert into usergrantk(loginuser,funename,funcname) values(:a,:b,:c)",
                 {"U1", "kpcx", "x"});
        QVERIFY_THROWS_EXCEPTION(StoreError, Sql::run("insert into usergrantk(loginuser,funename,"
                                                      "funcname) values(:a,:b,:c)",
                                                      {"U1", "kpcx", "x"}));
    }

    void transactionRollsBack()
    {
        try {
            Transaction t;
            Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)", {1.0, "x", "2026-12-09"});
            Sql::run("insert into nosuchtable values(1)");
            t.commit();
        } catch (const StoreError&) {
        }
        QCOMPARE(Fixture::count("select count(*) from cwk"), 0);
    }
};

LIBRARY_TEST(DialectTest)
#include "dialecttest.moc"
