#include "data/database.h"
#include "data/log.h"
#include "data/paths.h"
#include "data/sql.h"
#include "desk/backup.h"
#include "desk/photos.h"
#include "fixture.h"
#include "testmain.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <future>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>

namespace {
// The permission bits of a file or folder, e.g. 0700.
int modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

// Runs the sqlite3 shell on the database; returns its standard output.
QString shell(const QString& sql, bool* ok)
{
    QProcess process;
    process.start("sqlite3", {ProgramPaths::databaseFile(), sql});
    *ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    if (!*ok)
        qWarning("sqlite3: %s", process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

struct UmaskGuard {
    mode_t saved;
    explicit UmaskGuard(mode_t mask) : saved(::umask(mask)) {}
    ~UmaskGuard() { ::umask(saved); }
};
} // namespace

// The store file is an ordinary SQLite database, kept safe on disk and from other accounts.
class StoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        Sql::resetFault();
        fixture.reset();
    }

    void anyToolCanWriteTheFile()
    {
        bool ok = false;
        shell("insert into cardk(kno,dzm) values('20260009','欧阳上官明明');", &ok);
        QVERIFY(ok);
        // Read back as it was written, without error.
        QCOMPARE(Sql::scalar("select dzm from cardk where kno=:k", {"20260009"}).toString(),
                 QString("欧阳上官明明"));
        // Written through the program, the same name keeps to the column's width.
        Sql::run("update cardk set dzm=:a where kno=:k", {"欧阳上官明明", "20260009"});
        QCOMPARE(Sql::scalar("select dzm from cardk").toString(), QString("欧阳上官"));
        Sql::run("insert into cwk values(:a,:b,:c,:d)",
                 {1.0, 0.0, QString(11, u'收'), "2026-12-09"});
        QCOMPARE(Sql::scalar("select szyy from cwk").toString(), QString(10, u'收'));
        QCOMPARE(shell("select count(*) from sqlite_master where sql like '%gbk_cut%';", &ok), "0");
    }

    void widthTriggersOfOlderFilesAreDropped()
    {
        QSqlQuery raw(Database::connection());
        QVERIFY(raw.exec("create trigger cardk_dzm_width_insert after insert on cardk "
                         "when length(cast(new.dzm as blob))>8 begin "
                         "update cardk set dzm=gbk_cut(dzm,8) where rowid=new.rowid; end"));
        QVERIFY(raw.exec("create trigger cardk_dzm_width_update after update of dzm on cardk "
                         "begin update cardk set dzm=gbk_cut(dzm,8) where rowid=new.rowid; end"));
        QVERIFY(raw.exec("create trigger keep_me after delete on cardk begin select 1; end"));
        raw.finish();
        Database::close();
        QVERIFY(Database::open());
        QCOMPARE(Fixture::count("select count(*) from sqlite_master where sql like '%gbk_cut%'"),
                 0);
        QCOMPARE(Fixture::count("select count(*) from sqlite_master where name='keep_me'"), 1);
        bool ok = false;
        shell("insert into cardk(kno,dzm) values('1','欧阳上官明明');", &ok);
        QVERIFY(ok);
        QCOMPARE(Fixture::count("select count(*) from cardk"), 1);
    }

    void connectionSettings()
    {
        QCOMPARE(Sql::scalar("pragma journal_mode").toString(), QString("wal"));
        QCOMPARE(Sql::scalar("pragma synchronous").toInt(), 2); // FULL
        QCOMPARE(Sql::scalar("pragma busy_timeout").toInt(), Database::busyTimeoutMs);
        // The fixture's copy of the template holds what was written before it was closed.
        QCOMPARE(Fixture::count("select count(*) from userk where loginuser=:a",
                                {Fixture::operatorCode}),
                 1);
        Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)", {3.0, "x", "2026-12-09"});
        QVERIFY(QFile::exists(ProgramPaths::databaseFile() + "-wal"));
        // Closing folds the journal back: the file alone is the whole database.
        Database::close();
        QVERIFY(!QFile::exists(ProgramPaths::databaseFile() + "-wal"));
        const QString copy = fixture->path("copy.db");
        QVERIFY(QFile::copy(ProgramPaths::databaseFile(), copy));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(copy).constData(), &db), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "select count(*) from cwk", -1, &st, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(st, 0), 1);
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    // Another program holding the write lock for a moment delays an action, not fails it,
    // also an action that reads before it writes.
    void aLockHeldForAMomentDelaysTheWrite()
    {
        std::promise<void> locked;
        std::thread other([file = QFile::encodeName(ProgramPaths::databaseFile()), &locked] {
            sqlite3* db = nullptr;
            sqlite3_open(file.constData(), &db);
            sqlite3_exec(db, "begin immediate; insert into cwk(szyy) values('other')", nullptr,
                         nullptr, nullptr);
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        locked.get_future().wait();
        QElapsedTimer clock;
        clock.start();
        bool written = false;
        try {
            // As Action::run runs an action: a conflict runs it again from its read.
            Transaction::run([] {
                const int before = Fixture::count("select count(*) from cwk");
                Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)",
                         {before + 1.0, "mine", "2026-12-09"});
            });
            written = true;
        } catch (const StoreError& e) {
            qWarning("%s", qPrintable(e.message()));
        }
        const qint64 waited = clock.elapsed();
        other.join();
        QVERIFY(written);
        QVERIFY2(waited >= 500, qPrintable(QString::number(waited)));
        QCOMPARE(Fixture::count("select count(*) from cwk"), 2);
        // It read after the other program's row was committed.
        QCOMPARE(Sql::scalar("select srje from cwk where szyy='mine'").toInt(), 2);
    }

    // A lock held past the busy timeout fails the action, and the operator reads why.
    void aLockHeldTooLongIsExplained()
    {
        Sql::run("pragma busy_timeout=100");
        std::promise<void> locked;
        std::promise<void> done;
        std::thread other([file = QFile::encodeName(ProgramPaths::databaseFile()), &locked,
                           finished = done.get_future()] {
            sqlite3* db = nullptr;
            sqlite3_open(file.constData(), &db);
            sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
            locked.set_value();
            finished.wait();
            sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        locked.get_future().wait();
        Messages::takeShown();
        const bool completed =
            Action::run(nullptr, [] { Sql::run("insert into cwk(szyy) values(:a)", {"mine"}); });
        done.set_value();
        other.join();
        QVERIFY(!completed);
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains("另一个服务台或程序正在使用本图书馆的数据，请稍候再试。\n"
                                        "database is locked"),
                 qPrintable(shown[0].text));
    }

    void personalDataIsOwnerOnly()
    {
        UmaskGuard permissive(0);
        // A folder left open by an older version or another tool is tightened at start.
        Database::close();
        QFile::setPermissions(ProgramPaths::dataFolder(), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(ProgramPaths::databaseFile(), QFileDevice::Permissions(0x6666));
        for (const QString& folder : {ProgramPaths::photoFolder(), ProgramPaths::backupFolder()}) {
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        }
        Log::write("before");
        QFile::setPermissions(ProgramPaths::logFile(), QFileDevice::Permissions(0x6666));
        QFile::setPermissions(fixture->path("log"), QFileDevice::Permissions(0x7777));
        QVERIFY(Database::open());
        Sql::run("insert into cwk(szyy) values(:a)", {"x"});
        for (const QString& folder : {ProgramPaths::dataFolder(), ProgramPaths::photoFolder(),
                                      ProgramPaths::backupFolder(), fixture->path("log")})
            QCOMPARE(modeOf(folder), 0700);
        for (const char* suffix : {"", "-wal", "-shm"})
            QCOMPARE(modeOf(ProgramPaths::databaseFile() + suffix), 0600);
        QCOMPARE(modeOf(ProgramPaths::logFile()), 0600);

        // A new library folder is created owner-only, and so is its backup folder.
        Database::close();
        QTemporaryDir parent;
        const QString library = QDir(parent.path()).filePath("library");
        ProgramPaths::setHome(library);
        QVERIFY(Database::open());
        QCOMPARE(modeOf(library), 0700);
        Backup::backupTo(Backup::defaultFolder());
        QCOMPARE(modeOf(ProgramPaths::backupFolder()), 0700);
        Database::close();
        QTemporaryDir fresh;
        ProgramPaths::setHome(fresh.path());
        QVERIFY(Database::open());
        Sql::run("insert into cwk(szyy) values(:a)", {"x"});
        Log::write("fresh");
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QString photo = Photos::store(picture);
        QCOMPARE(modeOf(photo), 0600);
        for (const char* folder : {"dat", "pic", "log"})
            QCOMPARE(modeOf(QDir(fresh.path()).filePath(folder)), 0700);
        for (const char* suffix : {"", "-wal", "-shm"})
            QCOMPARE(modeOf(ProgramPaths::databaseFile() + suffix), 0600);
        QCOMPARE(modeOf(ProgramPaths::logFile()), 0600);
        Database::close();
        ProgramPaths::setHome(fixture->home());
        QVERIFY(Database::open());
    }

    void forwardOnlyReadingHandsRowsOver()
    {
        Sql::run("insert into cwk(szyy) values(:a)", {"a"});
        Sql::run("insert into cwk(szyy) values(:a)", {"b"});
        Sql rows("select szyy from cwk order by szyy", Sql::Reading::ForwardOnly);
        rows.exec();
        QVERIFY(rows.query().isForwardOnly());
        QVERIFY(rows.next());
        QCOMPARE(rows.text("szyy"), QString("a"));
        QVERIFY(rows.next());
        QVERIFY(!rows.next());
        // A failure on a later row is a store error, not the end of the rows.
        Sql failing("select 1 as v union all select abs(-9223372036854775807 - 1)",
                    Sql::Reading::ForwardOnly);
        failing.exec();
        QVERIFY(failing.next());
        QVERIFY_THROWS_EXCEPTION(StoreError, failing.next());
    }

    void injectedFailureHitsTheNthStatement()
    {
        Sql::failAt(2);
        QVERIFY(Sql::faultPending());
        Sql::run("insert into cwk(szyy) values(:a)", {"1"});
        try {
            Sql::run("insert into cwk(szyy) values(:a)", {"2"});
            QFAIL("the second statement ran");
        } catch (const StoreError& e) {
            QCOMPARE(e.statement(), QString("insert into cwk(szyy) values(:a)"));
        }
        QVERIFY(!Sql::faultPending());
        Sql::run("insert into cwk(szyy) values(:a)", {"3"});
        QCOMPARE(Fixture::count("select count(*) from cwk"), 2);
        QVERIFY(QFile(ProgramPaths::logFile()).size() > 0);
    }
};

LIBRARY_TEST(StoreTest)
#include "storetest.moc"
