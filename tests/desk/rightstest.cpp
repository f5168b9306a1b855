#include "desk/rights.h"
#include "data/sql.h"
#include "desk/ask.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Granting and revoking rights: a function always brings its menu's group key, a key is
// held at most once, the superuser keeps his rights, and nobody else gets any by accident.
class RightsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    // Runs an operation as one action; returns the refusal text, "cancelled" or "".
    static QString attempt(const std::function<void()>& work)
    {
        try {
            Transaction transaction;
            work();
            transaction.commit();
            return {};
        } catch (const Refused& refused) {
            return refused.text();
        } catch (const ActionCancelled&) {
            return "cancelled";
        }
    }
    static QStringList keys(const QString& code)
    {
        QStringList list;
        for (const Rights::Entry& grant : Rights::grants(code))
            list << grant.key;
        list.sort();
        return list;
    }
    static QStringList catalogue()
    {
        QStringList list;
        for (const Rights::Entry& group : Rights::groups()) {
            list << group.key;
            for (const Rights::Entry& function : Rights::functions(group.key))
                list << function.key;
        }
        list.sort();
        return list;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into userk(loginuser,name,passw,dj) values('OP','张三','x','C')");
    }
    void cleanup() { fixture.reset(); }

    void aFunctionBringsItsGroupAndIsHeldOnce()
    {
        QCOMPARE(attempt([] { Rights::grantFunction("OP", "kpcx"); }), QString());
        QCOMPARE(keys("OP"), (QStringList{"kpcx", "kpgl"}));
        const auto grants = Rights::grants("OP");
        QCOMPARE(grants.first().caption, QString("借书证查询"));
        QCOMPARE(grants.last().caption, QString("借书证管理"));

        QCOMPARE(attempt([] { Rights::grantFunction("OP", "kpcx"); }),
                 QString("该用户已具有此项功能！"));
        QCOMPARE(attempt([] { Rights::grantFunction("OP", "N7"); }), QString());
        QCOMPARE(keys("OP"), (QStringList{"N7", "kpcx", "kpgl"}));
    }

    void aGroupAddsWhatIsMissingAndTwiceNothing()
    {
        QCOMPARE(attempt([] { Rights::grantFunction("OP", "N12"); }), QString());
        QCOMPARE(attempt([] { Rights::grantGroup("OP", "bmgl"); }), QString());
        const QStringList once = keys("OP");
        QCOMPARE(once, (QStringList{"N12", "bmcx", "bmgl", "gbccd", "jscl", "tsbm", "yjtscx"}));
        QCOMPARE(attempt([] { Rights::grantGroup("OP", "bmgl"); }), QString());
        QCOMPARE(keys("OP"), once);
        // "财务查询" is a group without functions: the group key alone.
        QCOMPARE(attempt([] { Rights::grantGroup("OP", "cwcx"); }), QString());
        QVERIFY(keys("OP").contains("cwcx"));
    }

    void grantAllReplacesByTheWholeCatalogue()
    {
        Sql::run("insert into usergrantk values('OP','stale','旧的')");
        QCOMPARE(attempt([] { Rights::grantAll("OP"); }), QString());
        QCOMPARE(keys("OP"), catalogue());
        QCOMPARE(catalogue().size(), 8 + 32);
    }

    void theSuperuserKeepsHisRights_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("as stored") << "ADMIN";
        QTest::newRow("lower case with blanks") << " admin ";
        QTest::newRow("mixed case") << "Admin";
    }
    void theSuperuserKeepsHisRights()
    {
        QFETCH(QString, typed);
        const QStringList before = keys("ADMIN");
        QVERIFY(before.contains("N13"));
        QCOMPARE(attempt([&] { Rights::revoke(typed, "N13"); }),
                 QString("超级用户权限不能被删除！"));
        QCOMPARE(attempt([&] { Rights::revokeAll(typed); }), QString("超级用户权限不能被删除！"));
        QCOMPARE(keys("ADMIN"), before);
        // Read as the login reads it, the typed code is the superuser's.
        QCOMPARE(Rights::grants(typed).size(), before.size());
    }

    void revokingAGroupLeavesItsFunctions()
    {
        attempt([] { Rights::grantGroup("OP", "bmgl"); });
        QCOMPARE(attempt([] { Rights::revoke("OP", "bmgl"); }), QString());
        QVERIFY(!keys("OP").contains("bmgl"));
        QVERIFY(keys("OP").contains("tsbm"));
        QCOMPARE(attempt([] { Rights::revokeAll(" OP "); }), QString());
        QCOMPARE(keys("OP"), QStringList());
        QCOMPARE(keys("ADMIN"), catalogue()); // another operator's grants are untouched
    }

    void nothingIsGrantedToAnUnknownCode()
    {
        for (const QString& code : {QString("NOBODY"), QString(), QString("op")}) {
            QCOMPARE(attempt([&] { Rights::grantFunction(code, "kpcx"); }), QString("cancelled"));
            QCOMPARE(attempt([&] { Rights::grantGroup(code, "kpgl"); }), QString("cancelled"));
            QCOMPARE(attempt([&] { Rights::grantAll(code); }), QString("cancelled"));
        }
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser not in "
                                "(select loginuser from userk)"),
                 0);
    }

    void codesAndNames()
    {
        Sql::run("insert into userk(loginuser,name,passw,dj) values('ZZ ','李四','x','B')");
        QCOMPARE(Rights::operatorCodes(), (QStringList{"ADMIN", "OP", "TEST", "ZZ"}));
        QCOMPARE(Rights::operatorName("admin"), QString("管理员"));
        QCOMPARE(Rights::operatorName("O"), QString("张三"));
        QCOMPARE(Rights::operatorName(""), QString());
    }
};

LIBRARY_TEST(RightsTest)
#include "rightstest.moc"
