#include "desk/operators.h"
#include "data/passwords.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Operator accounts: the superuser stays as he is, the grade chosen is the grade
// stored, passwords are hashes that verify, and a refused save writes nothing.
class OperatorsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QString attempt(const std::function<void()>& work)
    {
        try {
            Transaction transaction;
            work();
            transaction.commit();
            return {};
        } catch (const Refused& refused) {
            return refused.caption() + ":" + refused.text() + ":" + refused.box();
        } catch (const Operators::NotSaved&) {
            return "not saved";
        } catch (const ActionCancelled&) {
            return "cancelled";
        }
    }
    static QString row(const QString& code)
    {
        Sql q("select * from userk where loginuser=:a");
        q.bind(code).exec();
        return q.first() ? q.text("name") + "/" + q.text("dj") : QString();
    }
    static QString hashOf(const QString& code)
    {
        return Sql::scalar("select passw from userk where loginuser=:a", {code}).toString();
    }
    static Operators::AskPassword answer(const QString& password)
    {
        return [password] { return password; };
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void addStoresTheGradeChosenAndAHash()
    {
        QCOMPARE(attempt([] {
                     Operators::add({" OP1", "张三", "C"}, answer("pass123"));
                 }),
                 QString());
        QCOMPARE(row("OP1"), QString("张三/C"));
        const QString stored = hashOf("OP1");
        QVERIFY(stored != "pass123");
        QVERIFY(Passwords::verify(stored, "pass123"));
        QVERIFY(!Passwords::verify(stored, "pass12"));
    }

    void addRefusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no code") << " "
                                 << "张三"
                                 << "1"
                                 << "保存提示:请先输入用户代号!:DBEdit1";
        QTest::newRow("no name") << "OP1"
                                 << ""
                                 << "1"
                                 << "保存提示:请先输入用户名!:DBEdit3";
        QTest::newRow("no password") << "OP1"
                                     << "张三"
                                     << ""
                                     << ":密码为空，记录没有保存:";
        QTest::newRow("code in use") << "TEST"
                                     << "张三"
                                     << "1"
                                     << "not saved";
        QTest::newRow("the superuser's code") << "admin"
                                              << "张三"
                                              << "1"
                                              << "not saved";
    }
    void addRefusals()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        bool asked = false;
        const auto ask = [&] {
            asked = true;
            return password;
        };
        QCOMPARE(attempt([&] { Operators::add({code, name, "B"}, ask); }), refusal);
        QCOMPARE(asked, !refusal.contains("DBEdit"));
        QCOMPARE(Fixture::count("select count(*) from userk"), 2);
        QCOMPARE(row("TEST"), QString("测试员/A"));
    }

    void theSuperuserIsNeitherEditedNorDeleted()
    {
        for (const QString& code : {QString("ADMIN"), QString("admin")}) {
            QCOMPARE(attempt([&] {
                         Operators::update(code, {"ADMIN", "别人", "B"});
                     }),
                     QString(":超级用户不能被修改！:"));
            QCOMPARE(attempt([&] { Operators::remove(code, [](auto, auto) { return true; }); }),
                     QString(":超级用户不能删除！:"));
        }
        QCOMPARE(row("ADMIN"), QString("管理员/A"));
        QVERIFY(Fixture::count("select count(*) from usergrantk where loginuser='ADMIN'") > 0);
    }

    void aChangedCodeTakesTheGrantsAlong()
    {
        Sql::run("insert into userk values('OP','张三','x','C')");
        Sql::run("insert into usergrantk values('OP','kpgl','借书证管理')");
        Sql::run("insert into usergrantk values('NEW','bmgl','图书管理')"); // left by someone
        QCOMPARE(attempt([] { Operators::update("OP", {"NEW", "张三丰", "d"}); }), QString());
        QCOMPARE(row("NEW"), QString("张三丰/D"));
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='NEW'"), 1);
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP'"), 0);

        QCOMPARE(attempt([] {
                     Operators::update("NEW", {"TEST", "张三丰", "D"});
                 }),
                 QString("not saved"));
        QCOMPARE(row("NEW"), QString("张三丰/D"));
    }

    void deleteAsksAndTakesTheGrants()
    {
        Sql::run("insert into userk values('OP','张三','x','C')");
        Sql::run("insert into usergrantk values('OP','kpgl','借书证管理')");
        QString asked;
        QCOMPARE(attempt([&] {
                     Operators::remove("OP", [&](const QString& caption, const QString& text) {
                         asked = caption + ":" + text;
                         return false;
                     });
                 }),
                 QString("cancelled"));
        QCOMPARE(asked, QString("删除提示:您确定要删除该用户吗？"));
        QCOMPARE(row("OP"), QString("张三/C"));
        QCOMPARE(attempt([] { Operators::remove("OP", [](auto, auto) { return true; }); }),
                 QString());
        QCOMPARE(row("OP"), QString());
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='OP'"), 0);
    }

    void passwordOfTheSuperuserEndsTheLoginWarning()
    {
        QVERIFY(Passwords::verify(hashOf("ADMIN"), Passwords::deliveredSuperuserPassword));
        QCOMPARE(attempt([] { Operators::setPassword("ADMIN", ""); }),
                 QString(":密码为空，此记录没有被修改密码！:"));
        QVERIFY(Passwords::verify(hashOf("ADMIN"), Passwords::deliveredSuperuserPassword));
        QCOMPARE(attempt([] { Operators::setPassword("ADMIN", "7654321"); }), QString());
        QVERIFY(!Passwords::verify(hashOf("ADMIN"), Passwords::deliveredSuperuserPassword));
        QVERIFY(Passwords::verify(hashOf("ADMIN"), "7654321"));
    }

    void ownPasswordChange_data()
    {
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("wrong old") << "tset"
                                   << "new"
                                   << "new"
                                   << "修改口令:您的旧口令错误，请重输旧口令:Edit1";
        QTest::newRow("old is the stored hash") << "#hash"
                                                << "new"
                                                << "new"
                                                << "修改口令:您的旧口令错误，请重输旧口令:Edit1";
        QTest::newRow("mismatch") << "test"
                                  << "new"
                                  << "neu"
                                  << "修改口令:新口令与确定新口令不符，请重输！:Edit2";
        QTest::newRow("empty") << "test"
                               << ""
                               << ""
                               << "修改口令:密码不能为空！:Edit2";
        QTest::newRow("changed") << "test"
                                 << "new"
                                 << "new"
                                 << "";
    }
    void ownPasswordChange()
    {
        QFETCH(QString, old);
        QFETCH(QString, fresh);
        QFETCH(QString, confirmation);
        QFETCH(QString, refusal);
        if (old == "#hash")
            old = hashOf("TEST");
        QCOMPARE(attempt([&] { Operators::changeOwnPassword("TEST", old, fresh, confirmation); }),
                 refusal);
        QCOMPARE(Passwords::verify(hashOf("TEST"), "test"), !refusal.isEmpty());
        QCOMPARE(Passwords::verify(hashOf("TEST"), "new"), refusal.isEmpty());
    }
};

LIBRARY_TEST(OperatorsTest)
#include "operatorstest.moc"
