#include "desk/rooms.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "desk/relocation.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Rooms stay unique by number and by name; relocation moves one book or a whole room.
class RoomsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList rooms()
    {
        QStringList rows;
        Sql q("select * from tssxxk order by tssbh");
        q.exec();
        while (q.next())
            rows << q.text("tssbh") + "/" + q.text("tssmc") + "/" + q.text("slrq");
        return rows;
    }
    static QString roomOf(const QString& barcode)
    {
        return Sql::scalar("select scddbh from tszk where txm=:a", {barcode}).toString();
    }
    template <typename F> static QString refusal(F&& work)
    {
        try {
            work();
        } catch (const Refused& r) {
            return r.caption() + ":" + r.text() + "@" + r.box();
        }
        return QString();
    }
    static bool yes(const QString&, const QString&) { return true; }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2020-01-01')");
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('02','二室','2020-01-01')");
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('03','三室','2020-01-01')");
        Sql::run("insert into tszk(txm,tsmc,scddbh) values('A1','甲','01'),('A2','乙','01'),"
                 "('B1','丙','02')");
    }
    void cleanup() { fixture.reset(); }

    void enterChecksRefuseEmptyAndTakenValues()
    {
        QCOMPARE(refusal([] { Rooms::checkNumber("", ""); }),
                 QString("新增提示:请输入新增图书室的编号！@tssbh"));
        QCOMPARE(refusal([] { Rooms::checkNumber("01", ""); }),
                 QString("提示:该图书室的编号已经存在，请确定后重新输入@tssbh"));
        QCOMPARE(refusal([] { Rooms::checkName("", ""); }),
                 QString("新增提示:请输入新增图书室的名称！@tssmc"));
        QCOMPARE(refusal([] { Rooms::checkName("二室", ""); }),
                 QString("提示:该图书室名称已经存在，请确定后重新输入@tssmc"));
        // A room being changed meets its own number and name without complaint.
        QCOMPARE(refusal([] { Rooms::checkNumber("01", "01"); }), QString());
        QCOMPARE(refusal([] { Rooms::checkName("一室", "01"); }), QString());
        QCOMPARE(refusal([] { Rooms::checkName("二室", "01"); }),
                 QString("提示:该图书室名称已经存在，请确定后重新输入@tssmc"));
    }

    void saveStoresNewRoomsAndChangesThroughTheSameChecks()
    {
        Rooms::save({"04", "四室"}, "");
        QVERIFY(rooms().contains("04/四室/2026-12-09"));
        QCOMPARE(refusal([] {
                     Rooms::save({"", "五室"}, "");
                 }),
                 QString("保存提示:您必须输入新增的图书室编号！@tssbh"));
        QCOMPARE(refusal([] {
                     Rooms::save({"05", ""}, "");
                 }),
                 QString("保存提示:您必须输入新增的图书室名称！@tssmc"));
        for (const Room& clash : {Room{"02", "五室"}, Room{"05", "二室"}}) {
            try {
                Rooms::save(clash, "01"); // changing room 01 onto another room's values
                QFAIL("stored a clash");
            } catch (const Rooms::Taken& taken) {
                QCOMPARE(taken.column,
                         clash.number == "02" ? Rooms::Column::Number : Rooms::Column::Name);
            }
        }
        // A changed number takes the books along; the set-up date stays.
        Rooms::save({"11", "一室"}, "01");
        QCOMPARE(rooms().first(), QString("02/二室/2020-01-01"));
        QVERIFY(rooms().contains("11/一室/2020-01-01"));
        QCOMPARE(roomOf("A1"), QString("11"));
        QCOMPARE(roomOf("A2"), QString("11"));
        QCOMPARE(roomOf("B1"), QString("02"));
    }

    void deleteRefusesARoomThatHoldsBooks()
    {
        QCOMPARE(refusal([] { Rooms::remove("01", yes); }),
                 QString("删除提示:该图书室中还存放着2种图书，不能删除！\n"
                         "请先把这些图书调整到其他图书室。@"));
        QVERIFY_THROWS_EXCEPTION(
            ActionCancelled,
            Rooms::remove("03", [](const QString&, const QString&) { return false; }));
        QString asked;
        Rooms::remove("03", [&](const QString& c, const QString& t) {
            asked = c + ":" + t;
            return true;
        });
        QCOMPARE(asked, QString("删除提示:确定要删除本图书室吗?"));
        QCOMPARE(rooms().size(), 2);
    }

    void relocationMovesOneBookOrAWholeRoom()
    {
        QCOMPARE(Relocation::move({false, "A1", "一室", "三室"}), 1);
        QCOMPARE(roomOf("A1"), QString("03"));
        QCOMPARE(roomOf("A2"), QString("01"));

        // A book that is not in the room before is reported and left alone.
        QVERIFY(!Relocation::isIn("B1", "01"));
        QCOMPARE(refusal([] {
                     Relocation::move({false, "B1", "一室", "三室"});
                 }),
                 QString("提示:该图书室中没有此图书，请确定后重新输入。@Edit1"));
        QCOMPARE(roomOf("B1"), QString("02"));

        // The same room before and after changes nothing and is no failure.
        QCOMPARE(Relocation::move({true, "", "二室", "二室"}), 1);
        QCOMPARE(Relocation::move({true, "", "一室", "二室"}), 1);
        QCOMPARE(Fixture::count("select count(*) from tszk where scddbh='02'"), 2);
    }

    void relocationRefusesMissingParts()
    {
        QCOMPARE(refusal([] {
                     Relocation::move({false, "", "一室", "二室"});
                 }),
                 QString("提示:您必须输入需要调整的书号！@Edit1"));
        QCOMPARE(refusal([] {
                     Relocation::move({false, "A1", "", "二室"});
                 }),
                 QString("提示:您必须输入需要调整图书室名称！@ComboBox1"));
        QCOMPARE(refusal([] {
                     Relocation::move({false, "A1", "一室", "无此室"});
                 }),
                 QString("提示:您必须输入需要调整后的图书室名称@ComboBox2"));
        QCOMPARE(refusal([] {
                     Relocation::move({true, "", "", "二室"});
                 }),
                 QString("提示:您必须输入需要调整图书室名称！@"));
        QCOMPARE(roomOf("A1"), QString("01"));
    }
};

LIBRARY_TEST(RoomsTest)
#include "roomstest.moc"
