#include "desk/readingroom.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Reading-room lending: who may take an issue, what a return removes, what the query lists.
class ReadingRoomTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static void card(const QString& number, const QString& name, const QString& lost = "否",
                     const QString& photo = QString())
    {
        Sql::run("insert into cardk(kno,kdj,dzm,strpath) values(:a,:b,:c,:d)",
                 {number, "A", name, photo});
        Sql::run("insert into gsb(kno,kdj,dzm,gsbz) values(:a,:b,:c,:d)",
                 {number, "A", name, lost});
    }
    static void periodical(const QString& name, const QString& issue, const QString& mnemonic,
                           const QString& type = "杂志")
    {
        Sql::run("insert into zzqk(mc,kh,cbrq,lx,cbsmc,pyzjh) values(:a,:b,:c,:d,:e,:f)",
                 {name, issue, "2026-11-01", type, "读者出版社", mnemonic});
    }
    static ReadingRoom::Loan loan(const QString& card, const QString& reader,
                                  const QString& name = "读者", const QString& issue = "1")
    {
        return {name, issue, "2026-11-01", "杂志", card, reader, "读者出版社"};
    }
    static QString refusal(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const Refused& r) {
            return r.text() + (r.box().isEmpty() ? "" : "@" + r.box());
        }
        return QString();
    }
    static QStringList out()
    {
        QStringList rows;
        Sql q("select mc,kh,lx,cbrq,dzm,kno,jyrq,cbsmc from zzqkztk order by kno");
        q.exec();
        while (q.next())
            rows << QStringList{q.text("mc"),  q.text("kh"),  q.text("lx"),   q.text("cbrq"),
                                q.text("dzm"), q.text("kno"), q.text("jyrq"), q.text("cbsmc")}
                        .join("|");
        return rows;
    }
    static QStringList listed(const ReadingRoom::Conditions& c)
    {
        const Selection s = ReadingRoom::issuesOut(c);
        Sql q(s.statement);
        q.bindAll(s.values).exec();
        QStringList rows;
        while (q.next())
            rows << q.text("mc") + q.text("kh") + ":" + q.text("kno");
        rows.sort();
        return rows;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void cardLookUp()
    {
        card("001", "张三", "否", "/pic/1.bmp");
        card("002", "李四", "是");
        const ReadingRoom::Reader r = ReadingRoom::lookUpCard("001");
        QCOMPARE(r.name + r.photoPath, QString("张三/pic/1.bmp"));
        QCOMPARE(refusal([] { ReadingRoom::lookUpCard("002"); }),
                 QString("此借书证已经挂失,不能借书@Edit4"));
        QCOMPARE(refusal([] { ReadingRoom::lookUpCard("009"); }),
                 QString("此借阅证未登记，请重新输入！@Edit4"));
        // An expired or cancelled-looking card is not tested here.
        Sql::run("update cardk set sfyx='N', yxrq='2000-01-01' where kno='001'");
        QCOMPARE(ReadingRoom::lookUpCard("001").name, QString("张三"));
    }

    void lendWritesTheLoanDatedToday()
    {
        card("001", "张三");
        periodical("读者", "1", "DZ");
        ReadingRoom::lend({"读者", "1", "2026/11/1", "杂志", "001", "张三", "读者出版社"});
        QCOMPARE(out(), QStringList{"读者|1|杂志|2026-11-01|张三|001|2026-12-09|读者出版社"});
    }

    void lendRefusals_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("name") << 0 << ""
                              << "请输入杂志期刊或报纸名称!@Edit1";
        QTest::newRow("issue") << 1 << ""
                               << "请输入期刊号!@Edit2";
        QTest::newRow("date") << 2 << ""
                              << "请输入出版日期!@Edit3";
        QTest::newRow("type") << 3 << ""
                              << "请选择类型!@ComboBox1";
        QTest::newRow("card") << 4 << ""
                              << "请输入借阅证编码!@Edit4";
        QTest::newRow("reader") << 5 << ""
                                << "请输入借阅人姓名!@Edit5";
        QTest::newRow("not a date") << 2 << "12/2026"
                                    << "日期格式错误@Edit3";
        QTest::newRow("lost card") << 4 << "002"
                                   << "此借书证已经挂失,不能借书@Edit4";
        QTest::newRow("unknown card") << 4 << "009"
                                      << "此借阅证未登记，请重新输入！@Edit4";
    }
    void lendRefusals()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        card("001", "张三");
        card("002", "李四", "是");
        ReadingRoom::Loan l = loan("001", "张三");
        QString* fields[] = {&l.name, &l.issue, &l.date, &l.type, &l.card, &l.readerName};
        *fields[field] = value;
        QCOMPARE(refusal([&] { ReadingRoom::lend(l); }), message);
        QCOMPARE(out(), QStringList());
    }

    void oneIssuePerCardAndNoMoreLoansThanCopies()
    {
        card("001", "张三");
        card("002", "李四");
        card("003", "王五");
        periodical("读者", "1", "DZ");
        periodical("读书", "5", "DS");
        periodical("读书", "5", "DS"); // two copies of one issue
        ReadingRoom::lend(loan("001", "张三"));
        QCOMPARE(refusal([] { ReadingRoom::lend(loan("001", "张三", "读书", "5")); }),
                 QString("该读者所借刊物未归还，不能再借!"));
        QCOMPARE(refusal([] { ReadingRoom::lend(loan("002", "李四")); }),
                 QString("该刊物已借出，不能再借!"));
        ReadingRoom::lend(loan("002", "李四", "读书", "5"));
        ReadingRoom::lend(loan("003", "王五", "读书", "5"));
        QCOMPARE(Fixture::count("select count(*) from zzqkztk"), 3);
        // An issue that is not registered may go out once.
        Sql::run("delete from zzqkztk where kno='001'");
        ReadingRoom::lend(loan("001", "张三", "旧报", "1"));
        QCOMPARE(refusal([] { ReadingRoom::lend(loan("001", "张三", "旧报", "2")); }),
                 QString("该读者所借刊物未归还，不能再借!"));
    }

    void returnRemovesOneLoan()
    {
        card("001", "张三");
        card("002", "李四");
        periodical("读书", "5", "DS");
        periodical("读书", "5", "DS");
        periodical("读者", "1", "DZ");
        ReadingRoom::lend(loan("001", "张三", "读书", "5"));
        ReadingRoom::lend(loan("002", "李四", "读书", "5"));
        QCOMPARE(refusal([] { ReadingRoom::giveBack("读书", "5", ""); }),
                 QString("请输入借阅证编码!@Edit4"));
        QCOMPARE(refusal([] { ReadingRoom::giveBack("读书", "5", "003"); }),
                 QString("请输入借阅证编码!@Edit4"));
        ReadingRoom::giveBack("读书", "5", "002");
        QCOMPARE(Fixture::count("select count(*) from zzqkztk where kno='001'"), 1);
        QCOMPARE(Fixture::count("select count(*) from zzqkztk"), 1);
        // The sole holder's issue comes back whatever the card box holds.
        ReadingRoom::giveBack("读书", "5", "");
        QCOMPARE(out(), QStringList());
        QCOMPARE(refusal([] { ReadingRoom::giveBack("读书", "5", "001"); }),
                 QString("该刊物未出借!"));
        QCOMPARE(refusal([] { ReadingRoom::giveBack("", "5", ""); }),
                 QString("请输入杂志期刊或报纸名称!@Edit1"));
        QCOMPARE(refusal([] { ReadingRoom::giveBack("读书", "", ""); }),
                 QString("请输入期刊号!@Edit2"));
    }

    void queryListsTheIssuesOut()
    {
        card("001", "张三");
        card("002", "李四");
        card("003", "王五");
        periodical("读者", "1", "DZ");
        periodical("读者", "2", "DZ"); // a second register row of the name lists nothing twice
        periodical("人民日报", "30", "RMRB", "报纸");
        ReadingRoom::lend(loan("001", "张三"));
        ReadingRoom::lend({"人民日报", "30", "2026-12-01", "报纸", "002", "李四", "人民日报社"});
        ReadingRoom::lend(loan("003", "王五", "未登记刊", "1"));
        using C = ReadingRoom::Conditions;
        QCOMPARE(listed(C{}), (QStringList{"人民日报30:002", "未登记刊1:003", "读者1:001"}));
        QCOMPARE(listed(C{"读", "", "", "", "", ""}), QStringList{"读者1:001"});
        QCOMPARE(listed(C{"", "报纸", "", "", "", ""}), QStringList{"人民日报30:002"});
        QCOMPARE(listed(C{"", "", "1", "", "", ""}), (QStringList{"未登记刊1:003", "读者1:001"}));
        QCOMPARE(listed(C{"", "", "", "2026-12-1", "", ""}), QStringList{"人民日报30:002"});
        QCOMPARE(listed(C{"", "", "", "", "人民", ""}), QStringList{"人民日报30:002"});
        QCOMPARE(listed(C{"", "", "", "", "", "DZ"}), QStringList{"读者1:001"});
        QCOMPARE(listed(C{"", "", "", "", "", "dz"}), QStringList());
        for (int i = 0; i < 6; ++i) {
            C c;
            QString* fields[] = {&c.name, &c.type, &c.issue, &c.date, &c.publisher, &c.mnemonic};
            if (i == 3)
                continue; // the date box refuses text that is not a date
            *fields[i] = "'";
            QCOMPARE(listed(c), QStringList());
        }
        QCOMPARE(refusal([] {
                     ReadingRoom::issuesOut(C{"", "", "", "'", "", ""});
                 }),
                 QString("日期格式错误!@Edit3"));
    }

    void nothingFoundNotices()
    {
        using C = ReadingRoom::Conditions;
        QCOMPARE(ReadingRoom::nothingFoundText(C{}), QString("阅览室中无出借刊物!"));
        QCOMPARE(ReadingRoom::nothingFoundText(C{"", "", "", "", "", "DZ"}),
                 QString("该种刊物无读者借阅!"));
        QCOMPARE(ReadingRoom::nothingFoundText(C{"", "杂志", "", "", "", ""}),
                 QString("该种刊物无读者借阅!"));
    }
};

LIBRARY_TEST(ReadingRoomTest)
#include "readingroomtest.moc"
