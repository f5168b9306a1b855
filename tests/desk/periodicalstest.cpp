#include "desk/periodicals.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// The periodicals register: what a save writes and refuses, and the look-ups over it.
class PeriodicalsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static PeriodicalEntry entry(const QString& name, const QString& issue,
                                 const QString& publisher, const QString& type = "杂志")
    {
        return {name, Periodicals::mnemonicOf(name), type, issue, "2026-11-01", publisher, ""};
    }
    static QStringList rows(const QString& statement, const QVariantList& values = {})
    {
        QStringList out;
        Sql q(statement);
        q.bindAll(values).exec();
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << q.text(q.record().fieldName(i));
            out << cells.join("|");
        }
        return out;
    }
    static QStringList names(const Selection& s)
    {
        QStringList out;
        Sql q(s.statement);
        q.bindAll(s.values).exec();
        while (q.next())
            out << q.text("mc") + q.text("kh");
        return out;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void mnemonics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mnemonic");
        QTest::newRow("chinese") << "读者"
                                 << "DZ";
        QTest::newRow("blanks around") << "  人民日报 "
                                       << "RMRB";
        QTest::newRow("latin first") << "China Daily"
                                     << "";
        QTest::newRow("latin after chinese") << "电脑PC"
                                             << "DN";
        QTest::newRow("empty") << ""
                               << "";
    }
    void mnemonics()
    {
        QFETCH(QString, text);
        QFETCH(QString, mnemonic);
        QCOMPARE(Periodicals::mnemonicOf(text), mnemonic);
    }

    void aNewPublisherIsAddedOnceWithTheIssues()
    {
        Periodicals::registerIssue(
            {"读者", "dz", "杂志", "3", "2026/11/1", "读者出版社", "重要内容与标志"});
        Periodicals::registerIssue(entry("读者", "4", "读者出版社"));
        QCOMPARE(rows("select pyzjh,cbsmc from cbsxxk"), QStringList{"DZCBS|读者出版社"});
        QCOMPARE(rows("select mc,kh,cbrq,lx,bz,cbsmc,pyzjh from zzqk order by iid"),
                 (QStringList{"读者|3|2026-11-01|杂志|重要内容与标志|读者出版社|DZ",
                              "读者|4|2026-11-01|杂志||读者出版社|DZ"}));
    }

    void aKnownPublisherIsNotAddedAgain()
    {
        Sql::run("insert into cbsxxk(pyzjh,cbsmc,lxr) values(:a,:b,:c)", {"X", "三联书店", "张"});
        Periodicals::registerIssue(entry("读书", "1", "三联书店"));
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 1);
        // The same name and issue may be registered twice.
        Periodicals::registerIssue(entry("读书", "1", "三联书店"));
        QCOMPARE(Fixture::count("select count(*) from zzqk where mc='读书' and kh='1'"), 2);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString missing = "请确定以上栏目都已填写!";
        QTest::newRow("type") << 2 << "" << missing;
        QTest::newRow("name") << 0 << "" << missing;
        QTest::newRow("issue") << 3 << "" << missing;
        QTest::newRow("date") << 4 << "" << missing;
        QTest::newRow("publisher") << 5 << "" << missing;
        QTest::newRow("not a date") << 4 << "2026-13-40"
                                    << "日期格式错误";
    }
    void refusals()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        PeriodicalEntry e = entry("读者", "1", "新出版社");
        QString* fields[] = {&e.name, &e.mnemonic, &e.type, &e.issue, &e.date, &e.publisher};
        *fields[field] = value;
        try {
            Periodicals::registerIssue(e);
            QFAIL("not refused");
        } catch (const Refused& r) {
            QCOMPARE(r.text(), message);
        }
        QCOMPARE(Fixture::count("select count(*) from zzqk"), 0);
        QCOMPARE(Fixture::count("select count(*) from cbsxxk"), 0);
    }

    void registerQueryMatchesPrefixesInRegistrationOrder()
    {
        Periodicals::registerIssue(entry("人民日报", "1", "人民日报社", "报纸"));
        Periodicals::registerIssue(entry("读者", "1", "读者出版社"));
        Periodicals::registerIssue(entry("人民文学", "9", "人民文学出版社", "期刊"));
        Periodicals::registerIssue(entry("读者", "2", "读者出版社"));
        QCOMPARE(names(Periodicals::registerQuery("", "", "人民")),
                 (QStringList{"人民日报1", "人民文学9"}));
        QCOMPARE(names(Periodicals::registerQuery("杂志", "", "")),
                 (QStringList{"读者1", "读者2"}));
        QCOMPARE(names(Periodicals::registerQuery("", "RM", "人民文")), QStringList{"人民文学9"});
        QCOMPARE(names(Periodicals::registerQuery("", "rm", "")), QStringList()); // case counts
        QCOMPARE(names(Periodicals::registerQuery("'", "'", "'")), QStringList());
        QCOMPARE(names(Periodicals::registerQuery("", "", "")).size(), 4);
    }

    void matchingLooksUpByTypeAndMnemonicPrefix()
    {
        Periodicals::registerIssue(entry("读者", "1", "读者出版社"));
        Periodicals::registerIssue(entry("读者", "2", "读者出版社"));
        Periodicals::registerIssue(entry("电子报", "7", "电子报社", "报纸"));
        const Selection two = Periodicals::matching("杂志", "D");
        QCOMPARE(Periodicals::countUpTo(two, 2), 2);
        QCOMPARE(names(two), (QStringList{"读者1", "读者2"}));
        const Selection one = Periodicals::matching("报纸", "DZ");
        QCOMPARE(Periodicals::countUpTo(one, 2), 1);
        const Periodical p = Periodicals::first(one);
        QCOMPARE(p.name + p.issue + p.type + p.publisher + p.mnemonic,
                 QString("电子报7报纸电子报社DZB"));
        QCOMPARE(p.date, QDate(2026, 11, 1));
        QCOMPARE(Periodicals::byId(p.id).name, QString("电子报"));
        QCOMPARE(Periodicals::countUpTo(Periodicals::matching("期刊", "D"), 2), 0);
        QCOMPARE(Periodicals::first(Periodicals::matching("期刊", "D")).id, 0);
        QCOMPARE(Periodicals::countUpTo(Periodicals::matching("杂志", "'"), 2), 0);
        try {
            Periodicals::matching("", "D");
            QFAIL("not refused");
        } catch (const Refused& r) {
            QCOMPARE(r.text(), QString("类型不能为空！"));
            QCOMPARE(r.style(), Refused::Style::Plain);
        }
    }
};

LIBRARY_TEST(PeriodicalsTest)
#include "periodicalstest.moc"
