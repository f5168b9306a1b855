#include "data/database.h"
#include "data/paths.h"
#include "data/sql.h"
#include "desk/backup.h"
#include "desk/desks.h"
#include "desk/initialisation.h"
#include "desk/loans.h"
#include "desk/refused.h"
#include "desk/returns.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
// Another copy of the program on the same library folder.
class OtherDesk {
public:
    explicit OtherDesk(const QStringList& command)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(DESK_WORKER, QStringList{ProgramPaths::home()} + command);
    }
    ~OtherDesk()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Waits until the desk says it is in.
    bool ready()
    {
        while (m_process.waitForReadyRead(20000)) {
            while (m_process.canReadLine())
                if (QString::fromUtf8(m_process.readLine()).trimmed() == "ready")
                    return true;
        }
        return false;
    }
    QString output()
    {
        m_process.waitForFinished(60000);
        return QString::fromUtf8(m_process.readAllStandardOutput()).trimmed();
    }
    void crash()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
};

// A second connection to the library, as another desk's program holds one.
class SecondConnection {
public:
    SecondConnection()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "DESK2");
        db.setDatabaseName(ProgramPaths::databaseFile());
        db.open();
    }
    ~SecondConnection() { QSqlDatabase::removeDatabase("DESK2"); }
    void run(const QString& statement)
    {
        QSqlQuery q(QSqlDatabase::database("DESK2"));
        if (!q.exec(statement))
            QFAIL(qPrintable(q.lastError().text()));
    }
};

void seed()
{
    Sql::run("insert into jykdjk(kdj,km,yjsbs,jyqx,jyqxdw,jsyj,yxxjcs,yqfkje) "
             "values('A','借阅证',3,30,'日',0,1,0.5)");
    for (const char* card : {"C1", "C2"})
        Sql::run("insert into cardk(kno,kdj,km,dzm,yxrq,sfyx) "
                 "values(:a,'A','借阅证','读者','2030-12-31','Y')",
                 {card});
    Sql::run("insert into tszk(txm,tsmc,tsjg,bs,jcs,tszt) values('B050','最后一本',10,1,0,'W')");
}

QString refusalOf(const std::function<void()>& work)
{
    try {
        Transaction::run(work);
    } catch (const Refused& refused) {
        return refused.text();
    }
    return "ok";
}

int openLoans()
{
    return Fixture::count("select count(*) from dzjsmxk where hsjsr is null");
}

double msOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

// Several desks on one library: each rule is checked again when the loan is written, no
// desk waits for a question open on another, exclusive work waits until the others are out.
class SeveralDesksTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        seed();
    }
    void cleanup() { fixture.reset(); }

    void lastCopyLentFromTwoDesks()
    {
        OtherDesk first({"lend", "C1", "B050"});
        OtherDesk second({"lend", "C2", "B050"});
        QStringList outcomes{first.output(), second.output()};
        outcomes.sort();
        QCOMPARE(outcomes, (QStringList{"ok", "图书总库中该图书已被借完！"}));
        QCOMPARE(Sql::scalar("select jcs from tszk where txm='B050'").toInt(), 1);
        QCOMPARE(openLoans(), 1);
    }

    // Book entry accepted the book; before Save, another desk changes what it relied on.
    void saveChecksAgainWhatEntryAccepted_data()
    {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("notice");
        QTest::newRow("title deleted") << "delete from tszk where txm='B050'"
                                       << "您输入的条形码不存在，请确定后重新输入。";
        QTest::newRow("last copy lent") << "update tszk set jcs=1 where txm='B050'"
                                        << "图书总库中该图书已被借完！";
        QTest::newRow("card reported lost") << "insert into gsb(kno,gsbz) values('C1','是')"
                                            << "此借书证已经挂失,不能借书";
        QTest::newRow("card withdrawn") << "update cardk set sfyx='N' where kno='C1'"
                                        << "没有该读者的借书证号！";
        QTest::newRow("card at its limit")
            << "update jykdjk set yjsbs=0"
            << "您所借图书数已达到允许的借书数\n该读者不能再借其他图书。";
    }
    void saveChecksAgainWhatEntryAccepted()
    {
        QFETCH(QString, elsewhere);
        QFETCH(QString, notice);
        const Reader reader = Loans::acceptCard("C1");
        Loans::acceptBook(reader, "B050", Loans::Route::Typed);
        {
            SecondConnection other;
            other.run(elsewhere);
        }
        QCOMPARE(refusalOf([] { Loans::lend("C1", "B050"); }), notice);
        QCOMPARE(Fixture::count("select count(*) from dzjsmxk"), 0);
        QCOMPARE(Sql::scalar("select coalesce(jsbs,0) from cardk where kno='C1'").toInt(), 0);
    }

    void questionOpenElsewhereDelaysNothing()
    {
        OtherDesk asking({"ask", "3", "C2"});
        QVERIFY(asking.ready());
        // A desk that waited for the other's lock would wait seconds (the busy timeout).
        const double lookUp = msOf([] { Loans::findCards("C"); });
        const double lend =
            msOf([] { QCOMPARE(refusalOf([] { Loans::lend("C1", "B050"); }), QString("ok")); });
        const qint64 id = Sql::scalar("select iid from dzjsmxk").toLongLong();
        const double giveBack = msOf([&] {
            Transaction::run([&] { Returns::giveBack({id, "C1", "N"}, {}); });
        });
        std::printf(
            "with a question open elsewhere: look-up %.1f ms, lend %.1f ms, return %.1f ms\n",
            lookUp, lend, giveBack);
        QVERIFY(lookUp < 1000 && lend < 1000 && giveBack < 1000);
        QCOMPARE(asking.output(), QString("ok")); // the top-up is written after the answer
        QCOMPARE(Sql::scalar("select yxrq from cardk where kno='C2'").toString(),
                 QString("2031-12-31"));
    }

    void exclusiveWorkWaitsForTheOtherDesks()
    {
        Backup::backupTo(Backup::defaultFolder());
        OtherDesk other({"enter", "30"});
        QVERIFY(other.ready());
        const QString clearing = refusalOf([] { Initialisation::clearAll(); });
        QVERIFY2(clearing.endsWith("正在使用本馆数据，请先退出") && clearing.contains("柜台"),
                 qPrintable(clearing));
        QString restoring;
        try {
            Backup::restoreFrom(Backup::defaultFolder(), [] { return true; });
        } catch (const Backup::Stop& stop) {
            restoring = stop.text;
        }
        QCOMPARE(restoring, clearing);
        QCOMPARE(Fixture::count("select count(*) from cardk"), 2);

        // A desk that crashed leaves its row behind; it no longer counts.
        other.crash();
        QCOMPARE(Desks::othersInNotice(), QString());
        QCOMPARE(refusalOf([] { Initialisation::clearAll(); }), QString("ok"));
        QCOMPARE(Fixture::count("select count(*) from cardk"), 0);
    }

    void deskToldWhenTheLibraryWasReplaced()
    {
        // Another desk restores a backup: the library file is swapped under this one.
        Backup::backupTo(Backup::defaultFolder());
        const QString live = ProgramPaths::databaseFile();
        QVERIFY(
            QFile::copy(QDir(Backup::defaultFolder()).filePath(Backup::fileName), live + ".new"));
        QVERIFY(std::rename(QFile::encodeName(live + ".new").constData(),
                            QFile::encodeName(live).constData()) == 0);
        Messages::takeShown();

        QVERIFY(!Action::run(nullptr, [] { Loans::lend("C1", "B050"); }));
        QVERIFY(Messages::lastText().contains("本馆数据已被另一台电脑恢复或替换"));
        QCOMPARE(openLoans(), 0); // the restored library, opened again
        QVERIFY(Action::run(nullptr, [] { Loans::lend("C1", "B050"); }));
        QCOMPARE(openLoans(), 1);
    }

    // Desks lend and return at random; the counters always agree with the loans.
    void desksLendingAtRandomKeepEveryCount()
    {
        Sql::run("delete from tszk");
        Sql::run("delete from cardk");
        Sql::run("delete from jykdjk");
        OtherDesk seeding({"seed", "8", "6"});
        QCOMPARE(seeding.output(), QString());
        std::vector<std::unique_ptr<OtherDesk>> desks;
        for (int i = 0; i < 3; ++i)
            desks.push_back(
                std::make_unique<OtherDesk>(QStringList{"stress", "3", QString::number(1000 + i)}));
        for (auto& desk : desks) {
            const QString out = desk->output();
            QVERIFY2(out.startsWith("operations") && out.contains("errors 0"), qPrintable(out));
        }
        OtherDesk checking({"check"});
        const QString report = checking.output();
        QVERIFY2(report.endsWith("violations 0"), qPrintable(report));
    }
};
LIBRARY_TEST(SeveralDesksTest)
#include "severaldeskstest.moc"
