#include "desk/shelving.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Shelving writes the shelf number of one book and leaves the rest of its row alone.
class ShelvingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static void book(const QString& barcode, const QString& title, const QVariant& shelf)
    {
        Sql::run("insert into tszk(txm,tsmc,fsjh,bs,jcs,tszt) values(:a,:b,:c,:d,:e,:f)",
                 {barcode, title, shelf, 2, 0, "W"});
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void shelvesAreListedOnceEachBlankToo()
    {
        QCOMPARE(Shelving::shelves(), QStringList());
        book("B1", "红楼梦", "A01");
        book("B2", "水浒传", "A01");
        book("B3", "西游记", QVariant());
        book("B4", "三国演义", "B02");
        QCOMPARE(Shelving::shelves(), (QStringList{"", "A01", "B02"}));
    }

    void lookUpAndSave()
    {
        book("B1", "红楼梦", "A01");
        const Shelving::Book b = Shelving::lookUp("B1");
        QCOMPARE(b.barcode + "|" + b.title + "|" + b.shelf, QString("B1|红楼梦|A01"));
        try {
            Shelving::lookUp("B");
            QFAIL("not refused");
        } catch (const Refused& r) {
            QCOMPARE(r.caption() + ":" + r.text(), QString("提示:没有您所查询的图书资料！"));
        }
        Shelving::save("B1", "C0012345"); // kept to the column's six bytes
        QCOMPARE(Sql::scalar("select fsjh from tszk where txm='B1'").toString(), QString("C00123"));
        try {
            Shelving::save("NONE", "A01");
            QFAIL("not refused");
        } catch (const Refused& r) {
            QCOMPARE(r.caption() + ":" + r.text(), QString("保存信息:您的放书架号登记不成功！"));
        }
    }

    void aLoanBetweenLookUpAndSaveIsKept()
    {
        book("B1", "红楼梦", "A01");
        Shelving::lookUp("B1");
        Sql::run("update tszk set jcs=2, tszt='C' where txm='B1'");
        Shelving::save("B1", "A02");
        Sql q("select fsjh,jcs,tszt from tszk where txm='B1'");
        q.exec();
        QVERIFY(q.next());
        QCOMPARE(q.text("fsjh") + q.text("jcs") + q.text("tszt"), QString("A022C"));
    }
};

LIBRARY_TEST(ShelvingTest)
#include "shelvingtest.moc"
