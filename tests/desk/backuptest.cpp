#include "desk/backup.h"
#include "data/database.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/sql.h"
#include "fixture.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

// Backups are consistent copies that appear only when complete; a restore takes only a
// whole library database and leaves either the restored or the old data, never a mixture.
class BackupTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QString stopOf(const std::function<void()>& work)
    {
        try {
            work();
            return {};
        } catch (const Backup::Stop& stop) {
            return QString::number(int(stop.kind)) + ":" + stop.caption + ":" +
                   stop.text.section('\n', 0, 0);
        }
    }
    static void addReader(const QString& number)
    {
        Sql::run("insert into cardk(kno,kdj,dzm) values(:a,'A','王五')", {number});
    }
    // The first column of a statement on a database file other than the open one.
    static QStringList columnIn(const QString& file, const QString& statement)
    {
        QStringList values;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
            db.setDatabaseName(file);
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (db.open()) {
                QSqlQuery q(statement, db);
                while (q.next())
                    values << q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase("inspect");
        return values;
    }
    static QStringList readersIn(const QString& file)
    {
        return columnIn(file, "select kno from cardk order by kno");
    }
    static int rowsIn(const QString& file, const QString& table)
    {
        return columnIn(file, "select count(*) from " + table).value(0, "-1").toInt();
    }
    static QStringList readers()
    {
        QStringList numbers;
        Sql q("select kno from cardk order by kno");
        q.exec();
        while (q.next())
            numbers << q.text("kno");
        return numbers;
    }
    // The files of the data folder, the open database's -wal and -shm aside.
    static QStringList dataFiles()
    {
        QStringList files = QDir(ProgramPaths::dataFolder()).entryList(QDir::Files);
        files.removeAll("library.db-wal");
        files.removeAll("library.db-shm");
        return files;
    }
    QString backupFile() const { return fixture->path("backup/library.db"); }
    static void changeFile(const QString& file, const QStringList& statements)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "change");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            for (const QString& statement : statements) {
                QSqlQuery q(db);
                QVERIFY2(q.exec(statement), qPrintable(statement + ": " + q.lastError().text()));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase("change");
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void aBackupHoldsOnlyCommittedRows()
    {
        addReader("001");
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(ProgramPaths::databaseFile());
        QVERIFY(other.open());
        QVERIFY(other.transaction());
        QSqlQuery write(other);
        QVERIFY2(write.exec("insert into icxh(icxh,lx) values('uncommitted','IC卡')"),
                 qPrintable(write.lastError().text()));

        QVERIFY(!QDir(Backup::defaultFolder()).exists());
        QCOMPARE(stopOf([] { Backup::backupTo(Backup::defaultFolder()); }), QString());
        QVERIFY(other.rollback());
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");

        QCOMPARE(readersIn(backupFile()), QStringList{"001"});
        QCOMPARE(rowsIn(backupFile(), "icxh"), 0);
        // One self-contained file, whatever journal the live database keeps.
        QCOMPARE(columnIn(backupFile(), "pragma journal_mode"), QStringList{"delete"});
        QVERIFY(Backup::problemsOf(backupFile()).isEmpty());
        QVERIFY(!QFile::exists(backupFile() + ".partial"));
        QVERIFY(!QFile::exists(backupFile() + "-wal"));
    }

    void theDataFolderIsNoBackupFolder()
    {
        QDir().mkpath(fixture->path("links"));
        QFile::link(ProgramPaths::dataFolder(), fixture->path("links/data"));
        const QString refused = "2:提示:备份路径不对，不能备份！";
        for (const QString& folder :
             {ProgramPaths::dataFolder(), ProgramPaths::dataFolder() + "/",
              ProgramPaths::dataFolder() + "/../dat", fixture->path("links/data")}) {
            QCOMPARE(stopOf([&] { Backup::backupTo(folder); }), refused);
            QCOMPARE(stopOf([&] { Backup::checkChosenFolder(folder); }),
                     QString("1:提示:不是系统备份路径，错误的路径!"));
        }
        QCOMPARE(stopOf([] { Backup::backupTo("  "); }), QString("0::备份路径不能为空！"));
        QCOMPARE(stopOf([&] { Backup::checkChosenFolder(fixture->path("missing")); }),
                 QString("3:系统提示:该文件夹不可写，请检查文件夹是否写保护!"));
        QCOMPARE(stopOf([&] { Backup::checkChosenFolder(fixture->home()); }), QString());
        QCOMPARE(dataFiles(), QStringList{"library.db"});
    }

    void aFailedBackupKeepsTheOldOne()
    {
        addReader("001");
        QCOMPARE(stopOf([] { Backup::backupTo(Backup::defaultFolder()); }), QString());
        addReader("002");
        // Something in the way of the new copy.
        QVERIFY(QDir().mkpath(backupFile() + ".partial"));
        QVERIFY(stopOf([] {
                    Backup::backupTo(Backup::defaultFolder());
                }).startsWith("3:提示:数据备份失败！"));
        QCOMPARE(readersIn(backupFile()), QStringList{"001"});
    }

    void restoreRefusesWhatIsNoLibraryDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no file") << "none"
                                 << "1:提示:该文件夹中没有备份数据，不能恢复！";
        QTest::newRow("a text file") << "text"
                                     << "1:提示:所选的数据不是本系统的备份数据，不能恢复！";
        QTest::newRow("another database") << "foreign"
                                          << "1:提示:所选的数据不是本系统的备份数据，不能恢复！";
        QTest::newRow("a table short of a column")
            << "short"
            << "1:提示:所选的数据不是本系统的备份数据，不能恢复！";
        QTest::newRow("written by a newer program")
            << "newer"
            << "1:提示:所选的备份数据是较新版本的程序建立的，本程序不能恢复！";
        QTest::newRow("no operator could log in")
            << "no operator"
            << "1:提示:所选的备份数据中没有任何操作员，恢复后无人能登录，不能恢复！";
        QTest::newRow("empty path") << "empty"
                                    << "0::源数据路径不能为空！";
        QTest::newRow("the data folder") << "data"
                                         << "1:提示:源数据路径不对，不能恢复！";
    }
    void restoreRefusesWhatIsNoLibraryDatabase()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        addReader("001");
        QString folder = fixture->path("source");
        QDir().mkpath(folder);
        const QString file = folder + "/library.db";
        if (kind == "text") {
            QFile text(file);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("这不是数据库\n");
        } else if (kind == "newer" || kind == "no operator") {
            Backup::backupTo(folder);
            changeFile(file,
                       kind == "newer"
                           ? QStringList{QString("PRAGMA user_version=%1").arg(Schema::version + 1)}
                           : QStringList{"delete from userk"});
        } else if (kind == "foreign" || kind == "short") {
            Backup::backupTo(folder);
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            if (kind == "foreign") {
                QVERIFY(q.exec("drop table cardk"));
            } else {
                QVERIFY(q.exec("drop table zpidb"));
                QVERIFY(q.exec("create table zpidb (other integer)"));
            }
            q.clear();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("foreign");
        } else if (kind == "empty") {
            folder = "";
        } else if (kind == "data") {
            folder = ProgramPaths::dataFolder();
        }
        bool released = false;
        QCOMPARE(stopOf([&] { Backup::restoreFrom(folder, [&] { return released = true; }); }),
                 refusal);
        QVERIFY(!released);
        QCOMPARE(readers(), QStringList{"001"});
        QCOMPARE(dataFiles(), QStringList{"library.db"});
    }

    void aRealBackupRestores()
    {
        addReader("001");
        QCOMPARE(stopOf([] { Backup::backupTo(Backup::defaultFolder()); }), QString());
        addReader("002");
        Sql::run("delete from cardk where kno='001'");

        // Called off by a screen that would not close: nothing changes.
        QCOMPARE(stopOf([] { Backup::restoreFrom(Backup::defaultFolder(), [] { return false; }); }),
                 QString("1:提示:请先关闭其他窗口，再进行数据恢复！"));
        QCOMPARE(readers(), QStringList{"002"});

        QCOMPARE(stopOf([] { Backup::restoreFrom(Backup::defaultFolder(), [] { return true; }); }),
                 QString());
        QVERIFY(Database::isOpen());
        QCOMPARE(readers(), QStringList{"001"});
        addReader("003"); // the new connection writes
        QCOMPARE(readers(), (QStringList{"001", "003"}));
        QCOMPARE(readersIn(backupFile()), QStringList{"001"}); // the backup is only read
        QCOMPARE(dataFiles(), QStringList{"library.db"});
    }

    void aBackupOfAnEarlierVersionIsUpgradedAndRestored()
    {
        addReader("001");
        Sql::run("insert into tszk(txm,tsmc,bs,jcs,tszt) values('B1','数学分析',1,0,'W')");
        QCOMPARE(stopOf([] { Backup::backupTo(Backup::defaultFolder()); }), QString());
        changeFile(backupFile(),
                   {"drop trigger tszk_bigram_insert", "drop trigger tszk_bigram_update",
                    "drop trigger tszk_bigram_delete", "drop table tszk_bigram",
                    "alter table cardk drop column gzdw", "PRAGMA user_version=3"});
        addReader("002");
        QCOMPARE(stopOf([] { Backup::restoreFrom(Backup::defaultFolder(), [] { return true; }); }),
                 QString());
        QCOMPARE(readers(), QStringList{"001"});
        QCOMPARE(Sql::scalar("PRAGMA user_version").toInt(), Schema::version);
        Sql::run("update cardk set gzdw='第一中学' where kno='001'");
        QCOMPARE(Fixture::count("select count(*) from tszk_bigram where gram='分析'"), 1);
    }

    void aStartAfterAnUnfinishedRestorePutsThePreviousDataBack()
    {
        addReader("001");
        Database::close();
        const QString live = ProgramPaths::databaseFile();
        QVERIFY(QFile::rename(live, live + ".previous"));
        QString error;
        QVERIFY2(Database::open(&error), qPrintable(error));
        QCOMPARE(readers(), QStringList{"001"});
        QVERIFY(!QFile::exists(live + ".previous"));
        QVERIFY(Database::takeRecoveryNote().contains("已放回恢复前的数据"));
        QVERIFY(Database::takeRecoveryNote().isEmpty());
    }
};

LIBRARY_TEST(BackupTest)
#include "backuptest.moc"
