#include "desk/cardissue.h"
#include "data/sql.h"
#include "desk/cardsequence.h"
#include "desk/refused.h"
#include "fixture.h"
#include "seed.h"
#include "testmain.h"

#include <QTest>

// Card issue and the number sequence as the desk runs them, without a screen.
class CardIssueTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static CardApplication application()
    {
        CardApplication a;
        a.number = "1001";
        a.cardType = "借阅证";
        a.grade = "A";
        a.name = "张三";
        a.identity = "11010519491231002X";
        a.deposit = "50";
        a.validUntil = "2027-12-09";
        a.topUp = "20";
        return a;
    }
    static bool yes(const QString&, const QString&) { return true; }
    static bool no(const QString&, const QString&) { return false; }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Seed::grade();
        Seed::sequence("1001");
    }
    void cleanup() { fixture.reset(); }

    void issueWritesTheCardTheRegisterTheLedgerAndTheNextNumber()
    {
        const IssuedCard issued = CardIssue::issue(application(), yes);
        QCOMPARE(issued.nextNumber, 1002);
        QCOMPARE(Sql::scalar("select sfzh from cardk where kno='1001'").toString(),
                 QString("11010519491231002X"));
        QCOMPARE(Sql::scalar("select gsbz from gsb where kno='1001'").toString(), QString("否"));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 3); // deposit, top-up, fee
        QCOMPARE(Fixture::count("select count(*) from jykczb"), 1);
        QCOMPARE(CardSequence::current().number, QString("1002"));
    }

    void refusalsNameTheBoxToCorrect_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("box");
        QTest::newRow("valid-until") << "validUntil"
                                     << ""
                                     << "有效日期不能为空！"
                                     << "Edit8";
        QTest::newRow("name") << "name"
                              << ""
                              << "请输入读者姓名!"
                              << "Edit1";
        QTest::newRow("deposit") << "deposit"
                                 << "-1"
                                 << "押金输入格式错误,请重新输入!"
                                 << "Edit3";
        QTest::newRow("grade") << "grade"
                               << "Z"
                               << "查无此等级!"
                               << "ComboBox1";
        QTest::newRow("number") << "number"
                                << "A1"
                                << "编号只能是数字,请修改编号或重新对编号初始化!"
                                << "Edit7";
    }
    void refusalsNameTheBoxToCorrect()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(QString, box);
        CardApplication a = application();
        if (field == "validUntil")
            a.validUntil = value;
        else if (field == "name")
            a.name = value;
        else if (field == "deposit")
            a.deposit = value;
        else if (field == "grade")
            a.grade = value;
        else
            a.number = value;
        try {
            CardIssue::issue(a, yes);
            QFAIL("not refused");
        } catch (const Refused& refused) {
            QCOMPARE(refused.text(), text);
            QCOMPARE(refused.box(), box);
        }
        QCOMPARE(Fixture::count("select count(*) from cardk"), 0);
    }

    void noTopUpAsksAndNoStopsQuietly()
    {
        CardApplication a = application();
        a.topUp = "0";
        QVERIFY_THROWS_EXCEPTION(ActionCancelled, CardIssue::issue(a, no));
        CardIssue::issue(a, yes);
        QCOMPARE(Fixture::count("select count(*) from cwk"), 2); // no top-up row
    }

    void theSequenceRefusesANumberInUse()
    {
        CardIssue::issue(application(), yes);
        QVERIFY_THROWS_EXCEPTION(Refused, CardSequence::start("1001", "IC卡"));
        CardSequence::start("2000", "IC卡");
        QCOMPARE(CardSequence::current().number, QString("2000"));
        QCOMPARE(CardSequence::current().type, QString("IC卡"));
    }
};

LIBRARY_TEST(CardIssueTest)
#include "cardissuetest.moc"
