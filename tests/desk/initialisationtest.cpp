#include "desk/initialisation.h"
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
                 "and name not like 'tszk_title%'");
        list.exec();
        QStringList tables;
        while (list.next())
            tables << list.text("name");
        const QHash<QString, QString> required{
            {"tszk", "insert into tszk(txm) values('T1')"},
            {"cardk", "insert into cardk(kno) values('001')"},
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
        {
            Transaction transaction;
            Initialisation::clearAll();
            transaction.commit();
        }
        QCOMPARE(rowsIn(Initialisation::clearedTables()), 0);
        QCOMPARE(rowsIn(kept()), kept().size());
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
