#include "desk/lostcards.h"
#include "cardseed.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// The lost-card register: a report and its withdrawal need the number and the identity
// number together, each only from the state it starts from, and only after a Yes.
class LostCardsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QStringList asked;

    Ask answer(bool yes)
    {
        return [this, yes](const QString& caption, const QString& text) {
            asked << caption + ":" + text;
            return yes;
        };
    }
    static QString flag(const QString& number)
    {
        return Sql::scalar("select gsbz from gsb where kno=:k", {number}).toString();
    }
    static QString refusal(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const Refused& refused) {
            return refused.text() + "@" + refused.box();
        }
        return QString();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        asked.clear();
        CardSeed::card("1001", "张三", "11010519491231002X");
        CardSeed::card("1002", "李四", "220");
    }
    void cleanup() { fixture.reset(); }

    void lookUpNeedsNumberAndIdentityTogether()
    {
        QCOMPARE(LostCards::lookUp("1001", "11010519491231002X"), QString("张三"));
        QCOMPARE(refusal([] { LostCards::lookUp("1001", "220"); }),
                 QString("没有找到您需要的记录@"));
        QCOMPARE(refusal([] { LostCards::lookUp("1001", "11010519491231002x"); }),
                 QString("没有找到您需要的记录@"));
    }

    void reportThenWithdraw()
    {
        QString shownName;
        LostCards::change(LostCards::Change::Report, "1001", "11010519491231002X", answer(true),
                          [&](const QString& name) { shownName = name; });
        QCOMPARE(shownName, QString("张三"));
        QCOMPARE(asked, QStringList{"询问:您确定要挂失此张借书证吗？"});
        QCOMPARE(flag("1001"), QString("是"));
        QVERIFY(LostCards::isLost("1001"));
        QCOMPARE(flag("1002"), QString("否"));

        // Twice is refused with the state named, and asks nothing.
        asked.clear();
        QCOMPARE(refusal([&] {
                     LostCards::change(LostCards::Change::Report, "1001", "11010519491231002X",
                                       answer(true));
                 }),
                 QString("没有找到您需要的记录(或者已经挂失了)@"));
        QVERIFY(asked.isEmpty());

        LostCards::change(LostCards::Change::Withdraw, "1001", "11010519491231002X", answer(true));
        QCOMPARE(asked, QStringList{"询问:您确定要解挂失此张借书证吗？"});
        QCOMPARE(flag("1001"), QString("否"));
        QVERIFY(!LostCards::isLost("1001"));
        QCOMPARE(refusal([&] {
                     LostCards::change(LostCards::Change::Withdraw, "1001", "11010519491231002X",
                                       answer(true));
                 }),
                 QString("没有找到您需要的记录(或者是此卡没有挂失过)@"));
    }

    void refusalsBeforeAnyWrite_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("identity");
        QTest::addColumn<QString>("message");
        QTest::newRow("no number") << ""
                                   << "220"
                                   << "请输入借书证编号@Edit1";
        QTest::newRow("no identity") << "1002"
                                     << ""
                                     << "请输入身份证号@Edit2";
        QTest::newRow("identity of another card") << "1002"
                                                  << "11010519491231002X"
                                                  << "没有找到您需要的记录(或者已经挂失了)@";
    }
    void refusalsBeforeAnyWrite()
    {
        QFETCH(QString, number);
        QFETCH(QString, identity);
        QFETCH(QString, message);
        QCOMPARE(refusal([&] {
                     LostCards::change(LostCards::Change::Report, number, identity, answer(true));
                 }),
                 message);
        QCOMPARE(CardSeed::rows("select gsbz from gsb order by kno"), (QStringList{"否", "否"}));
    }

    void noChangesNothing()
    {
        try {
            LostCards::change(LostCards::Change::Report, "1002", "220", answer(false));
            QFAIL("went on after No");
        } catch (const ActionCancelled&) {
        }
        QCOMPARE(flag("1002"), QString("否"));
    }

    void registerQuery_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("everything, by number")
            << ""
            << ""
            << "" << QStringList{"1001|是", "1002|否", "2001|否"};
        QTest::newRow("prefix") << "100"
                                << ""
                                << "" << QStringList{"1001|是", "1002|否"};
        QTest::newRow("lost only") << ""
                                   << ""
                                   << "是" << QStringList{"1001|是"};
        QTest::newRow("exact name") << ""
                                    << "李"
                                    << "" << QStringList{};
        QTest::newRow("all three") << "2"
                                   << "王五"
                                   << "否" << QStringList{"2001|否"};
    }
    void registerQuery()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, name);
        QFETCH(QString, status);
        QFETCH(QStringList, rows);
        CardSeed::card("2001", "王五", "330");
        Sql::run("update gsb set gsbz='是' where kno='1001'");
        // A cancelled card keeps its register row and its last flag.
        Sql::run("delete from cardk where kno='1001'");
        const LostCardSelection selection(prefix, name, status);
        QStringList listed;
        Sql q(selection.statement());
        q.bindAll(selection.values()).exec();
        while (q.next())
            listed << q.text("kno") + "|" + q.text("gsbz");
        QCOMPARE(listed, rows);
    }
};

LIBRARY_TEST(LostCardsTest)
#include "lostcardstest.moc"
