#include "app/demolibrary.h"
#include "data/clock.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/loanqueries.h"
#include "fixture.h"
#include "testmain.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The demo library: made through the desk's operations, so its counters, registers and
// ledger agree with its loans; and never made over an existing library.
class DemoLibraryTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static int count(const QString& statement, const QVariantList& values = {})
    {
        return Sql::scalar(statement, values).toInt();
    }
    static double number(const QString& statement) { return Sql::scalar(statement).toDouble(); }

    // Every file under the folder with its size and content digest.
    static QStringList snapshot(const QString& folder)
    {
        QStringList files;
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString line = path + " " + QString::number(QFileInfo(path).size());
            QFile file(path);
            if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
                line +=
                    " " +
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
            files << line;
        }
        files.sort();
        return files;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void theDemoLibraryIsConsistent()
    {
        QElapsedTimer timer;
        timer.start();
        Transaction transaction;
        const DemoLibrary::Summary made = DemoLibrary::fill();
        transaction.commit();
        qInfo("demo library made in %lld ms", static_cast<long long>(timer.elapsed()));
        const QDate today = Fixture::today();

        // What the issue asks for, roughly.
        QCOMPARE(made.titles, 300);
        QCOMPARE(made.readers, 40);
        QCOMPARE(count("select count(*) from jykdjk"), 2);
        QCOMPARE(count("select count(*) from tssxxk"), 3);
        QCOMPARE(count("select count(*) from cbsxxk"), 5);
        QVERIFY(count("select count(*) from tsflm") > 100);
        QVERIFY(count("select count(distinct flmc) from tszk") >= 10);
        QVERIFY2(made.openLoans >= 50 && made.openLoans <= 70,
                 qPrintable(QString::number(made.openLoans)));
        QVERIFY(made.overdueLoans >= 10);
        QVERIFY(made.returnedLoans >= 20);
        QVERIFY(made.fines >= 5);
        QCOMPARE(made.lostCards, 3);
        QCOMPARE(count("select count(*) from gsb where gsbz='是'"), 3);
        QCOMPARE(count("select count(*) from zzqk"), 2);
        QCOMPARE(count("select count(*) from zzqkztk"), 1);

        // Books: every open loan's title counts it, and a title is out ("C") exactly when
        // all its copies are.
        QCOMPARE(count("select count(*) from dzjsmxk d join tszk t on t.txm=d.txm "
                       "where d.hsjsr=\"\" and coalesce(t.jcs,0)<1"),
                 0);
        QCOMPARE(count("select count(*) from tszk t where coalesce(t.jcs,0)<>(select count(*) "
                       "from dzjsmxk d where d.txm=t.txm and d.hsjsr=\"\")"),
                 0);
        QCOMPARE(count("select count(*) from tszk where (tszt='C')<>(coalesce(jcs,0)>=bs)"), 0);
        QVERIFY(count("select count(*) from tszk where tszt='C'") > 0);
        QVERIFY(count("select count(*) from tszk where tszt='W' and jcs>0") > 0);

        // Cards: the books on loan of every card are its open loans.
        QCOMPARE(count("select count(*) from cardk c where coalesce(c.jsbs,0)<>(select count(*) "
                       "from dzjsmxk d where d.kno=c.kno and d.hsjsr=\"\")"),
                 0);

        // The ledger holds every deposit, fee, top-up and fine.
        QCOMPARE(count("select count(*) from cwk where szyy='收押金'"), 40);
        QCOMPARE(number("select sum(srje) from cwk where szyy='收押金'"),
                 number("select sum(yj) from cardk"));
        QCOMPARE(count("select count(*) from cwk where szyy='收工本费'"), 40);
        QCOMPARE(number("select sum(srje) from cwk where szyy='收工本费'"),
                 number("select sum(g.gbf) from cardk c join jykdjk g on g.kdj=c.kdj"));
        const QString topUpReasons = "szyy in ('办借阅证时充值','延期借阅证时充值')";
        QCOMPARE(count("select count(*) from cwk where " + topUpReasons),
                 count("select count(*) from jykczb where czje>0"));
        QCOMPARE(count("select count(*) from jykczb j where j.czje>0 and not exists (select 1 "
                       "from cwk c where " +
                       topUpReasons + " and c.srje=j.czje and c.fsrq=j.czrq)"),
                 0);
        QVERIFY(count("select count(*) from jykczb where bz='借阅证延期有效日期且充值'") > 0);
        QVERIFY(count("select count(*) from jykczb where czje=0") > 0); // no top-up, no row
        QCOMPARE(count("select count(*) from cwk where szyy='逾期罚款金额'"), made.fines);
        QCOMPARE(count("select count(*) from dzyqfkmxk f where not exists (select 1 from cwk c "
                       "where c.szyy='逾期罚款金额' and c.srje=f.je and c.fsrq=f.Rq)"),
                 0);
        QCOMPARE(count("select count(*) from cwk where szyy='购书费'"), 300);
        QCOMPARE(number("select round(sum(zcje),2) from cwk where szyy='购书费'"),
                 number("select round(sum(tsjg*bs),2) from tszk"));

        // Every fine is for a loan returned late: the days after its due date times the
        // grade's fine per day.
        QCOMPARE(count("select count(*) from dzyqfkmxk f join jykdjk g on g.kdj=f.kdj "
                       "join dzjsmxk d on d.kno=f.Kno and d.txm=f.txm and d.hsrq=f.Rq "
                       "where d.hsjsr<>\"\" and julianday(f.Rq)-julianday(d.jsrq)>g.jyqx and "
                       "abs(f.je-g.yqfkje*(julianday(f.Rq)-julianday(d.jsrq)-g.jyqx))<0.001"),
                 made.fines);

        // The overdue list: open loans due before today, by a few days to a few weeks.
        QCOMPARE(count("select count(*) from dzjsmxk where hsjsr=\"\" and hsrq<:t", {today}),
                 made.overdueLoans);
        QVERIFY(count("select min(julianday(:a)-julianday(hsrq)) from dzjsmxk "
                      "where hsjsr=\"\" and hsrq<:b",
                      {today, today}) <= 7);
        QVERIFY(count("select max(julianday(:a)-julianday(hsrq)) from dzjsmxk "
                      "where hsjsr=\"\" and hsrq<:b",
                      {today, today}) >= 14);
        QCOMPARE(count("select count(*) from dzjsmxk where jsrq>:t", {today}), 0);
        // ... and the overdue query lists exactly those.
        QStringList listed;
        const Listing overdue = LoanQueries::overdue(QString(), today);
        Sql rows(overdue.statement);
        rows.bindAll(overdue.values).exec();
        while (rows.next())
            listed << rows.text("kno") + "/" + rows.text("txm");
        QStringList expected;
        Sql open("select kno,txm from dzjsmxk where hsjsr=\"\" and hsrq<:t order by kno");
        open.bind(today).exec();
        while (open.next())
            expected << open.text("kno") + "/" + open.text("txm");
        listed.sort();
        expected.sort();
        QCOMPARE(listed, expected);
        // The reader the README names has loans out, one of them overdue.
        QVERIFY(count("select count(*) from dzjsmxk where kno=:k and hsjsr=\"\"",
                      {made.showcaseCard}) >= 2);
        QCOMPARE(count("select count(*) from dzjsmxk where kno=:k and hsjsr=\"\" and hsrq<:t",
                       {made.showcaseCard, today}),
                 1);
        QCOMPARE(count("select count(*) from gsb where kno=:k and gsbz='是'", {made.showcaseCard}),
                 0);

        // Written by the superuser, and the clock and the session are as they were.
        QCOMPARE(count("select count(*) from dzjsmxk where jsjsr<>'管理员'"), 0);
        QCOMPARE(Clock::today(), today);
        QCOMPARE(Session::current().name, QString::fromUtf8(Fixture::operatorName));
        QVERIFY(timer.elapsed() < 10000);
    }

    void aFolderWithALibraryIsRefusedAndLeftAsItWas()
    {
        // The fixture's folder holds a library.
        QVERIFY(!DemoLibrary::refusal(fixture->home()).isEmpty());
        const QString fixtureHome = fixture->home();

        QTemporaryDir folder;
        QVERIFY(DemoLibrary::refusal(folder.path()).isEmpty());
        QVERIFY(QDir(folder.path()).isEmpty()); // looking changed nothing

        ProgramPaths::setHome(folder.path());
        DemoLibrary::Summary made;
        QString error;
        QVERIFY2(DemoLibrary::create(&made, &error), qPrintable(error));
        QCOMPARE(made.titles, 300);
        QVERIFY(!Database::isOpen());
        QVERIFY(QFileInfo::exists(ProgramPaths::databaseFile()));

        // A second --demo on the same folder: refused, nothing touched.
        const QStringList before = snapshot(folder.path());
        QVERIFY(!before.isEmpty());
        error.clear();
        QVERIFY(!DemoLibrary::create(&made, &error));
        QVERIFY2(error.contains(QString::fromUtf8("已有图书馆的数据")), qPrintable(error));
        QCOMPARE(snapshot(folder.path()), before);
        QVERIFY(!Database::isOpen());

        // The library made is one the program opens, with the demo's readers in it.
        QVERIFY(Database::open());
        QCOMPARE(count("select count(*) from cardk"), 40);
        Database::close();
        ProgramPaths::setHome(fixtureHome);
    }

    // A demo that fails half-way leaves no library behind, so a second try is not refused.
    void aFailedDemoLeavesNoLibraryBehind()
    {
        const QString fixtureHome = fixture->home();
        QTemporaryDir folder;
        ProgramPaths::setHome(folder.path());
        Sql::failAt(500);
        DemoLibrary::Summary made;
        QString error;
        QVERIFY(!DemoLibrary::create(&made, &error));
        Sql::resetFault();
        QVERIFY2(error.startsWith(QString::fromUtf8("演示图书馆没有建成")), qPrintable(error));
        QVERIFY(!Database::isOpen());
        QVERIFY(!QFileInfo::exists(ProgramPaths::dataFolder()));
        QVERIFY(DemoLibrary::refusal(folder.path()).isEmpty());
        QCOMPARE(Clock::today(), Fixture::today());
        QCOMPARE(Session::current().name, QString::fromUtf8(Fixture::operatorName));
        ProgramPaths::setHome(fixtureHome);
    }
};

LIBRARY_TEST(DemoLibraryTest)
#include "demolibrarytest.moc"
