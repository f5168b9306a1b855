#include "data/database.h"
#include "data/schema.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// A library kept by an earlier version of the program opens in this one with nothing lost:
// what the file lacks is added once, in one transaction.
class UpgradeTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    // Turns the fresh database into one written before copy cataloguing and title search.
    static void makeItOld()
    {
        Sql::run("insert into tszk(txm,tsmc,bs,jcs,tszt) values('B0001','红楼梦',1,0,'W')");
        for (const char* statement :
             {"drop table ljmbk", "drop trigger tszk_title_insert",
              "drop trigger tszk_title_update", "drop trigger tszk_title_delete",
              "drop table tszk_title", "drop trigger tszk_bigram_insert",
              "drop trigger tszk_bigram_update", "drop trigger tszk_bigram_delete",
              "drop table tszk_bigram", "alter table cardk drop column gzdw",
              "delete from subfunk where funcename='ljmb'",
              "delete from usergrantk where funename='ljmb'", "PRAGMA user_version=0"})
            Sql::run(statement);
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void aFreshDatabaseIsAtThisVersion()
    {
        QCOMPARE(Sql::scalar("PRAGMA user_version").toInt(), Schema::version);
    }

    void anOldDatabaseGetsWhatItLacksOnOpen()
    {
        makeItOld();
        Sql::run("insert into cardk(kno,dzm) values('1001','张三')");
        Database::close();
        QString error;
        QVERIFY2(Database::open(&error), qPrintable(error));
        QCOMPARE(Sql::scalar("PRAGMA user_version").toInt(), Schema::version);
        QCOMPARE(Fixture::count("select count(*) from ljmbk"), 0);
        QCOMPARE(Sql::scalar("select dzm from cardk where kno='1001'").toString(), QString("张三"));
        Sql::run("update cardk set gzdw='第一中学' where kno='1001'");
        // The title index holds the books catalogued before and is kept up from now on.
        QCOMPARE(Fixture::count("select count(*) from tszk_title where tsmc like '%楼%'"), 1);
        Sql::run("insert into tszk(txm,tsmc,bs,jcs,tszt) values('B0002','三国演义',1,0,'W')");
        QCOMPARE(Fixture::count("select count(*) from tszk_title"), 2);
        QCOMPARE(Fixture::count("select count(*) from tszk_bigram where gram='楼梦'"), 1);
        QCOMPARE(Fixture::count("select count(*) from tszk_bigram where gram='演义'"), 1);
        QCOMPARE(Fixture::count("select count(*) from subfunk where funcename='ljmb'"), 1);
        QCOMPARE(Fixture::count("select count(*) from usergrantk "
                                "where loginuser='ADMIN' and funename='ljmb'"),
                 1);
        // A second opening changes nothing.
        Database::close();
        QVERIFY(Database::open(&error));
        QCOMPARE(Fixture::count("select count(*) from subfunk where funcename='ljmb'"), 1);
    }
};

LIBRARY_TEST(UpgradeTest)
#include "upgradetest.moc"
