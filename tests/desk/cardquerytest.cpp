#include "desk/cardquery.h"
#include "cardseed.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// The card query: which cards a set of conditions lists, their exact deposit total, and
// corrections that either store whole or not at all.
class CardQueryTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList listed(const CardSelection& selection)
    {
        QStringList numbers;
        Sql q(selection.statement());
        q.bindAll(selection.values()).exec();
        while (q.next())
            numbers << q.text("kno");
        return numbers;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        CardSeed::grade("A");
        CardSeed::grade("B");
        CardSeed::card("1003", "张三", "110", "2026-03-01", 0.1);
        CardSeed::card("1001", "李四", "111", "2026-03-01", 0.1);
        CardSeed::card("1002", "张三", "112", "2026-03-02", 0.1);
        CardSeed::card("1004", "O'Brien", "113", "2026-03-05", 20);
    }
    void cleanup() { fixture.reset(); }

    void conditions_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QString>("deposits");
        QTest::newRow("nothing: every card")
            << ""
            << ""
            << ""
            << "" << QStringList{"1001", "1002", "1003", "1004"} << "20.3";
        QTest::newRow("exact number") << "1002"
                                      << ""
                                      << ""
                                      << "" << QStringList{"1002"} << "0.1";
        QTest::newRow("number prefix is no match") << "100"
                                                   << ""
                                                   << ""
                                                   << "" << QStringList{} << "0";
        QTest::newRow("name") << ""
                              << "张三"
                              << ""
                              << "" << QStringList{"1002", "1003"} << "0.2";
        QTest::newRow("number and name both match") << "1001"
                                                    << "张三"
                                                    << ""
                                                    << "" << QStringList{} << "0";
        QTest::newRow("from alone is that day") << ""
                                                << ""
                                                << "2026-03-01"
                                                << "" << QStringList{"1001", "1003"} << "0.2";
        QTest::newRow("range") << ""
                               << ""
                               << "2026-03-02"
                               << "2026-03-05" << QStringList{"1002", "1004"} << "20.1";
        QTest::newRow("to alone is ignored")
            << ""
            << "张三"
            << ""
            << "2026-03-01" << QStringList{"1002", "1003"} << "0.2";
        QTest::newRow("quote in the name is just a character") << ""
                                                               << "O'Brien"
                                                               << ""
                                                               << "" << QStringList{"1004"} << "20";
        QTest::newRow("quote breaking out finds nothing") << ""
                                                          << "x' or '1'='1"
                                                          << ""
                                                          << "" << QStringList{} << "0";
    }
    void conditions()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, cards);
        QFETCH(QString, deposits);
        const CardSelection selection({number, name, QDate::fromString(from, Qt::ISODate),
                                       QDate::fromString(to, Qt::ISODate)});
        QCOMPARE(listed(selection), cards);
        const CardSelection::Summary summary = selection.summary();
        QCOMPARE(summary.count, cards.size());
        QCOMPARE(summary.deposits.toShortest(), deposits);
    }

    void depositTotalIsExact()
    {
        // Three deposits of 0.1 add up to 0.3, not 0.30000000000000004.
        const CardSelection::Summary summary = CardSelection({"", "张三", {}, {}}).summary();
        QCOMPARE(summary.deposits + Money::fromText("0.1"), Money::fromText("0.3"));
        QCOMPARE(CardSelection().summary().deposits, Money::fromText("20.3"));
    }

    void correctionsAreStored()
    {
        CardQuery::correct("1001", {{"yj", "12.5"},
                                    {"yxrq", "2028/2/3"},
                                    {"dzm", "李四新"},
                                    {"kdj", "B"},
                                    {"sfzh", "11010519491231002X"}});
        QCOMPARE(CardSeed::rows("select yj,yxrq,dzm,kdj,sfzh from cardk where kno='1001'"),
                 QStringList{"12.5|2028-02-03|李四新|B|11010519491231002X"});
        CardQuery::correct("1001", {{"yj", ""}, {"tel", ""}}); // an empty deposit is 0
        QCOMPARE(CardSeed::rows("select yj,tel from cardk where kno='1001'"), QStringList{"0|"});
    }

    void refusedCorrections_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("card number") << "kno"
                                     << "2001"
                                     << "借书证编号不能修改!";
        QTest::newRow("bad valid-until") << "yxrq"
                                         << "2027-13-01"
                                         << "日期格式错误!";
        QTest::newRow("empty issue date") << "bkrq"
                                          << ""
                                          << "日期格式错误!";
        QTest::newRow("deposit not a number") << "yj"
                                              << "abc"
                                              << "押金输入格式错误,请重新输入!";
        QTest::newRow("negative deposit") << "yj"
                                          << "-5"
                                          << "押金输入格式错误,请重新输入!";
        QTest::newRow("unknown grade") << "kdj"
                                       << "Z"
                                       << "查无此等级!";
        QTest::newRow("identity too long") << "sfzh"
                                           << "1234567890123456789"
                                           << "身份证号最多18位!";
    }
    void refusedCorrections()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const QStringList before = CardSeed::rows("select * from cardk order by kno");
        try {
            // The good change in the same row is not stored either.
            CardQuery::correct("1001", {{"dz", "新地址"}, {column, text}});
            QFAIL("not refused");
        } catch (const Refused& refused) {
            QCOMPARE(refused.text(), message);
        }
        QCOMPARE(CardSeed::rows("select * from cardk order by kno"), before);
    }
};

LIBRARY_TEST(CardQueryTest)
#include "cardquerytest.moc"
