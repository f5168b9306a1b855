#include "data/dialect.h"
#include "data/database.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QSqlQuery>
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
        QTest::addColumn<QString>("blank"); // "1" for each parameter bound to a blank
        QTest::addColumn<QString>("expected");
        QTest::newRow("double-quoted literal") << "select * from cardk where (sfyx=\"Y\") "
                                               << ""
                                               << "select * from cardk where (sfyx='Y') ";
        QTest::newRow("parameter glued to like")
            << "select * from tszk where txm like:txm or tsmc like:tsmc"
            << ""
            << "select * from tszk where txm like ? or tsmc like ?";
        QTest::newRow("odd parameter name") << "values(:tj0,:tj1,:3tj)"
                                            << ""
                                            << "values(?,?,?)";
        QTest::newRow("blank comparison")
            << "select * from dzjsmxk where kno=:tj0 and hsjsr=\"\""
            << ""
            << "select * from dzjsmxk where kno=? and (hsjsr IS NULL OR hsjsr = '')";
        QTest::newRow("not blank") << "select * from tsflm where jlm<>\"\" "
                                   << ""
                                   << "select * from tsflm where (jlm IS NOT NULL AND jlm <> '') ";
        QTest::newRow("blank written by update")
            << "update dzjsmxk set hsjsr=\"\" where hsjsr=''"
            << ""
            << "update dzjsmxk set hsjsr=NULL where (hsjsr IS NULL OR hsjsr = '')";
        QTest::newRow("quote inside a literal") << "select 'it''s'"
                                                << ""
                                                << "select 'it''s'";
        QTest::newRow("colon inside a literal") << "select \"a:b\""
                                                << ""
                                                << "select 'a:b'";
        QTest::newRow("parameter that is not blank") << "select * from cardk where kno=:kno"
                                                     << "0"
                                                     << "select * from cardk where kno=?";
        QTest::newRow("blank parameter in =")
            << "select * from jykdjk where km=:km"
            << "1"
            << "select * from jykdjk where (km IS NULL OR km = '')";
        QTest::newRow("blank parameter after a space")
            << "select * from tsflm where flmc= :flmc and dldm=:d"
            << "10"
            << "select * from tsflm where (flmc IS NULL OR flmc = '') and dldm=?";
        QTest::newRow("blank parameter in <>")
            << "select * from cardk where km<>:km or dz != :dz"
            << "11"
            << "select * from cardk where (km IS NOT NULL AND km <> '') or "
               "(dz IS NOT NULL AND dz <> '')";
        QTest::newRow("blank assigned by update is written")
            << "update cardk set dzm=:a, km = :b where kno=:c"
            << "110"
            << "update cardk set dzm=?, km = ? where kno=?";
        QTest::newRow("blank compared in an update's where")
            << "update cardk set dzm=:a where kno=:c"
            << "11"
            << "update cardk set dzm=? where (kno IS NULL OR kno = '')";
        QTest::newRow("blank inserted") << "insert into cardk(kno,dzm) values(:a,:b)"
                                        << "01"
                                        << "insert into cardk(kno,dzm) values(?,?)";
        QTest::newRow("blank compared in an insert's select")
            << "insert into gsb(kno) select kno from cardk where dzm=\"\" and km=:k"
            << "1"
            << "insert into gsb(kno) select kno from cardk where (dzm IS NULL OR dzm = '') and "
               "(km IS NULL OR km = '')";
    }
    void translation()
    {
        QFETCH(QString, statement);
        QFETCH(QString, blank);
        QFETCH(QString, expected);
        QList<bool> blanks;
        for (const QChar c : blank)
            blanks << (c == QChar('1'));
        QCOMPARE(Dialect::translate(statement, blanks).sql, expected);
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

    void writtenColumns_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("insert with columns") << "insert into cardk(kno, dzm,yj) values(:a,:b, 3)"
                                             << "cardk" << QStringList{"kno", "dzm"};
        QTest::newRow("insert by position") << "insert into cwk values(:a,:b,:c,:d)"
                                            << "cwk" << QStringList{"srje", "zcje", "szyy", "fsrq"};
        QTest::newRow("an expression writes no column")
            << "insert into cwk(srje,szyy) values(:a+1,:b)"
            << "cwk" << QStringList{"", "szyy"};
        QTest::newRow("update set and where") << "update cardk set dzm=:a,tel = :b where kno=:c"
                                              << "cardk" << QStringList{"dzm", "tel", ""};
        QTest::newRow("literal with a comma") << "update cardk set dz='a,b', dzm=:a"
                                              << "cardk" << QStringList{"dzm"};
        QTest::newRow("select writes nothing") << "select * from cardk where dzm=:a"
                                               << "" << QStringList{""};
        QTest::newRow("insert from a select")
            << "insert into gsb(kno) select kno from cardk where dzm=:a"
            << "" << QStringList{""};
    }
    void writtenColumns()
    {
        QFETCH(QString, statement);
        QFETCH(QString, table);
        QFETCH(QStringList, writes);
        const Dialect::Translated t = Dialect::translate(statement);
        QCOMPARE(t.table, table);
        QCOMPARE(t.writes, writes);
    }

    // A blank parameter matches what a blank literal matches: null and an empty stored
    // text (as other tools write it); lending looks up `km=:km`, the tree `flmc= :flmc`.
    void blankParameterMatchesNullAndEmpty()
    {
        Sql::run("insert into cardk(kno,km,dzm) values(:a,:b,:c)", {"1", QString(), "甲"});
        QSqlQuery raw(Database::connection());
        QVERIFY(raw.exec("insert into cardk(kno,km,dzm) values('2','','乙')"));
        Sql::run("insert into cardk(kno,km,dzm) values(:a,:b,:c)", {"3", "学生", "丙"});
        const QString equal = "select count(*) from cardk where km=:km";
        const QString differ = "select count(*) from cardk where km<>:km";
        QCOMPARE(Fixture::count(equal, {QString("")}), 2);
        QCOMPARE(Fixture::count(equal, {QString()}), 2);
        QCOMPARE(Fixture::count(equal, {QVariant()}), 2);
        QCOMPARE(Fixture::count(equal, {"学生"}), 1);
        QCOMPARE(Fixture::count(differ, {QString("")}), 1);
        QCOMPARE(Fixture::count("select count(*) from cardk where km=\"\""), 2);
        QCOMPARE(Fixture::count("select count(*) from cardk where km<>''"), 1);
        // Mixed with other parameters, the positions stay right.
        QCOMPARE(Fixture::count("select count(*) from cardk where kno=:a and km= :b and dzm=:c",
                                {"2", "", "乙"}),
                 1);
    }

    // A comparison with a parameter that is not blank stays on the column's index.
    void comparisonKeepsItsIndex()
    {
        auto plan = [](const QString& statement, const QVariantList& values) {
            Sql q("explain query plan " + statement);
            q.bindAll(values).exec();
            QStringList details;
            while (q.next())
                details << q.text("detail");
            return details.join(" | ");
        };
        const QString byNumber = plan("select * from cardk where kno=:p", {"20260001"});
        QVERIFY2(byNumber.contains("USING INDEX"), qPrintable(byNumber));
        const QString open =
            plan("select * from dzjsmxk where kno=:k and hsjsr=:h", {"20260001", "张三"});
        QVERIFY2(open.contains("USING INDEX dzjsmxk_kno_hsjsr (kno=? AND hsjsr=?)"),
                 qPrintable(open));
        const QString unreturned =
            plan("select * from dzjsmxk where kno=:k and hsjsr=:h", {"20260001", ""});
        QVERIFY2(unreturned.contains("USING INDEX dzjsmxk_kno_hsjsr"), qPrintable(unreturned));
    }

    void boundValuesMustMatchTheParameters()
    {
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 Sql::run("select * from cardk where kno=:a", {"1", "2"}));
        QVERIFY_THROWS_EXCEPTION(StoreError, Sql::run("select * from cardk where kno=:a"));
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
