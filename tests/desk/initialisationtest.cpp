#include "desk/initialisation.h"
#include "data/schema.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QHash>
#include <QTest>

// Initialisation empties the working tables and keeps operators, rights and the other
// reference data; it empties all of them or none.
class InitialisationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList kept()
    {
        return {"userk",  "usergrantk", "funk",  "subfunk", "tssxxk",
                "cbsxxk", "tsflm",      "bmdyb", "zpidb",   "tszklsk"};
    }
    static void fillEveryTable()
    {
        // The title index (a virtual table and its own tables) follows tszk by itself.
        Sql list("select name from sqlite_master where type='table' and name not like 'sqlite%' "
                 "and name not like 'tszk_title%' and name<>'tszk_bigram'");
        list.exec();
        QStringList tables;
        while (list.next())
            tables << list.text("name");
        const QHash<QString, QString> required{
            {"tszk", "insert into tszk(txm) values('T1')"},
            {"cardk", "insert into cardk(kno) values('001')"},
            {"dzmmk", "insert into dzmmk(kno) values('001')"},
            {"jykdjk", "insert into jykdjk(kdj,yjsbs,jyqxdw,jsyj) values('A',1,'日',0)"}};
        for (const QString& table : tables)
            if (Fixture::count("select count(*) from " + table) == 0)
                Sql::run(required.value(table, "insert into " + table + " default values"));
    }
    static int rowsIn(const QStringList& tables)
    {
        int rows = 0;
        for (const QString& table : tables)
            rows += Fixture::count("select count(*) from " + table) > 0;
        return rows;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void emptiesTheWorkingTablesAndKeepsTheRest()
    {
        fillEveryTable();
        QCOMPARE(Initialisation::clearedTables().size(), 17);
        Sql::run("insert into mxflk(Flm,mxflm,mxflmc) values('Z','Z9','自编的类')");
        {
            Transaction transaction;
            Initialisation::clearAll();
            transaction.commit();
        }
        QStringList emptied = Initialisation::clearedTables();
        emptied.removeOne("mxflk");
        QCOMPARE(rowsIn(emptied), 0);
        QCOMPARE(rowsIn(kept()), kept().size());
        // The detailed classification is the delivered list again, nothing more.
        QCOMPARE(Fixture::count("select count(*) from mxflk"),
                 int(Schema::scriptStatements(":/schema/mxflk.sql").size()));
        QCOMPARE(Sql::scalar("select mxflmc from mxflk where mxflm='A1'").toString(),
                 QString("马克思、恩格斯著作"));
    }

    void aTableThatCannotBeEmptiedEmptiesNone()
    {
        fillEveryTable();
        Sql::run("drop table kpsxh");
        bool failed = false;
        try {
            Transaction transaction;
            Initialisation::clearAll();
            transaction.commit();
        } catch (const StoreError&) {
            failed = true;
        }
        QVERIFY(failed);
        QStringList present = Initialisation::clearedTables();
        present.removeAll("kpsxh");
        QCOMPARE(rowsIn(present), present.size());
    }
};

LIBRARY_TEST(InitialisationTest)
#include "initialisationtest.moc"
