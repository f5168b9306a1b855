#include "app/commandtable.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QFile>
#include <QSet>
#include <QTest>

class DeliveredTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void catalogueHoldsEveryMenuKey()
    {
        QSet<QString> groups, functions;
        Sql g("select ownerename from funk");
        g.exec();
        while (g.next())
            groups << g.text("ownerename");
        Sql f("select funcename from subfunk");
        f.exec();
        while (f.next())
            functions << f.text("funcename");
        for (const MenuEntry& menu : CommandTable::menus()) {
            if (QString(menu.key) == "N1")
                continue; // help is always visible and not granted
            QVERIFY2(groups.contains(menu.key), menu.key);
            if (QString(menu.key) == "xtgn" || menu.items.isEmpty())
                continue;
            for (const MenuItemEntry& item : menu.items)
                QVERIFY2(functions.contains(item.key), item.key);
        }
        QCOMPARE(groups.size(), 8);
        QCOMPARE(functions.size(), 32);
    }

    void superuserHoldsEveryKey()
    {
        QCOMPARE(Fixture::count("select count(*) from usergrantk where loginuser='ADMIN'"), 40);
        QCOMPARE(Sql::scalar("select dj from userk where loginuser='ADMIN'").toString(),
                 QString("A"));
    }

    void photoCounterAndClassification()
    {
        QCOMPARE(Fixture::count("select count(*) from zpidb"), 1);
        QCOMPARE(Fixture::count("select count(distinct Flm) from mxflk"), 22);
        QCOMPARE(Sql::scalar("select mxflmc from mxflk where mxflm='TP'").toString(),
                 QString("自动化技术、计算机技术"));
        for (const char* table : {"tszk", "cardk", "cwk", "jykdjk", "jszxh", "dzjsmxk", "gsb",
                                  "jykczb", "tszklsk", "icxh", "kpsxh", "jhk", "jhmxk"})
            QCOMPARE(Fixture::count(QString("select count(*) from %1").arg(table)), 0);
    }

    void positionalInsertsFollowColumnOrder()
    {
        Sql::run("insert into dzyqfkmxk values(:Kno,:rq,:jsr,:txm,:kdj,:je)",
                 {"001", "2026-12-09", "测试员", "B1", "A", 1.5});
        Sql::run("insert into jszxh values(:jszxh,:lx)", {"1001", "借阅证"});
        QCOMPARE(Sql::scalar("select txm from dzyqfkmxk").toString(), QString("B1"));
        QCOMPARE(Sql::scalar("select lx from jszxh").toString(), QString("借阅证"));
    }

    void textsAreKeptToTheirColumnWidth()
    {
        Sql::run("insert into tszk(txm,fsjh) values(:a,:b)", {"B1", "A1-02-03"});
        QCOMPARE(Sql::scalar("select fsjh from tszk").toString(), QString("A1-02-"));
        Sql::run("insert into cardk(kno,dzm) values(:a,:b)", {"1", "欧阳上官明"});
        QCOMPARE(Sql::scalar("select dzm from cardk").toString(), QString("欧阳上官"));
        Sql::run("update cardk set dzm=:a", {"ab李明张三"});
        QCOMPARE(Sql::scalar("select dzm from cardk").toString(), QString("ab李明张"));
        Sql::run("update cardk set dzm=:a", {QString()});
        QVERIFY(Sql::scalar("select dzm from cardk").isNull());
        Sql::run("insert into cbsxxk(cbsmc) values(:a)", {QString(40, QChar(u'书'))});
        QCOMPARE(Sql::scalar("select length(cbsmc) from cbsxxk").toInt(), 40); // no width
    }

    void openingAnExistingDatabaseKeepsIt()
    {
        Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)", {3.0, "收押金", "2026-12-09"});
        Database::close();
        QVERIFY(Database::open());
        QCOMPARE(Fixture::count("select count(*) from cwk"), 1);
    }

    void aFileThatIsNoDatabaseIsReported()
    {
        Database::close();
        QFile file(ProgramPaths::databaseFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("this is not a database at all, just some text that fills the header...");
        file.close();
        QString reason;
        QVERIFY(!Database::open(&reason));
        QVERIFY(!reason.isEmpty());
    }
};

LIBRARY_TEST(DeliveredTest)
#include "deliveredtest.moc"
